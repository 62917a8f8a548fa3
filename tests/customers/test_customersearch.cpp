#include "archive/archivefile.h"
#include "customers/customerexport.h"
#include "customers/customersearch.h"
#include "files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace tarvello;
using namespace tarvello::CustomerSearch;
namespace CR = tarvello::CustomerRecord;

namespace
{

QString u(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// A customer record with the fields named, by the names the archive gives them.
Record customer(std::initializer_list<std::pair<const char16_t*, const char16_t*>> fields)
{
    Record r(CR::layout());
    for (const auto& [name, value] : fields)
        r.setText(u(name), u(value));
    return r;
}

// The ten criteria in window order; only `text` at position `at`.
std::array<QString, criterionCount> only(int at, const QString& text)
{
    std::array<QString, criterionCount> typed;
    typed[size_t(at)] = text;
    return typed;
}

} // namespace

TEST(CustomerSearchCriteria, EachWindowFieldSearchesItsRecordField)
{
    // Window order, and the record field each criterion looks into. The first name is not searched.
    const std::pair<const char16_t*, const char16_t*> expected[] = {
        {u"txtCognome", u"Cognome"},       {u"txtDitta", u"Ditta"},
        {u"txtPartitaIva", u"PartitaIva"}, {u"txtCodFisc", u"CodFisc"},
        {u"txtComuneRes", u"ComuneRes"},   {u"txtTelCel", u"TelCel"},
        {u"txtConducente", u"Conducente"}, {u"txtCodiceDest", u"CodiceDest"},
        {u"txtQuestioni", u"Questioni"},   {u"txtNote", u"Note"},
    };
    ASSERT_EQ(criteria().size(), std::size(expected));
    for (int i = 0; i < criterionCount; ++i) {
        EXPECT_EQ(criteria()[size_t(i)].control, QStringView(expected[i].first));
        // A record holding the word only in that field is found by that criterion and no other.
        const Record r = customer({{expected[i].second, u"Zeta"}, {u"Nome", u"Omega"}});
        for (int k = 0; k < criterionCount; ++k)
            EXPECT_EQ(Matcher(only(k, u(u"zeta"))).matches(r.bytes().constData()), k == i)
                << "criterion " << k << " on field " << QString::fromUtf16(expected[i].second).toStdString();
        EXPECT_FALSE(Matcher(only(i, u(u"omega"))).matches(r.bytes().constData()));
    }
}

TEST(CustomerSearchCriteria, MatchingRules)
{
    struct Case {
        const char* what;
        const char16_t* surnameCriterion;
        const char16_t* townCriterion;
        const char16_t* surname;
        const char16_t* town;
        bool found;
    };
    const Case cases[] = {
        {"four small letters at the start", u"ross", u"", u"Rossi", u"", true},
        {"inside the surname, any case", u"ross", u"", u"De ROSSI", u"", true},
        {"capitals find small letters", u"ROSS", u"", u"rossini", u"", true},
        {"not a near word", u"ross", u"", u"Russo", u"", false},
        {"a trailing blank needs a blank after the word", u"Rossi ", u"", u"Rossi Bianchi", u"", true},
        {"a trailing blank misses the bare word", u"Rossi ", u"", u"Rossi", u"", false},
        {"a trailing blank misses a longer word", u"Rossi ", u"", u"Rossini", u"", false},
        {"a leading blank needs a blank before", u" rossi", u"", u"De Rossi", u"", true},
        {"a leading blank misses the field's start", u" rossi", u"", u"Rossi", u"", false},
        {"blanks only are no criterion", u"   ", u"", u"Bianchi", u"", true},
        {"both criteria match", u"ross", u"forl", u"Rossi", u"Forlì", true},
        {"only the surname matches", u"ross", u"forl", u"Rossi", u"Cesena", false},
        {"only the town matches", u"ross", u"forl", u"Bianchi", u"Forlì", false},
        {"blank surname, town alone decides", u" ", u"forl", u"Bianchi", u"Forlì", true},
        {"an accented small letter is itself", u"forlì", u"", u"FORLì", u"", true},
        {"an accented capital is not its small letter", u"NICOLÒ", u"", u"Nicolò", u"", false},
        {"a small accented letter is not its capital", u"nicolò", u"", u"NICOLÒ", u"", false},
        {"an accented capital finds itself", u"NICOLÒ", u"", u"Nicolò NICOLÒ", u"", true},
        {"the capitals around it still ignore case", u"nicolÒ", u"", u"NICOLÒ", u"", true},
        {"longer than the field", u"Rossi Rossi", u"", u"Rossi", u"", false},
    };
    for (const Case& c : cases) {
        std::array<QString, criterionCount> typed;
        typed[0] = u(c.surnameCriterion);
        typed[4] = u(c.townCriterion);
        const Record r = customer({{u"Cognome", c.surname}, {u"Nome", u"Mario"}, {u"ComuneRes", c.town}});
        EXPECT_EQ(Matcher(typed).matches(r.bytes().constData()), c.found) << c.what;
    }
}

TEST(CustomerSearchCriteria, GivenCountIgnoresBlankCriteria)
{
    std::array<QString, criterionCount> typed;
    EXPECT_EQ(Matcher(typed).givenCount(), 0);
    typed[0] = u(u"ross");
    typed[3] = u(u"  \t ");
    typed[9] = u(u" x ");
    EXPECT_EQ(Matcher(typed).givenCount(), 2);
    const Record anybody = customer({{u"Cognome", u"Verdi"}});
    EXPECT_TRUE(Matcher(std::array<QString, criterionCount>{}).matches(anybody.bytes().constData()));
}

TEST(CustomerSearchLines, PiecesAreFilledAndCut)
{
    // Expected pieces at their columns: name 0-29, "  Tel. " 30-36, telephone 37-52, "  C.F. " 53-59,
    // tax code 60-75, "  Città: " 76-84, town 85-112, then two blanks and the last field whole.
    struct Case {
        const char* what;
        Record record;
        LineEnd end;
        const char16_t *name, *telephone, *taxCode, *town, *last;
    };
    const Case cases[] = {
        {"every piece filled",
         customer({{u"Cognome", u"Rossi"},
                   {u"Nome", u"Mario"},
                   {u"Recapito", u"0547 12345"},
                   {u"CodFisc", u"RSSMRA80A01H501U"},
                   {u"ComuneRes", u"Forlì"},
                   {u"Note", u"Chiamare al mattino"},
                   {u"Questioni", u"Preventivo"}}),
         LineEnd::Notes, u"Rossi Mario", u"0547 12345", u"RSSMRA80A01H501U", u"Forlì",
         u"Chiamare al mattino"},
        {"pending issues in place of the notes",
         customer({{u"Cognome", u"Rossi"},
                   {u"Nome", u"Mario"},
                   {u"Note", u"nota"},
                   {u"Questioni", u"Preventivo"}}),
         LineEnd::PendingIssues, u"Rossi Mario", u"", u"", u"", u"Preventivo"},
        {"an empty first name keeps the blank; empty issues end with two blanks",
         customer({{u"Cognome", u"Rossi"}}), LineEnd::PendingIssues, u"Rossi ", u"", u"", u"", u""},
        {"long pieces are cut",
         customer({{u"Cognome", u"Abcdefghijklmnopqrstuvwxyz"},
                   {u"Nome", u"Giovanbattista"},
                   {u"Recapito", u"+39 0547 123456 int. 22"},
                   {u"ComuneRes", u"San Giovanni in Marignano di Sopra"}}),
         LineEnd::Notes, u"Abcdefghijklmnopqrstuvwxyz Gio", u"+39 0547 123456 ", u"",
         u"San Giovanni in Marignano di", u""},
    };
    auto filled = [](const char16_t* text, int width) -> QString {
        QString s = u(text);
        return s + QString(width - s.size(), u' ');
    };
    for (const Case& c : cases) {
        const QString line = listLine(c.record.bytes().constData(), c.end);
        EXPECT_EQ(line.mid(0, 30), filled(c.name, 30)) << c.what;
        EXPECT_EQ(line.mid(30, 7), u(u"  Tel. ")) << c.what;
        EXPECT_EQ(line.mid(37, 16), filled(c.telephone, 16)) << c.what;
        EXPECT_EQ(line.mid(53, 7), u(u"  C.F. ")) << c.what;
        EXPECT_EQ(line.mid(60, 16), filled(c.taxCode, 16)) << c.what;
        EXPECT_EQ(line.mid(76, 9), u(u"  Città: ")) << c.what;
        EXPECT_EQ(line.mid(85, 28), filled(c.town, 28)) << c.what;
        EXPECT_EQ(line.mid(113), u(u"  ") + u(c.last)) << c.what;
    }
}

TEST(CustomerSearchRecontact, OnlyExactlySi)
{
    const QByteArray bytes[] = {QByteArray("\x02S\xEC", 3), QByteArray("\x02No", 3),
                                QByteArray("\x00", 1),      QByteArray("\x02Si", 3),
                                QByteArray("\x02s\xEC", 3), QByteArray("\x02S\xCC", 3),
                                QByteArray("\x02\xEC", 3)};
    const bool expected[] = {true, false, false, false, false, false, false};
    const int offset = CR::layout().fields[CR::Ricontatta].offset;
    for (size_t i = 0; i < std::size(bytes); ++i) {
        Record r = customer({{u"Cognome", u"Rossi"}});
        r.bytes().replace(offset, bytes[i].size(), bytes[i]);
        EXPECT_EQ(isToRecontact(r.bytes().constData()), expected[i]) << "case " << i;
    }
}

TEST(CustomerSearchInvoice, NameJoinsCompanySurnameAndFirstName)
{
    struct Case {
        const char16_t *ditta, *cognome, *nome, *name;
    };
    const Case cases[] = {
        {u"", u"Rossi", u"Mario", u"Rossi Mario"},
        {u"Rossi & Figli S.r.l.", u"Rossi", u"Mario", u"Rossi & Figli S.r.l. Rossi Mario"},
        {u"Officina Bianchi", u"", u"", u"Officina Bianchi"},
        {u"", u"Rossi", u"", u"Rossi"},
    };
    for (const Case& c : cases) {
        const Record r = customer({{u"Ditta", c.ditta}, {u"Cognome", c.cognome}, {u"Nome", c.nome}});
        EXPECT_EQ(invoiceCustomer(r).name, u(c.name));
    }
    const Record full = customer({{u"IndirizzoRes", u"Via Emilia 1"},
                                  {u"CapRes", u"47121"},
                                  {u"ComuneRes", u"Forlì"},
                                  {u"ProvRes", u"FC"},
                                  {u"CodFisc", u"RSSMRA80A01H501U"},
                                  {u"PartitaIva", u"01234567897"}});
    const InvoiceCustomer c = invoiceCustomer(full);
    EXPECT_EQ(c.street, u(u"Via Emilia 1"));
    EXPECT_EQ(c.postcode, u(u"47121"));
    EXPECT_EQ(c.town, u(u"Forlì"));
    EXPECT_EQ(c.province, u(u"FC"));
    EXPECT_EQ(c.taxCode, u(u"RSSMRA80A01H501U"));
    EXPECT_EQ(c.vatNumber, u(u"01234567897"));
}

class CustomerArchiveTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return QDir(dir.path()).filePath(CR::fileName()); }

    void write(const QList<Record>& records, const QByteArray& tail = {})
    {
        QByteArray bytes;
        for (const Record& r : records)
            bytes += r.bytes();
        ASSERT_TRUE(writeFile(path(), bytes + tail));
    }
};

TEST_F(CustomerArchiveTest, AbsentArchiveIsCreatedAndFindsNothing)
{
    const auto found = findCustomers(path(), Matcher());
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->empty());
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_EQ(QFileInfo(path()).size(), 0);
}

TEST_F(CustomerArchiveTest, FindsInFileOrderWithTheRecordOfEachLine)
{
    write({customer({{u"Cognome", u"Rossi"}, {u"Nome", u"Mario"}}),
           customer({{u"Cognome", u"Bianchi"}, {u"Nome", u"Anna"}}),
           customer({{u"Cognome", u"Rossini"}, {u"Nome", u"Luca"}})},
          QByteArray(100, 'x')); // a trailing fragment is no record
    std::array<QString, criterionCount> typed;
    typed[0] = u(u"ROSS");
    const auto found = findCustomers(path(), Matcher(typed));
    ASSERT_TRUE(found.has_value());
    ASSERT_EQ(found->size(), 2u);
    EXPECT_EQ((*found)[0].record, 0);
    EXPECT_TRUE((*found)[0].text.startsWith(u"Rossi Mario "));
    EXPECT_EQ((*found)[1].record, 2);
    EXPECT_EQ(findCustomers(path(), Matcher())->size(), 3u);
}

TEST_F(CustomerArchiveTest, UnreadableArchiveIsAFailure)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(CR::fileName())); // a folder where the file should be
    EXPECT_FALSE(findCustomers(path(), Matcher()).has_value());
    const RecontactList list = customersToRecontact(path());
    EXPECT_FALSE(list.complete);
    EXPECT_TRUE(list.lines.empty());
    EXPECT_FALSE(readCustomer(path(), 0).has_value());
}

TEST_F(CustomerArchiveTest, RecontactListAndReadingOneRecord)
{
    write({customer({{u"Cognome", u"Rossi"}, {u"Ricontatta", u"Sì"}, {u"Questioni", u"Preventivo"}}),
           customer({{u"Cognome", u"Bianchi"}, {u"Ricontatta", u"No"}}),
           customer({{u"Cognome", u"Verdi"}, {u"Ricontatta", u"Forse"}}),
           customer({{u"Cognome", u"Neri"}, {u"Ricontatta", u"Sì"}})});
    const RecontactList list = customersToRecontact(path());
    EXPECT_TRUE(list.complete);
    ASSERT_EQ(list.lines.size(), 2u);
    EXPECT_EQ(list.lines[0].record, 0);
    EXPECT_TRUE(list.lines[0].text.endsWith(u"  Preventivo"));
    EXPECT_EQ(list.lines[1].record, 3);

    const auto third = readCustomer(path(), 2);
    ASSERT_TRUE(third.has_value());
    EXPECT_EQ(third->text(CR::Cognome), u(u"Verdi"));
    EXPECT_FALSE(readCustomer(path(), 4).has_value());
    EXPECT_FALSE(readCustomer(path(), -1).has_value());
}

TEST(CustomerExportCells, TwentyFiveCellsJoinedAsTheGridShowsThem)
{
    const Record r = customer({{u"Cognome", u"Rossi"},
                               {u"Ditta", u"Rossi & Figli"},
                               {u"ComuneRes", u"Forlì"},
                               {u"CapRes", u"47121"},
                               {u"Note", u"<b>nota</b>"},
                               {u"CodiceDest", u"M5UXCR1"},
                               {u"DataNasc", u"01/01/1980"},
                               {u"Ricontatta", u"Sì"}});
    const QStringList cells = CustomerExport::cells(r.bytes().constData());
    ASSERT_EQ(cells.size(), CustomerExport::columnCount);
    ASSERT_EQ(CustomerExport::columns().size(), size_t(CustomerExport::columnCount));
    EXPECT_EQ(cells[0], u(u"Rossi ")); // the surname and a blank: the document trims it
    EXPECT_EQ(cells[1], u(u"Rossi & Figli"));
    EXPECT_EQ(cells[5], u(u"Forlì ")); // town, blank, empty province
    EXPECT_EQ(cells[6], u(u"47121"));
    EXPECT_EQ(cells[23], u(u"<b>nota</b>"));
    EXPECT_EQ(cells[24], u(u"M5UXCR1"));
    // Birth date and recontact flag are not exported.
    EXPECT_FALSE(cells.contains(u(u"01/01/1980")));
    EXPECT_FALSE(cells.contains(u(u"Sì")));

    const Record full = customer(
        {{u"Cognome", u"Rossi"}, {u"Nome", u"Mario"}, {u"ComuneRes", u"Forlì"}, {u"ProvRes", u"FC"}});
    const QStringList c2 = CustomerExport::cells(full.bytes().constData());
    EXPECT_EQ(c2[0], u(u"Rossi Mario"));
    EXPECT_EQ(c2[5], u(u"Forlì FC"));
}
