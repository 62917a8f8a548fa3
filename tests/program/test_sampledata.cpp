#include "archive/customerrecord.h"
#include "archive/invoicerecord.h"
#include "archive/productrecord.h"
#include "checks/iban.h"
#include "checks/taxcode.h"
#include "checks/vatnumber.h"
#include "core/dates.h"
#include "core/numbers.h"
#include "invoices/calculation.h"
#include "program/sampledata.h"

#include <QDate>
#include <QSet>

#include <gtest/gtest.h>

using namespace tarvello;

namespace
{

SampleData::Sizes small(std::uint64_t seed)
{
    SampleData::Sizes s;
    s.customers = 300, s.products = 120, s.invoices = 400, s.year = 2025, s.seed = seed;
    return s;
}

template <class F> void eachRecord(const QByteArray& bytes, const RecordLayout& layout, F visit)
{
    ASSERT_EQ(bytes.size() % layout.size, 0);
    for (qsizetype at = 0; at < bytes.size(); at += layout.size)
        visit(Record(layout, bytes.mid(at, layout.size)));
}

} // namespace

TEST(SampleData, TheSameSeedGivesTheSameBytes)
{
    EXPECT_EQ(SampleData::customers(small(7)), SampleData::customers(small(7)));
    EXPECT_EQ(SampleData::invoices(small(7)), SampleData::invoices(small(7)));
    EXPECT_NE(SampleData::customers(small(7)), SampleData::customers(small(8)));
    EXPECT_EQ(SampleData::customers(small(7)).size(), 300 * CustomerRecord::Size);
    EXPECT_EQ(SampleData::products(small(7)).size(), 120 * ProductRecord::Size);
    EXPECT_EQ(SampleData::invoices(small(7)).size(), 400 * InvoiceRecord::Size);
}

TEST(SampleData, ATaxCodeIsMadeAsTheOfficeMakesIt)
{
    EXPECT_EQ(SampleData::taxCode(QStringLiteral("Rossi"), QStringLiteral("Mario"), 1980, 1, 1, false,
                                  QStringLiteral("H501")),
              QStringLiteral("RSSMRA80A01H501U"));
    // A name of four consonants or more takes the first, third and fourth; a woman's day is +40;
    // a short surname is made up with its vowels and X.
    EXPECT_EQ(SampleData::taxCode(QStringLiteral("Fo"), QStringLiteral("Francesca"), 1975, 12, 5, true,
                                  QStringLiteral("F205"))
                  .left(15),
              QStringLiteral("FOXFNC75T45F205"));
}

TEST(SampleData, EveryCodePassesTheProgramsOwnChecks)
{
    int companies = 0, ibans = 0;
    eachRecord(SampleData::customers(small(3)), CustomerRecord::layout(), [&](const Record& r) {
        namespace C = CustomerRecord;
        EXPECT_EQ(checkTaxCode(r.text(C::CodFisc)), TaxCodeResult::Valid) << r.text(C::CodFisc).toStdString();
        if (!r.text(C::PartitaIva).isEmpty()) {
            ++companies;
            EXPECT_EQ(checkVatNumber(r.text(C::PartitaIva)).result, VatNumberResult::Valid)
                << r.text(C::PartitaIva).toStdString();
            EXPECT_FALSE(r.text(C::Ditta).isEmpty());
        }
        if (!r.text(C::Iban).isEmpty()) {
            ++ibans;
            EXPECT_EQ(checkIban(r.text(C::Iban)), IbanResult::Valid) << r.text(C::Iban).toStdString();
        }
        EXPECT_EQ(r.text(C::ProvRes).size(), 2);
        EXPECT_EQ(r.text(C::CapRes).size(), 5);
    });
    EXPECT_GT(companies, 30);
    EXPECT_GT(ibans, 100);
}

TEST(SampleData, StockLiesAroundTheReorderLevel)
{
    int below = 0, counted = 0;
    eachRecord(SampleData::products(small(3)), ProductRecord::layout(), [&](const Record& r) {
        namespace P = ProductRecord;
        const std::optional<double> stock = parseNumber(r.text(P::Giacenza));
        const std::optional<double> reorder = parseNumber(r.text(P::Sottoscorta));
        const std::optional<double> cost = parseNumber(r.text(P::Costo));
        ASSERT_TRUE(stock && reorder && cost);
        EXPECT_EQ(r.text(P::Valore), moneyText(roundTo(*stock * *cost, 2)));
        if (*reorder > 0) {
            ++counted;
            below += *stock <= *reorder;
        }
    });
    EXPECT_GT(below, counted / 20);
    EXPECT_LT(below, counted / 2);
}

TEST(SampleData, InvoicesCoverTheYearInOrderWithTheScreensFigures)
{
    const SampleData::Sizes sizes = small(3);
    QSet<QString> codes;
    eachRecord(SampleData::products(sizes), ProductRecord::layout(),
               [&](const Record& r) { codes.insert(r.text(ProductRecord::Codice)); });
    QDate last(sizes.year, 1, 1);
    int paid = 0, n = 0;
    eachRecord(SampleData::invoices(sizes), InvoiceRecord::layout(), [&](const Record& r) {
        namespace I = InvoiceRecord;
        ++n;
        EXPECT_EQ(r.text(I::NumFatt), QStringLiteral("%1/2025").arg(n));
        const QDate date = QDate::fromString(r.text(I::Data), u"dd/MM/yyyy");
        ASSERT_TRUE(date.isValid());
        EXPECT_EQ(date.year(), 2025);
        EXPECT_GE(date, last);
        last = date;
        paid += r.text(I::Saldata) == Record::yesText();
        EXPECT_TRUE(codes.contains(r.text(I::rowField(I::Codice, 1))));
        InvoiceDocument again = documentFromRecord(r);
        ASSERT_TRUE(calculateInvoice(again));
        EXPECT_EQ(again.invoiceTotal, r.text(I::TotFattura));
        EXPECT_NE(r.text(I::TotFattura), QStringLiteral("0,00"));
    });
    EXPECT_GT(last, QDate(2025, 12, 1));
    EXPECT_GT(paid, n / 2);
    EXPECT_LT(paid, n);
}
