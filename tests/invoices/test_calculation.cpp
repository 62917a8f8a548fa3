#include "invoices/calculation.h"

#include "archive/invoicerecord.h"
#include "archive/record.h"

#include "qstringprinter.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

using namespace tarvello;

namespace
{

struct Row {
    const char16_t* quantity = u"";
    const char16_t* price = u"";
    const char16_t* discount = u"";
    const char16_t* amount = u"";
    bool exempt = false;
};

struct Totals {
    const char16_t* taxable;
    const char16_t* vat;
    const char16_t* withVat;
    const char16_t* exempt;
    const char16_t* total;
};

struct CalculationCase {
    const char* name;
    std::vector<Row> rows; // rows 1.., the others empty
    const char16_t* vatRate;
    bool succeeds;
    std::vector<Row> expectedRows; // same rows after the calculation
    const char16_t* expectedVatRate;
    Totals expectedTotals;
};

QString q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

InvoiceDocument figuresWith(const std::vector<Row>& rows, const char16_t* vatRate)
{
    InvoiceDocument f;
    for (size_t i = 0; i < rows.size(); ++i) {
        InvoiceRow& r = f.rows[i];
        r.quantity = q(rows[i].quantity);
        r.price = q(rows[i].price);
        r.discount = q(rows[i].discount);
        r.amount = q(rows[i].amount);
        r.exempt = rows[i].exempt;
    }
    f.vatRate = q(vatRate);
    // Totals left over from an earlier calculation, so each case shows they are rewritten.
    f.taxableTotal = f.vatAmount = f.totalWithVat = f.exemptTotal = f.invoiceTotal = QStringLiteral("9,99");
    return f;
}

const std::vector<CalculationCase>& calculationCases()
{
    // One case per block: rows and VAT rate typed, success, rows and VAT rate afterwards, totals.
    // clang-format off
    static const std::vector<CalculationCase> cases = {
        // 3 x 3,3333 = 9,9999 keeps its four decimals; the taxable total rounds it to 10,00.
        // VAT 22 % of 9,9999 = 2,199978 -> 2,20; with VAT 12,199878 -> 12,20.
        {"four decimals kept in the amount",
         {{u"3", u"3,3333"}}, u"22", true,
         {{u"3", u"3,3333", u"", u"9,9999"}}, u"22",
         {u"10,00", u"2,20", u"12,20", u"0,00", u"12,20"}},
        // m = 30, s = 9,99999, a = 20,00001 -> 20 at four decimals -> "20,00". Empty VAT rate -> "0".
        {"discount rounded away at four decimals",
         {{u"3", u"10", u"33,3333"}}, u"", true,
         {{u"3", u"10", u"33,3333", u"20,00"}}, u"0",
         {u"20,00", u"0,00", u"20,00", u"0,00", u"20,00"}},
        // 12,5 x 1 = 12,5 -> "12,50"; 22 % of 12,5 = 2,75; 15,25 with VAT.
        {"empty quantity becomes 1",
         {{u"", u"12,5"}}, u"22", true,
         {{u"1", u"12,5", u"", u"12,50"}}, u"22",
         {u"12,50", u"2,75", u"15,25", u"0,00", u"15,25"}},
        {"empty price becomes 0,00",
         {{u"2", u""}}, u"22", true,
         {{u"2", u"0,00", u"", u"0,00"}}, u"22",
         {u"0,00", u"0,00", u"0,00", u"0,00", u"0,00"}},
        // T = 20,01; V = 4,4022 -> 4,40; W = 24,4122 -> 24,41: VAT and totals rounded only at the end.
        {"two rows of 10,005 at 22 %",
         {{u"1", u"10,005"}, {u"1", u"10,005"}}, u"22", true,
         {{u"1", u"10,005", u"", u"10,005"}, {u"1", u"10,005", u"", u"10,005"}}, u"22",
         {u"20,01", u"4,40", u"24,41", u"0,00", u"24,41"}},
        // T = 10,0049 shown 10,00; VAT on the exact T is 2,201078 and W = 12,205978 -> 12,21. VAT
        // taken on the rounded 10,00 would give 12,20.
        {"VAT on the exact taxable sum",
         {{u"1", u"10,0049"}}, u"22", true,
         {{u"1", u"10,0049", u"", u"10,0049"}}, u"22",
         {u"10,00", u"2,20", u"12,21", u"0,00", u"12,21"}},
        // 10 x 1,15 / 100 in extended precision lies just below 0,115 (1,15 is stored a hair
        // below itself), so V shows 0,11 and W = 1,265 minus a hair gives 1,26. Plain doubles
        // round 11,4999... up to 11,5 on the way: V would show 0,12, and rounding it before the
        // sum would make W 1,27.
        {"VAT of 1,15 at 10 % in extended precision",
         {{u"1", u"1,15"}}, u"10", true,
         {{u"1", u"1,15", u"", u"1,15"}}, u"10",
         {u"1,15", u"0,11", u"1,26", u"0,00", u"1,26"}},
        {"only exempt rows",
         {{u"2", u"10", u"", u"", true}, {u"1", u"5,5", u"", u"", true}}, u"22", true,
         {{u"2", u"10", u"", u"20,00", true}, {u"1", u"5,5", u"", u"5,50", true}}, u"22",
         {u"0,00", u"0,00", u"0,00", u"25,50", u"25,50"}},
        // 100 taxable, 22 VAT, 122 with VAT, 50 exempt, 172 in all.
        {"taxable and exempt rows",
         {{u"1", u"100"}, {u"1", u"50", u"", u"", true}}, u"22", true,
         {{u"1", u"100", u"", u"100,00"}, {u"1", u"50", u"", u"50,00", true}}, u"22",
         {u"100,00", u"22,00", u"122,00", u"50,00", u"172,00"}},
        // m = 40, s = 60, a = -20: exact negative values stay as they are; VAT -4,40, total -24,40.
        {"discount of 150 percent",
         {{u"4", u"10", u"150"}}, u"22", true,
         {{u"4", u"10", u"150", u"-20,00"}}, u"22",
         {u"-20,00", u"-4,40", u"-24,40", u"0,00", u"-24,40"}},
        // 0,00005 is a half at four decimals and goes upwards; at two decimals 0,0001 is 0.
        {"half at four decimals goes upwards",
         {{u"1", u"0,00005"}}, u"", true,
         {{u"1", u"0,00005", u"", u"0,0001"}}, u"0",
         {u"0,00", u"0,00", u"0,00", u"0,00", u"0,00"}},
        {"half cent goes upwards in the totals",
         {{u"1", u"0,125"}}, u"", true,
         {{u"1", u"0,125", u"", u"0,125"}}, u"0",
         {u"0,13", u"0,00", u"0,13", u"0,00", u"0,13"}},
        // A row without quantity and price is skipped but its old amount still counts.
        {"old amount on a skipped row is counted",
         {{u"", u"", u"", u"7,00"}, {u"1", u"3"}}, u"10", true,
         {{u"", u"", u"", u"7,00"}, {u"1", u"3", u"", u"3,00"}}, u"10",
         {u"10,00", u"1,00", u"11,00", u"0,00", u"11,00"}},
        // Row 1 done, row 2 fails after its empty quantity was set to 1, row 3 untouched, the VAT
        // rate never reached.
        {"price 1,2,3 stops the calculation",
         {{u"2", u"10"}, {u"", u"1,2,3"}, {u"", u"5", u"", u"4,00"}}, u"", false,
         {{u"2", u"10", u"", u"20,00"}, {u"1", u"1,2,3"}, {u"", u"5", u"", u"4,00"}}, u"",
         {u"0,00", u"0,00", u"0,00", u"0,00", u"0,00"}},
        {"discount that is not a number",
         {{u"1", u"3", u"x"}}, u"22", false,
         {{u"1", u"3", u"x"}}, u"22",
         {u"0,00", u"0,00", u"0,00", u"0,00", u"0,00"}},
        {"amount label that is not a number",
         {{u"", u"", u"", u"abc"}, {u"1", u"3"}}, u"", false,
         {{u"", u"", u"", u"abc"}, {u"1", u"3", u"", u"3,00"}}, u"",
         {u"0,00", u"0,00", u"0,00", u"0,00", u"0,00"}},
        {"VAT rate that is not a number",
         {{u"1", u"3"}}, u"2,2,2", false,
         {{u"1", u"3", u"", u"3,00"}}, u"2,2,2",
         {u"0,00", u"0,00", u"0,00", u"0,00", u"0,00"}},
        // About 10^16: no field could show it, so it fails like a text that is not a number.
        {"amount too large for any field",
         {{u"999999", u"9999999999"}}, u"22", false,
         {{u"999999", u"9999999999"}}, u"22",
         {u"0,00", u"0,00", u"0,00", u"0,00", u"0,00"}},
        {"blank texts count as empty",
         {{u"  ", u" 4 ", u" "}}, u" ", true,
         {{u"1", u" 4 ", u" ", u"4,00"}}, u"0",
         {u"4,00", u"0,00", u"4,00", u"0,00", u"4,00"}},
    };
    // clang-format on
    return cases;
}

} // namespace

TEST(InvoiceCalculation, TableOfCases)
{
    for (const CalculationCase& c : calculationCases()) {
        SCOPED_TRACE(c.name);
        InvoiceDocument f = figuresWith(c.rows, c.vatRate);
        EXPECT_EQ(calculateInvoice(f), c.succeeds);
        for (int k = 1; k <= InvoiceRecord::Rows; ++k) {
            const Row expected = size_t(k) <= c.expectedRows.size() ? c.expectedRows[size_t(k - 1)] : Row{};
            const InvoiceRow& got = f.row(k);
            EXPECT_EQ(got.quantity, q(expected.quantity)) << "row " << k;
            EXPECT_EQ(got.price, q(expected.price)) << "row " << k;
            EXPECT_EQ(got.discount, q(expected.discount)) << "row " << k;
            EXPECT_EQ(got.amount, q(expected.amount)) << "row " << k;
            EXPECT_EQ(got.exempt, expected.exempt) << "row " << k;
        }
        EXPECT_EQ(f.vatRate, q(c.expectedVatRate));
        EXPECT_EQ(f.taxableTotal, q(c.expectedTotals.taxable));
        EXPECT_EQ(f.vatAmount, q(c.expectedTotals.vat));
        EXPECT_EQ(f.totalWithVat, q(c.expectedTotals.withVat));
        EXPECT_EQ(f.exemptTotal, q(c.expectedTotals.exempt));
        EXPECT_EQ(f.invoiceTotal, q(c.expectedTotals.total));
    }
}

TEST(InvoiceCalculation, LastRowTakesPartToo)
{
    InvoiceDocument f;
    f.row(30).quantity = QStringLiteral("2");
    f.row(30).price = QStringLiteral("1,5");
    f.vatRate = QStringLiteral("10");
    EXPECT_TRUE(calculateInvoice(f));
    EXPECT_EQ(f.row(30).amount, QStringLiteral("3,00"));
    EXPECT_EQ(f.invoiceTotal, QStringLiteral("3,30"));
}

TEST(InvoiceCalculation, RecalculatingGivesTheSameTexts)
{
    InvoiceDocument f = figuresWith({{u"3", u"10", u"33,3333"}, {u"1", u"10,25", u"", u"", true}}, u"22");
    ASSERT_TRUE(calculateInvoice(f));
    const InvoiceDocument first = f;
    ASSERT_TRUE(calculateInvoice(f));
    for (int k = 1; k <= 2; ++k)
        EXPECT_EQ(f.row(k).amount, first.row(k).amount);
    EXPECT_EQ(f.invoiceTotal, first.invoiceTotal);
    // 20 taxable, 4,40 VAT, 24,40 with VAT, 10,25 exempt, 34,65 in all.
    EXPECT_EQ(f.row(1).amount, QStringLiteral("20,00"));
    EXPECT_EQ(f.exemptTotal, QStringLiteral("10,25"));
    EXPECT_EQ(f.invoiceTotal, QStringLiteral("34,65"));
}

TEST(InvoiceCalculation, TypingEmptiesAmountAndTotals)
{
    InvoiceDocument f = figuresWith({{u"1", u"5"}, {u"2", u"5"}}, u"22");
    ASSERT_TRUE(calculateInvoice(f));
    clearRowAmountAndTotals(f, 2);
    EXPECT_EQ(f.row(1).amount, QStringLiteral("5,00"));
    EXPECT_TRUE(f.row(2).amount.isEmpty());
    for (const QString* t : {&f.taxableTotal, &f.vatAmount, &f.totalWithVat, &f.exemptTotal, &f.invoiceTotal})
        EXPECT_TRUE(t->isEmpty());

    ASSERT_TRUE(calculateInvoice(f));
    clearTotals(f);
    EXPECT_EQ(f.row(2).amount, QStringLiteral("10,00"));
    EXPECT_TRUE(f.invoiceTotal.isEmpty());
}

TEST(InvoiceCalculation, TidyingOnLeavingAField)
{
    struct Case {
        QString (*tidy)(QStringView);
        const char16_t* typed;
        const char16_t* shown;
    } cases[] = {
        {tidyQuantity, u"2,50", u"2,5"},
        {tidyQuantity, u"3", u"3"},
        {tidyQuantity, u"0,123456", u"0,1235"},
        {tidyQuantity, u",5", u"0,5"},
        {tidyQuantity, u"7,", u"7"},
        {tidyQuantity, u"", u""},
        {tidyQuantity, u"1,2,3", u""},
        {tidyQuantity, u"abc", u""},
        {tidyPrice, u"7", u"7,00"},
        {tidyPrice, u"10", u"10,00"},
        {tidyPrice, u"12,5", u"12,50"},
        {tidyPrice, u"3,33333", u"3,3333"},
        {tidyPrice, u"2,03125", u"2,0313"},
        {tidyPrice, u"0,00005", u"0,0001"},
        {tidyPrice, u"9999999999", u"9999999999,00"},
        {tidyPrice, u"", u""},
        {tidyPrice, u"1,2,3", u"0,00"},
        {tidyDiscount, u"10,00", u"10"},
        {tidyDiscount, u"33,33333", u"33,3333"},
        {tidyDiscount, u"", u""},
        {tidyDiscount, u",,", u""},
        {tidyVatRate, u"22,0", u"22"},
        {tidyVatRate, u"4", u"4"},
        {tidyVatRate, u"", u""},
        {tidyVatRate, u"x", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.tidy(c.typed), q(c.shown)) << q(c.typed).toStdString();
    // A blank field is left as it is: the calculation treats it as empty anyway.
    EXPECT_EQ(tidyPrice(u"  "), QStringLiteral("  "));
}

// One article row, quantity 2, price 10 (tidied when the field was left), no discount, VAT 22,
// not exempt, not paid, calculated and stored as the document makes its record.
TEST(InvoiceCalculation, StoredRecordOfOneRowInvoice)
{
    using namespace InvoiceRecord;
    InvoiceDocument f;
    f.row(1).quantity = tidyQuantity(u"2");
    f.row(1).price = tidyPrice(u"10");
    f.vatRate = tidyVatRate(u"22");
    ASSERT_TRUE(calculateInvoice(f));

    const Record rec = recordOf(f);
    const QByteArray& b = rec.bytes();
    auto field = [&](int offset, int capacity) { return b.mid(offset, capacity + 1); };
    auto text = [](const char* bytes, int capacity) {
        QByteArray out(capacity + 1, '\0');
        const int n = int(qstrlen(bytes));
        out[0] = char(n);
        out.replace(1, n, QByteArray(bytes, n));
        return out;
    };

    EXPECT_EQ(field(1086, 6), text("2", 6));            // Quant01
    EXPECT_EQ(field(3606, 10), text("10,00", 10));      // Prezzo01
    EXPECT_EQ(field(3936, 6), text("", 6));             // PercSconto01
    EXPECT_EQ(field(4146, 10), text("20,00", 10));      // Importo01
    EXPECT_EQ(field(4476, 2), text("No", 2));           // Es01
    EXPECT_EQ(field(1093, 6), text("", 6));             // Quant02, unused
    EXPECT_EQ(field(4146 + 29 * 11, 10), text("", 10)); // Importo30, unused
    EXPECT_EQ(field(4476 + 29 * 3, 2), text("No", 2));  // Es30
    EXPECT_EQ(field(4566, 10), text("20,00", 10));      // TotImponibile
    EXPECT_EQ(field(4577, 10), text("22", 10));         // PercIva
    EXPECT_EQ(field(4588, 10), text("4,40", 10));       // TotImposta
    EXPECT_EQ(field(4599, 10), text("24,40", 10));      // TotIva
    EXPECT_EQ(field(4610, 10), text("0,00", 10));       // TotEsente
    EXPECT_EQ(field(4621, 10), text("24,40", 10));      // TotFattura
    EXPECT_EQ(field(4883, 2), text("No", 2));           // Saldata
    EXPECT_EQ(field(0, 30), text("", 30));              // NumFatt, empty on this document
}

TEST(InvoiceCalculation, FiguresSurviveARecord)
{
    InvoiceDocument f = figuresWith({{u"2", u"10,00", u"5", u"", true}, {u"1", u"3,3333"}}, u"22");
    f.row(30).quantity = QStringLiteral("4");
    f.row(30).price = QStringLiteral("1,25");
    ASSERT_TRUE(calculateInvoice(f));

    const Record rec = recordOf(f);
    EXPECT_EQ(rec.bytes().mid(4476, 3), QByteArray("\x02S\xEC")) << "an exempt row is stored as Sì";
    const InvoiceDocument back = documentFromRecord(rec);
    for (int k = 1; k <= InvoiceRecord::Rows; ++k) {
        EXPECT_EQ(back.row(k).quantity, f.row(k).quantity) << k;
        EXPECT_EQ(back.row(k).price, f.row(k).price) << k;
        EXPECT_EQ(back.row(k).discount, f.row(k).discount) << k;
        EXPECT_EQ(back.row(k).amount, f.row(k).amount) << k;
        EXPECT_EQ(back.row(k).exempt, f.row(k).exempt) << k;
    }
    EXPECT_EQ(back.vatRate, QStringLiteral("22"));
    EXPECT_EQ(back.taxableTotal, f.taxableTotal);
    EXPECT_EQ(back.vatAmount, f.vatAmount);
    EXPECT_EQ(back.totalWithVat, f.totalWithVat);
    EXPECT_EQ(back.exemptTotal, f.exemptTotal);
    EXPECT_EQ(back.invoiceTotal, f.invoiceTotal);
}
