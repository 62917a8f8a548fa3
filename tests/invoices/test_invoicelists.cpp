// The invoice lists and summaries without any window: list lines, criteria, the unpaid
// selection, period totals and the monthly takings, on a small year of invoices whose expected
// figures are worked out by hand below.

#include "archive/archivefile.h"
#include "archive/invoicerecord.h"
#include "invoices/invoicelists.h"
#include "invoices/invoicesummary.h"
#include "qstringprinter.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvello;
namespace IR = tarvello::InvoiceRecord;
namespace IS = tarvello::InvoiceSummary;

namespace
{

QString u(const char16_t* text)
{
    return QString::fromUtf16(text);
}

struct Invoice {
    const char16_t* number;
    const char16_t* date;
    const char16_t* customer;
    const char16_t* taxable;
    const char16_t* tax;
    const char16_t* exempt;
    const char16_t* total;
    const char16_t* paid;
    const char16_t* town = u"";
};

// clang-format off
// The year 2022 as its file holds it, in file order.
const Invoice kYear[] = {
    //  n.     date            customer          taxable   tax      exempt   total     paid    town
    {u"1", u"05/03/2022", u"Rossi Mario",   u"100,00", u"22,00", u"0,00",  u"122,00", u"No", u"Napoli"},
    {u"2", u"20/03/2022", u"Bianchi Srl",   u"10,10",  u"2,22",  u"0,00",  u"12,32",  u"Sì", u"Roma"},
    {u"3", u"28/02/2022", u"Verdi Anna",    u"0,00",   u"0,00",  u"20,20", u"20,20",  u"No", u"NAPOLI"},
    {u"4", u"10/07/2022", u"ROSSINI Luca",  u"20,20",  u"4,44",  u"5,00",  u"29,64",  u"Sì", u"Milano"},
    {u"5", u"31/12/2021", u"Gialli Ugo",    u"50,00",  u"11,00", u"0,00",  u"61,00",  u"No", u"Napoli"},
    {u"6", u"",           u"Neri Eva",      u"1,00",   u"0,22",  u"0,00",  u"1,22",   u"No", u"Napoli"},
    {u"7", u"5/3/2022",   u"Rossi Bruno",   u"2,00",   u"0,44",  u"0,00",  u"2,44",   u"Sì", u"Napoli"},
    {u"8", u"01/12/2022", u"De Rossi Pia",  u"0,40",   u"0,09",  u"0,00",  u"0,49",   u"No", u"Bari"},
};
// clang-format on

class YearFile : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = QDir(dir.path()).filePath(QStringLiteral("2022.fat"));

    void write(std::span<const Invoice> invoices)
    {
        ArchiveFile file(path, IR::Size);
        ASSERT_TRUE(file.open());
        Record rec(IR::layout());
        for (const Invoice& i : invoices) {
            rec.clear();
            rec.setText(IR::NumFatt, u(i.number));
            rec.setText(IR::Data, u(i.date));
            rec.setText(IR::Cliente, u(i.customer));
            rec.setText(IR::CittaCliente, u(i.town));
            rec.setText(IR::TotImponibile, u(i.taxable));
            rec.setText(IR::TotImposta, u(i.tax));
            rec.setText(IR::TotEsente, u(i.exempt));
            rec.setText(IR::TotFattura, u(i.total));
            rec.setText(IR::Saldata, u(i.paid));
            ASSERT_TRUE(file.seek(file.count()));
            ASSERT_TRUE(file.write(rec.bytes()));
        }
        ASSERT_TRUE(file.close());
    }
    void SetUp() override { write(kYear); }

    static std::vector<qint64> records(const std::vector<ResultEntry>& lines)
    {
        std::vector<qint64> out;
        for (const ResultEntry& e : lines)
            out.push_back(e.record);
        return out;
    }
};

} // namespace

TEST(InvoiceListLine, FieldsAreFilledOrCutToTheirWidths)
{
    Record rec(IR::layout());
    rec.setText(IR::NumFatt, u(u"12/2024"));
    rec.setText(IR::Data, u(u"05/03/2024"));
    rec.setText(IR::Cliente, u(u"Società Cooperativa Agricola del Rubicone"));
    rec.setText(IR::IvaCliente, u(u"01234567890"));
    rec.setText(IR::Riferimenti, u(u"Ordine 7"));
    rec.setText(IR::TotFattura, u(u"1234,50"));
    const QString expected = u(u"Fatt. n. ") + u(u"12/2024 del 05/03/2024").leftJustified(25) + u(u"  ") +
                             u(u"Società Cooperativa Agricola del Ru") + u(u"  P.I. ") + u(u"01234567890") +
                             u(u"  Rif. ") + u(u"Ordine 7").leftJustified(35) + u(u"  Tot. € 1234,50");
    EXPECT_EQ(InvoiceLists::listLine(rec.bytes().constData()), expected);
    EXPECT_EQ(expected.size(), 9 + 25 + 2 + 35 + 7 + 11 + 7 + 35 + 9 + 7);
}

TEST_F(YearFile, SearchCriteriaAllMustMatchIgnoringTheCaseOfAToZ)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, QString>> typed; // criterion index, text
        std::vector<qint64> found;
    };
    const Case cases[] = {
        {"no criteria: every invoice in file order", {}, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"blank criteria are not tested", {{2, u(u"   ")}}, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"customer and town", {{2, u(u"rossi")}, {4, u(u"napoli")}}, {0, 6}},
        {"a month of a year by its date text", {{1, u(u"03/2022")}}, {0, 1}},
        {"the text as typed, blanks included", {{2, u(u"rossi ")}}, {0, 6, 7}},
        {"nothing matches", {{0, u(u"99")}}, {}},
    };
    for (const Case& c : cases) {
        std::array<QString, InvoiceLists::criterionCount> typed;
        for (const auto& [index, text] : c.typed)
            typed[size_t(index)] = text;
        const auto found = InvoiceLists::findInvoices(path, InvoiceLists::Matcher(typed));
        ASSERT_TRUE(found.has_value()) << c.name;
        EXPECT_EQ(records(*found), c.found) << c.name;
    }
}

TEST_F(YearFile, UnpaidInvoicesAreThoseMarkedNo)
{
    // A flag a damaged or foreign record may hold is not "No": such an invoice is not listed.
    const Invoice odd[] = {{u"30", u"01/01/2022", u"X", u"", u"", u"", u"1,00", u""},
                           {u"31", u"01/01/2022", u"Y", u"", u"", u"", u"1,00", u"no"}};
    write(odd);
    const InvoiceLists::UnpaidList unpaid = InvoiceLists::unpaidInvoices(path);
    EXPECT_TRUE(unpaid.complete);
    EXPECT_EQ(records(unpaid.lines), (std::vector<qint64>{0, 2, 4, 5, 7}));
    EXPECT_TRUE(unpaid.lines[0].text.startsWith(u(u"Fatt. n. 1 del 05/03/2022")));
}

TEST_F(YearFile, PeriodsHoldTheirInvoicesAndTotals)
{
    struct Case {
        IS::Period period;
        const char16_t* choice;
        std::vector<qint64> listed;
        const char16_t* taxable;
        const char16_t* tax;
        const char16_t* exempt;
        const char16_t* total;
        const char16_t* heading;
    };
    // clang-format off
    const Case cases[] = {
        {IS::Period::Month, u"MARZO", {0, 1}, u"€ 110,10", u"€ 24,22", u"€ 0,00", u"€ 134,32",
         u"Fatture proforma emesse nel mese di marzo 2022"},
        {IS::Period::Month, u"FEBBRAIO", {2}, u"€ 0,00", u"€ 0,00", u"€ 20,20", u"€ 20,20",
         u"Fatture proforma emesse nel mese di febbraio 2022"},
        {IS::Period::Month, u"DICEMBRE", {7}, u"€ 0,40", u"€ 0,09", u"€ 0,00", u"€ 0,49",
         u"Fatture proforma emesse nel mese di dicembre 2022"},
        {IS::Period::Quarter, u"GENNAIO, FEBBRAIO, MARZO", {0, 1, 2}, u"€ 110,10", u"€ 24,22", u"€ 20,20",
         u"€ 154,52", u"Fatture proforma emesse nel trimestre di gennaio, febbraio, marzo 2022"},
        {IS::Period::Quarter, u"APRILE, MAGGIO, GIUGNO", {}, u"€ 0,00", u"€ 0,00", u"€ 0,00", u"€ 0,00",
         u"Fatture proforma emesse nel trimestre di aprile, maggio, giugno 2022"},
        {IS::Period::Quarter, u"LUGLIO, AGOSTO, SETTEMBRE", {3}, u"€ 20,20", u"€ 4,44", u"€ 5,00", u"€ 29,64",
         u"Fatture proforma emesse nel trimestre di luglio, agosto, settembre 2022"},
        {IS::Period::Year, u"", {0, 1, 2, 3, 7}, u"€ 130,70", u"€ 28,75", u"€ 25,20", u"€ 184,65",
         u"Fatture proforma emesse nell'anno 2022"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const IS::Summary s = IS::summarise(path, c.period, u(c.choice), u"2022");
        const QString name = u(c.choice);
        EXPECT_TRUE(s.complete) << name.toStdString();
        EXPECT_EQ(records(s.lines), c.listed) << name.toStdString();
        EXPECT_EQ(IS::totalText(s.totals.taxable), u(c.taxable)) << name.toStdString();
        EXPECT_EQ(IS::totalText(s.totals.tax), u(c.tax)) << name.toStdString();
        EXPECT_EQ(IS::totalText(s.totals.exempt), u(c.exempt)) << name.toStdString();
        EXPECT_EQ(IS::totalText(s.totals.total), u(c.total)) << name.toStdString();
        EXPECT_TRUE(s.anyDated);
        EXPECT_EQ(IS::heading(c.period, u(c.choice), u"2022"), u(c.heading));
    }
}

TEST_F(YearFile, AnAmountThatIsNotANumberIsListedAndNamedButNotSummed)
{
    const Invoice broken[] = {
        {u"9", u"02/03/2022", u"Blu", u"abc", u"0,00", u"0,00", u"10,00", u"No"},
        {u"10", u"03/03/2022", u"Viola", u"", u"", u"", u"", u"No"},
    };
    write(broken);
    const IS::Summary s = IS::summarise(path, IS::Period::Month, u"MARZO", u"2022");
    EXPECT_EQ(records(s.lines), (std::vector<qint64>{0, 1, 8, 9}));
    EXPECT_EQ(s.unreadable, QStringList{u(u"9")});
    EXPECT_EQ(IS::totalText(s.totals.total), u(u"€ 134,32")); // the empty invoice adds nothing
    EXPECT_EQ(IS::unreadableMessage(s.unreadable),
              u(u"Attenzione: gli importi delle seguenti fatture non sono numeri validi e non sono compresi "
                u"nei totali del riepilogo: n. 9."));
}

TEST(InvoiceSummaryTexts, TotalsAndDates)
{
    EXPECT_EQ(IS::totalText(10.10 + 20.20), u(u"€ 30,30"));
    EXPECT_EQ(IS::totalText(0), u(u"€ 0,00"));
    EXPECT_EQ(IS::totalText(1234.5), u(u"€ 1234,50"));
    EXPECT_EQ(IS::totalText(1.23456), u(u"€ 1,2346"));
    const IS::DateParts parts = IS::dateParts(u" 5/3/2022 ");
    EXPECT_EQ(parts.day, u(u"5/"));
    EXPECT_EQ(parts.month, u(u"/2"));
    EXPECT_EQ(parts.year, u(u"22"));
    EXPECT_EQ(IS::periodName(IS::Period::Month, u"/2"), QString());
    EXPECT_EQ(IS::periodName(IS::Period::Month, u"13"), QString());
    EXPECT_EQ(IS::periodName(IS::Period::Quarter, u"12"), u(u"ottobre, novembre, dicembre"));
    EXPECT_EQ(IS::choices(IS::Period::Month).size(), 12);
    EXPECT_EQ(IS::choices(IS::Period::Quarter).at(1), u(u"APRILE, MAGGIO, GIUGNO"));
    EXPECT_EQ(IS::trailer(u"€ 1,00", u"€ 0,22", u"€ 0,00", u"€ 1,22"),
              (QStringList{QString(26, u'-'), u(u"Imponibile:   € 1,00"), u(u"Imposta:      € 0,22"),
                           u(u"Esente:       € 0,00"), u(u"TOTALE:       € 1,22")}));
}

TEST_F(YearFile, MonthlyTakingsAreRoundedToTheEuro)
{
    namespace ST = tarvello::InvoiceStatistics;
    const ST::MonthlyTakings y2022 = ST::monthlyTakings(path, u"2022");
    EXPECT_TRUE(y2022.complete);
    const std::array<double, 12> expected2022 = {0, 20, 134, 0, 0, 0, 30, 0, 0, 0, 0, 0};
    EXPECT_EQ(y2022.values, expected2022);
    const std::array<double, 12> expected2021 = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 61};
    EXPECT_EQ(ST::monthlyTakings(path, u"2021").values, expected2021);
    EXPECT_EQ(ST::monthlyTakings(path, u"2019").values, (std::array<double, 12>{}));

    const Invoice march[] = {
        {u"20", u"11/03/2019", u"A", u"", u"", u"", u"12,50", u"No"},
        {u"21", u"12/03/2019", u"B", u"", u"", u"", u"20,40", u"No"},
        {u"22", u"12/04/2019", u"C", u"", u"", u"", u"0,49", u"No"},
        {u"23", u"12/05/2019", u"D", u"", u"", u"", u"0,50", u"No"},
        {u"24", u"12/06/2019", u"E", u"", u"", u"", u"x", u"No"},
    };
    write(march);
    const ST::MonthlyTakings y2019 = ST::monthlyTakings(path, u"2019");
    EXPECT_EQ(y2019.values, (std::array<double, 12>{0, 0, 33, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(y2019.unreadable, QStringList{u(u"24")});
    EXPECT_EQ(ST::valueText(y2019.values[2]), u(u"33"));
    EXPECT_EQ(ST::valueText(0), u(u"0"));
}

TEST(InvoiceStatistics, CopiesAndPoints)
{
    namespace ST = tarvello::InvoiceStatistics;
    const std::pair<const char16_t*, int> copies[] = {
        {u"1", 1}, {u" 3 ", 3}, {u"", 1}, {u"2a", 1}, {u"-2", 1}, {u"0", 0}, {u"99999999999", 999}};
    for (const auto& [typed, expected] : copies)
        EXPECT_EQ(ST::copiesFrom(typed), expected) << u(typed).toStdString();
    EXPECT_EQ(ST::monthPoints()[2].label, u"Marzo");
    EXPECT_EQ(ST::monthPoints()[2].colour, 0xFFFFE4C4u);
    EXPECT_EQ(ST::monthPoints()[11].holder, u"memDicembre");
}
