#include "archive/archivefile.h"
#include "core/numbers.h"
#include "files.h"
#include "warehouse/pricetools.h"
#include "warehouse/productcard.h"
#include "warehouse/productexport.h"
#include "warehouse/productsearch.h"

#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace tarvello;
using namespace tarvello::ProductRecord;

namespace
{

QByteArray product(std::initializer_list<std::pair<Field, QString>> fields)
{
    ProductCard::CardTexts t = ProductCard::newCard();
    for (const auto& [f, v] : fields)
        t[size_t(f)] = v;
    return ProductCard::toRecord(t).bytes();
}

} // namespace

// ---------------------------------------------------------------- price and stock tools

struct VatCase {
    const char* net;
    const char* rate;
    const char* gross;
    const char* expectNet;
    const char* expectRate;
    const char* expectGross;
    bool ok;
};

TEST(PriceTools, CalcolaAddsVatRoundedToCents)
{
    const VatCase cases[] = {
        {"10", "22", "0,00", "10", "22", "12,20", true},
        {"0,1", "22", "0,00", "0,1", "22", "0,12", true},
        {"", "", "", "0,00", "0", "0,00", true},
        {"12,5", "0", "99", "12,5", "0", "12,50", true},
        // A price with VAT that is not a number spoils the action although its value is unused.
        {"10", "22", "1,2,3", "0,00", "0", "0,00", false},
        {"abc", "22", "0,00", "0,00", "0", "0,00", false},
    };
    for (const VatCase& c : cases) {
        const PriceTools::VatPrices r = PriceTools::addVat(
            QString::fromUtf8(c.net), QString::fromUtf8(c.rate), QString::fromUtf8(c.gross));
        EXPECT_EQ(r.ok, c.ok) << c.net;
        EXPECT_EQ(r.net, QString::fromUtf8(c.expectNet)) << c.net;
        EXPECT_EQ(r.rate, QString::fromUtf8(c.expectRate)) << c.net;
        EXPECT_EQ(r.gross, QString::fromUtf8(c.expectGross)) << c.net;
    }
}

TEST(PriceTools, ScorporaRemovesVatRoundedToCents)
{
    const VatCase cases[] = {
        {"0,00", "22", "12,20", "10,00", "22", "12,20", true},
        {"0,00", "0", "100", "100,00", "0", "100", true},
        {"5", "", "", "0,00", "0", "0,00", true},
        {"5", "22", "x", "0,00", "0", "0,00", false},
    };
    for (const VatCase& c : cases) {
        const PriceTools::VatPrices r = PriceTools::removeVat(
            QString::fromUtf8(c.net), QString::fromUtf8(c.rate), QString::fromUtf8(c.gross));
        EXPECT_EQ(r.ok, c.ok) << c.gross;
        EXPECT_EQ(r.net, QString::fromUtf8(c.expectNet)) << c.gross;
        EXPECT_EQ(r.rate, QString::fromUtf8(c.expectRate)) << c.gross;
        EXPECT_EQ(r.gross, QString::fromUtf8(c.expectGross)) << c.gross;
    }
}

TEST(PriceTools, StockValueIsCostTimesStock)
{
    struct Case {
        const char* cost;
        const char* stock;
        const char* value;
        bool ok;
    } const cases[] = {
        {"2,5", "3", "7,50", true},   {"0,333", "3", "1,00", true}, {"2,5", "7", "17,50", true},
        {"", "", "0,00", true},       {"1,005", "1", "1,00", true}, {"2,675", "1", "2,67", true},
        {"2,5", "-2", "-5,00", true}, {"x", "3", "0,00", false},
    };
    for (const Case& c : cases) {
        const PriceTools::StockValue r = PriceTools::stockValue(
            QString::fromUtf8(c.cost), QString::fromUtf8(c.stock), QStringLiteral("9"));
        EXPECT_EQ(r.ok, c.ok) << c.cost;
        EXPECT_EQ(r.value, QString::fromUtf8(c.value)) << c.cost << " x " << c.stock;
    }
    // A failure resets all three.
    const PriceTools::StockValue failed = PriceTools::stockValue(u"x", u"3", u"4,00");
    EXPECT_EQ(failed.cost, QStringLiteral("0,00"));
    EXPECT_EQ(failed.stock, QStringLiteral("0"));
}

TEST(PriceTools, LeavingANumberFieldTidiesIt)
{
    struct Case {
        const char* typed;
        const char* money;
        const char* whole;
    } const cases[] = {
        {"12", "12,00", "12"},   {"12,5", "12,50", "13"}, {"12,34567", "12,3457", "12"},
        {"", "0,00", "0"},       {"007", "7,00", "7"},    {"1,2,3", "0,00", "0"},
        {"2,5", "2,50", "3"},    {"-2,5", "-2,50", "-2"}, {"-2", "-2,00", "-2"},
        {"0,125", "0,125", "0"}, {"  4 ", "4,00", "4"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PriceTools::tidyMoney(QString::fromUtf8(c.typed)), QString::fromUtf8(c.money)) << c.typed;
        EXPECT_EQ(PriceTools::tidyWhole(QString::fromUtf8(c.typed)), QString::fromUtf8(c.whole)) << c.typed;
    }
}

TEST(PriceTools, RoundingIsTheProgramsOne)
{
    // Doubles that lie just below the half stay below it; exact halves go up.
    EXPECT_EQ(formatNumber(roundTo(2.675, 2)), QStringLiteral("2,67"));
    EXPECT_EQ(formatNumber(roundTo(1.005, 2)), QStringLiteral("1"));
    EXPECT_EQ(formatNumber(roundTo(0.125, 2)), QStringLiteral("0,13"));
    EXPECT_EQ(formatNumber(roundTo(2.5, 0)), QStringLiteral("3"));
    EXPECT_EQ(formatNumber(roundTo(-2.5, 0)), QStringLiteral("-2"));
}

TEST(PriceTools, StockTotalAddsOrSubtracts)
{
    const PriceTools::StockTotal minus =
        PriceTools::stockTotal(PriceTools::StockChange::Subtract, u"3", u"5", u"3");
    EXPECT_TRUE(minus.ok);
    EXPECT_EQ(minus.total, QStringLiteral("-2"));
    const PriceTools::StockTotal plus = PriceTools::stockTotal(PriceTools::StockChange::Add, u"", u"5", u"");
    EXPECT_EQ(plus.stock, QStringLiteral("0"));
    EXPECT_EQ(plus.total, QStringLiteral("5"));
    const PriceTools::StockTotal bad =
        PriceTools::stockTotal(PriceTools::StockChange::Add, u"1,,2", u"5", u"7");
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.stock + bad.quantity + bad.total, QStringLiteral("000"));
}

TEST(PriceTools, ImportTakesTheQuantityOffTheStock)
{
    struct Case {
        const char* quantity;
        const char* stock;
        const char* cost;
        PriceTools::StockTaken::Outcome outcome;
        const char* newStock;
        const char* value;
    } const cases[] = {
        {"2,5", "10", "3,10", PriceTools::StockTaken::Outcome::Taken, "7,5", "23,25"},
        {"10", "10", "3,10", PriceTools::StockTaken::Outcome::Taken, "0", "0,00"},
        {"0", "10", "1,5", PriceTools::StockTaken::Outcome::Taken, "10", "15,00"},
        {"2", "10", "", PriceTools::StockTaken::Outcome::Taken, "8", "0,00"},
        {"2", "10", "n/d", PriceTools::StockTaken::Outcome::Taken, "8", "0,00"},
        // Cost × new stock rounded as it stands: 0,115 × 3 and 0,335 × 3 lie just above the half.
        {"1", "4", "0,115", PriceTools::StockTaken::Outcome::Taken, "3", "0,35"},
        {"1", "4", "0,335", PriceTools::StockTaken::Outcome::Taken, "3", "1,01"},
        {"10,5", "10", "3", PriceTools::StockTaken::Outcome::AboveStock, "", ""},
        {"", "10", "3", PriceTools::StockTaken::Outcome::NotANumber, "", ""},
        {"1", "dieci", "3", PriceTools::StockTaken::Outcome::NotANumber, "", ""},
    };
    for (const Case& c : cases) {
        const PriceTools::StockTaken r = PriceTools::takeFromStock(
            QString::fromUtf8(c.quantity), QString::fromUtf8(c.stock), QString::fromUtf8(c.cost));
        EXPECT_EQ(r.outcome, c.outcome) << c.quantity;
        EXPECT_EQ(r.stock, QString::fromUtf8(c.newStock)) << c.quantity;
        EXPECT_EQ(r.value, QString::fromUtf8(c.value)) << c.quantity;
    }
    EXPECT_EQ(PriceTools::tidyImportQuantity(u"2,50"), QStringLiteral("2,5"));
    EXPECT_EQ(PriceTools::tidyImportQuantity(u"1,23456"), QStringLiteral("1,2346"));
    EXPECT_EQ(PriceTools::tidyImportQuantity(u""), QString());
    EXPECT_EQ(PriceTools::tidyImportQuantity(u",,"), QStringLiteral("0"));
}

// ---------------------------------------------------------------- card

TEST(ProductCard, FieldsMatchTheRecordLayout)
{
    // Each editor's capacity is its record field's, and a new card starts as the screen shows it.
    const RecordLayout& layout = ProductRecord::layout();
    ASSERT_EQ(ProductCard::screenFields().size(), 20u);
    for (const ProductCard::ScreenField& f : ProductCard::screenFields())
        EXPECT_EQ(f.capacity, layout.fields[size_t(f.field)].capacity) << f.control.toString().toStdString();
    const ProductCard::CardTexts t = ProductCard::newCard();
    EXPECT_EQ(t[Giacenza], QStringLiteral("0"));
    EXPECT_EQ(t[PercIva], QStringLiteral("0"));
    EXPECT_EQ(t[Prezzo_con_Iva], QStringLiteral("0,00"));
    EXPECT_EQ(t[Codice], QString());
    EXPECT_EQ(ProductCard::check(t), ProductCard::Problem::MissingCode);
    ProductCard::CardTexts blanks = t;
    blanks[Codice] = QStringLiteral("   ");
    EXPECT_EQ(ProductCard::check(blanks), ProductCard::Problem::MissingCode);
    blanks[Codice] = QStringLiteral("A");
    EXPECT_EQ(ProductCard::check(blanks), ProductCard::Problem::None);
    EXPECT_EQ(ProductCard::hiddenHolder(File03), QStringLiteral("lblFile03"));
    EXPECT_EQ(ProductCard::hiddenHolder(Desc01), QStringLiteral("lblDesc01"));
    EXPECT_EQ(ProductCard::hiddenHolder(Onde), QStringLiteral("memOnde"));
}

TEST(ProductCard, WebSearchEncodesTheQuery)
{
    const QUrl plain = ProductCard::webSearchUrl(u" Acme ", u"X 10 ");
    EXPECT_EQ(plain.scheme(), QStringLiteral("https"));
    EXPECT_EQ(plain.path(), QStringLiteral("/search"));
    EXPECT_EQ(QUrlQuery(plain).queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded),
              QStringLiteral("Acme X 10"));
    EXPECT_EQ(plain.toString(QUrl::FullyEncoded),
              QStringLiteral("https://www.google.com/search?q=Acme%20X%2010"));
    // Characters that would end the query item, start a fragment or read as a blank stay text.
    const QUrl tricky = ProductCard::webSearchUrl(u"R&S", u"a+b=c #1 è");
    EXPECT_EQ(tricky.toString(QUrl::FullyEncoded),
              QStringLiteral("https://www.google.com/search?q=R%26S%20a%2Bb%3Dc%20%231%20%C3%A8"));
    EXPECT_EQ(QUrlQuery(tricky).queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded),
              QStringLiteral("R&S a+b=c #1 è"));
    EXPECT_EQ(QUrlQuery(tricky).queryItems().size(), 1);
}

// ---------------------------------------------------------------- lists

TEST(ProductSearch, LinesHaveFixedColumns)
{
    const QByteArray r = product({{Codice, QStringLiteral("A1")},
                                  {Marca, QStringLiteral("Fiat")},
                                  {Modello, QString(45, u'm')},
                                  {Costo, QStringLiteral("12,50")},
                                  {Giacenza, QStringLiteral("7")},
                                  {Descrizione, QStringLiteral("Gomma 205")},
                                  {Prezzo, QStringLiteral("20,00")},
                                  {Note, QStringLiteral("usato")}});
    const QString line = ProductSearch::listLine(r.constData());
    EXPECT_EQ(line, QStringLiteral("A1") + QString(28, u' ') + QStringLiteral("  ") +
                        QStringLiteral("Fiat ") + QString(35, u'm') +
                        QStringLiteral("  Costo: 12,50       ") + QStringLiteral("  Giacenza: 7           ") +
                        QStringLiteral("  Note: usato"));
    const QString imported = ProductSearch::importLine(r.constData());
    EXPECT_EQ(imported, QStringLiteral("A1") + QString(28, u' ') + QStringLiteral("  Gomma 205") +
                            QString(36, u' ') + QStringLiteral("  Prezzo: 20,00") + QString(10, u' ') +
                            QStringLiteral("  Giacenza: 7"));
}

TEST(ProductSearch, EveryGivenCriterionMustMatch)
{
    const QByteArray fiatUsed = product({{Codice, QStringLiteral("1")},
                                         {Marca, QStringLiteral("FIAT")},
                                         {Note, QStringLiteral("Usato, buono")}});
    const QByteArray fiatNew = product(
        {{Codice, QStringLiteral("2")}, {Marca, QStringLiteral("Fiat")}, {Note, QStringLiteral("nuovo")}});
    const QByteArray accent = product({{Codice, QStringLiteral("È 10")}, {Marca, QStringLiteral("Città")}});
    struct Case {
        std::array<QString, 10> typed;
        bool used, fresh, accented;
    } const cases[] = {
        {{QString(), QString(), QStringLiteral("fiat"), {}, {}, {}, {}, {}, {}, QStringLiteral("usato")},
         true,
         false,
         false},
        {{}, true, true, true},
        {{QStringLiteral("   ")}, true, true, true},
        {{QStringLiteral(" 10")}, false, false, true},
        {{QStringLiteral("è")}, false, false, false},
        {{QString(), QString(), QStringLiteral("CITTà")}, false, false, true},
        {{QString(), QString(), QStringLiteral("cittÀ")}, false, false, false},
    };
    for (const Case& c : cases) {
        const ProductSearch::Matcher m(c.typed);
        EXPECT_EQ(m.matches(fiatUsed.constData()), c.used)
            << c.typed[0].toStdString() << c.typed[2].toStdString();
        EXPECT_EQ(m.matches(fiatNew.constData()), c.fresh) << c.typed[0].toStdString();
        EXPECT_EQ(m.matches(accent.constData()), c.accented)
            << c.typed[0].toStdString() << c.typed[2].toStdString();
    }
}

// A criterion is looked for in the field as the archive holds it, blanks included: a record
// written by another program with "Pirelli " matches "pirelli " and " " after the brand, and a
// blank typed before a word needs one in the field.
TEST(ProductSearch, CriteriaMatchTheFieldAsStored)
{
    QByteArray stored = product({{Codice, QStringLiteral("7")}});
    const FieldDef& brand = ProductRecord::layout().fields[size_t(Marca)];
    const QByteArray text = "Pirelli ";
    stored[brand.offset] = char(text.size());
    stored.replace(brand.offset + 1, text.size(), text);
    const std::pair<const char*, bool> cases[] = {
        {"pirelli ", true}, {"lli ", true}, {" pirelli", false}, {"PIRELLI", true}, {"pirelli  ", false}};
    for (const auto& [typed, matches] : cases) {
        std::array<QString, 10> criteria;
        criteria[2] = QString::fromLatin1(typed);
        EXPECT_EQ(ProductSearch::Matcher(criteria).matches(stored.constData()), matches) << typed;
    }
}

TEST(ProductSearch, LowStockSkipsRecordsThatAreNotNumbersAndGoesOn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ProductRecord::fileName());
    const auto stock = [](const char* code, const char* s, const char* reorder) {
        return product({{Codice, QString::fromUtf8(code)},
                        {Giacenza, QString::fromUtf8(s)},
                        {Sottoscorta, QString::fromUtf8(reorder)}});
    };
    ASSERT_TRUE(writeArchive(path, {stock("P1", "5", "5"), stock("P2", "6", "5"), stock("P3", "0", "0"),
                                    stock("P4", "tanti", "5"), stock("P5", "1", ""), stock("P6", "-1", "0"),
                                    stock("P7", "7,5", "8")}));
    const ProductSearch::LowStockList list = ProductSearch::lowStock(path);
    EXPECT_TRUE(list.complete);
    EXPECT_EQ(list.skipped, 2);
    std::vector<qint64> records;
    for (const ResultEntry& e : list.lines)
        records.push_back(e.record);
    EXPECT_EQ(records, (std::vector<qint64>{0, 2, 5, 6}));
}

TEST(ProductSearch, ImportWritesStockAndValueOfTheChosenRecordOnly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ProductRecord::fileName());
    // Two products whose import lines read the same: the second one is chosen.
    const auto twin = [](const char* cost, const char* note) {
        return product({{Codice, QStringLiteral("GEMELLO")},
                        {Giacenza, QStringLiteral("10")},
                        {Costo, QString::fromUtf8(cost)},
                        {Note, QString::fromUtf8(note)},
                        {Cartella, QStringLiteral("cartella")}});
    };
    const QByteArray first = twin("2,00", "primo");
    const QByteArray second = twin("3,10", "secondo");
    ASSERT_TRUE(writeArchive(path, {first, second}));
    ASSERT_EQ(ProductSearch::importLine(first.constData()), ProductSearch::importLine(second.constData()));

    const ProductSearch::Import done = ProductSearch::takeFromStock(path, 1, u" 2,5 ");
    ASSERT_EQ(done.outcome, ProductSearch::Import::Outcome::Done);
    const QByteArray after = fileBytes(path);
    ASSERT_EQ(after.size(), 2 * ProductRecord::Size);
    EXPECT_EQ(after.left(ProductRecord::Size), first);
    QByteArray expected = second;
    Record r(ProductRecord::layout(), expected);
    r.setText(Giacenza, QStringLiteral("7,5"));
    r.setText(Valore, QStringLiteral("23,25"));
    EXPECT_EQ(after.mid(ProductRecord::Size), r.bytes());
    EXPECT_EQ(after.mid(ProductRecord::Size + 2459, 4), QByteArray("\x03"
                                                                   "7,5"));
    EXPECT_EQ(done.product->text(Note), QStringLiteral("secondo"));

    // Above the stock, not a number, outside the archive: the file is left as it was.
    for (const auto& [index, quantity, outcome] :
         {std::tuple{qint64(1), QStringLiteral("7,6"), ProductSearch::Import::Outcome::AboveStock},
          std::tuple{qint64(1), QString(), ProductSearch::Import::Outcome::NotANumber},
          std::tuple{qint64(2), QStringLiteral("1"), ProductSearch::Import::Outcome::Failed}}) {
        EXPECT_EQ(ProductSearch::takeFromStock(path, index, quantity).outcome, outcome);
        EXPECT_EQ(fileBytes(path), after);
    }
}

// ---------------------------------------------------------------- export

TEST(ProductExport, CellsFollowTheColumns)
{
    const QByteArray r = product({{Codice, QStringLiteral("007")},
                                  {Accessori, QStringLiteral("cavo")},
                                  {Costo, QStringLiteral("12,50")},
                                  {Consumo, QStringLiteral("10 cm")},
                                  {Note, QStringLiteral("n")},
                                  {File01, QStringLiteral("a.pdf")}});
    const QStringList cells = ProductExport::cells(r.constData());
    ASSERT_EQ(cells.size(), ProductExport::columnCount);
    EXPECT_EQ(cells[0], QStringLiteral("007"));
    EXPECT_EQ(cells[5], QStringLiteral("cavo"));
    EXPECT_EQ(cells[12], QStringLiteral("12,50"));
    EXPECT_EQ(cells[18], QStringLiteral("10 cm"));
    EXPECT_EQ(cells[22], QStringLiteral("n"));
    EXPECT_FALSE(cells.contains(QStringLiteral("a.pdf")));
    EXPECT_EQ(ProductExport::columns()[9].gridHeader, u"Estremi documento di acquisto");
    EXPECT_EQ(ProductExport::columns()[9].documentHeader, u"Estremi documento acquisto");
}
