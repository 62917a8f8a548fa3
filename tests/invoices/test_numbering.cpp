#include "invoices/numbering.h"

#include "archive/invoicerecord.h"
#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "qstringprinter.h"

#include <gtest/gtest.h>

using namespace tarvello;

namespace
{

QString q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

class NumberingFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ini = numberingIniPath(dir.path());
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    QString ini;
};

const QByteArray kNumberingSection = "[Numerazione Fatture]\r\n"
                                     "Inizio=100\r\n"
                                     "Indicazione Anno Solare=S\xEC\r\n";

const QByteArray kCompanySection = "[Ditta Emittente]\r\n"
                                   "Nome=Rossi Srl\r\n"
                                   "Indirizzo=Via Emilia 12\r\n"
                                   "CAP=47121\r\n"
                                   "Comune=Forl\xEC\r\n"
                                   "Provincia=FC\r\n"
                                   "Partita IVA=01234567890\r\n"
                                   "Codice Fiscale=\r\n"
                                   "Campo Libero 1=Tel. 0543 123456\r\n"
                                   "Campo Libero 2=\r\n"
                                   "Pagamento=Bonifico 30 gg\r\n"
                                   "Banca Appoggio=Banca di Forl\xEC\r\n"
                                   "Iban=IT60X0542811101000000123456\r\n"
                                   "Aliquota Iva=22\r\n";

CompanyData sampleCompany()
{
    CompanyData c;
    c.name = QStringLiteral("  Rossi Srl ");
    c.street = QStringLiteral("Via Emilia 12");
    c.postcode = QStringLiteral("47121");
    c.town = q(u"Forlì");
    c.province = QStringLiteral("FC");
    c.vatNumber = QStringLiteral("01234567890");
    c.free1 = QStringLiteral("Tel. 0543 123456");
    c.payment = QStringLiteral("Bonifico 30 gg ");
    c.bank = q(u"Banca di Forlì");
    c.iban = QStringLiteral("IT60X0542811101000000123456");
    c.vatRate = QStringLiteral("22");
    return c;
}

} // namespace

TEST_F(NumberingFolder, FileIsNamedNumerazioneIni)
{
    EXPECT_EQ(QFileInfo(ini).fileName(), QStringLiteral("Numerazione.ini"));
    EXPECT_EQ(QFileInfo(ini).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
}

TEST_F(NumberingFolder, BothSectionsWrittenByteForByte)
{
    ASSERT_TRUE(writeNumberingSettings(ini, u" 100 ", true));
    EXPECT_EQ(fileBytes(ini), kNumberingSection);

    ASSERT_TRUE(writeCompanyData(ini, sampleCompany()));
    EXPECT_EQ(fileBytes(ini), kNumberingSection + "\r\n" + kCompanySection);

    // Rewriting keeps every key on its own line and in its place.
    ASSERT_TRUE(writeNumberingSettings(ini, u"5", false));
    QByteArray expected = kNumberingSection;
    expected.replace("Inizio=100", "Inizio=5");
    expected.replace("Solare=S\xEC", "Solare=No");
    EXPECT_EQ(fileBytes(ini), expected + "\r\n" + kCompanySection);
}

TEST_F(NumberingFolder, CompanySectionAloneInANewFile)
{
    ASSERT_TRUE(writeCompanyData(ini, sampleCompany()));
    EXPECT_EQ(fileBytes(ini), kCompanySection);
    CompanyData trimmedCompany = sampleCompany();
    trimmedCompany.name = QStringLiteral("Rossi Srl");
    trimmedCompany.payment = QStringLiteral("Bonifico 30 gg");
    EXPECT_EQ(readCompanyData(ini), trimmedCompany);
}

TEST_F(NumberingFolder, ReadsSettingsWrittenByHandAndKeepsOtherContent)
{
    ASSERT_TRUE(writeFile(ini, "; kept\r\n"
                               "[altro]\r\n"
                               "x=1\r\n"
                               "[NUMERAZIONE FATTURE]\r\n"
                               "inizio = 42\r\n"
                               "Indicazione Anno Solare=S\xEC\r\n"
                               "[ditta emittente]\r\n"
                               "NOME=Bianchi\r\n"
                               "aliquota iva=10\r\n"));
    const NumberingSettings s = readNumberingSettings(ini);
    EXPECT_EQ(s.start, QStringLiteral("42"));
    EXPECT_EQ(s.yearSetting, q(u"Sì"));
    EXPECT_TRUE(s.yearSuffix());
    const CompanyData c = readCompanyData(ini);
    EXPECT_EQ(c.name, QStringLiteral("Bianchi"));
    EXPECT_EQ(c.vatRate, QStringLiteral("10"));
    EXPECT_TRUE(c.street.isEmpty());

    ASSERT_TRUE(writeNumberingSettings(ini, u"7", false));
    EXPECT_EQ(fileBytes(ini), QByteArray("; kept\r\n"
                                         "[altro]\r\n"
                                         "x=1\r\n"
                                         "[NUMERAZIONE FATTURE]\r\n"
                                         "Inizio=7\r\n"
                                         "Indicazione Anno Solare=No\r\n"
                                         "[ditta emittente]\r\n"
                                         "NOME=Bianchi\r\n"
                                         "aliquota iva=10\r\n"));
}

TEST_F(NumberingFolder, MissingFileReadsEmpty)
{
    const NumberingSettings s = readNumberingSettings(ini);
    EXPECT_TRUE(s.start.isEmpty());
    EXPECT_FALSE(s.yearSuffix());
    EXPECT_EQ(startTextOrDefault(s.start), QStringLiteral("1"));
    EXPECT_EQ(readCompanyData(ini), CompanyData{});
    EXPECT_FALSE(QFile::exists(ini)) << "reading creates nothing";
}

TEST(Numbering, OnlyTheExactYesTurnsTheYearOn)
{
    struct Case {
        const char16_t* stored;
        bool suffix;
    } cases[] = {{u"Sì", true},  {u" Sì ", true}, {u"No", false}, {u"si", false}, {u"SI", false},
                 {u"Si", false}, {u"sì", false},  {u"SÌ", false}, {u"", false},   {u"ANNO", false}};
    for (const Case& c : cases)
        EXPECT_EQ((NumberingSettings{QString(), q(c.stored)}.yearSuffix()), c.suffix)
            << q(c.stored).toStdString();
}

TEST_F(NumberingFolder, WriteFailuresAreReported)
{
    // A folder where the file should be: the file can be neither read nor replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(numberingIniName()));
    EXPECT_FALSE(writeNumberingSettings(ini, u"1", false));
    EXPECT_FALSE(writeCompanyData(ini, sampleCompany()));

    // A program folder that is really a file: nothing can be created in it.
    const QString notAFolder = path("plain");
    ASSERT_TRUE(writeFile(notAFolder, "x"));
    EXPECT_FALSE(writeNumberingSettings(numberingIniPath(notAFolder), u"1", false));
    EXPECT_FALSE(writeCompanyData(numberingIniPath(notAFolder), sampleCompany()));
}

TEST(Numbering, StartFieldNormalisedOnLeaving)
{
    struct Case {
        const char16_t* typed;
        const char16_t* shown;
    } cases[] = {
        {u"", u"1"},     {u"   ", u"1"}, {u"5", u"5"},         {u" 12 ", u"12"},
        {u"007", u"7"},  {u"0", u"0"},   {u"99999", u"99999"}, {u"2,5", u"3"},
        {u"2,4", u"2"},  {u"abc", u"1"}, {u"1,2,3", u"1"},     {u"1E3", u"1000"},
        {u"9E99", u"1"}, {u"-5", u"-5"}, {u"-2,5", u"-2"}, // halves go upwards, negative ones too
    };
    for (const Case& c : cases)
        EXPECT_EQ(normaliseStartNumber(c.typed), q(c.shown)) << q(c.typed).toStdString();
}

TEST(Numbering, FormsTheProposedNumber)
{
    struct Case {
        const char16_t* start;
        bool suffix;
        qint64 count;
        int year;
        std::optional<QString> number;
    } cases[] = {
        {u"1", false, 0, 2024, QStringLiteral("1")},
        {u"1", false, 7, 2024, QStringLiteral("8")},
        {u"100", false, 5, 2024, QStringLiteral("105")},
        {u"1", true, 0, 2023, QStringLiteral("1/2023")},
        {u"12", true, 3, 2022, QStringLiteral("15/2022")},
        {u"", false, 4, 2024, QStringLiteral("5")},
        {u"0", false, 0, 2024, QStringLiteral("0")},
        {u"007", false, 0, 2024, QStringLiteral("7")},
        {u" 3 ", false, 0, 2024, QStringLiteral("3")},
        {u"2,5", false, 0, 2024, std::nullopt},
        {u"abc", true, 0, 2024, std::nullopt},
        {u"1E3", false, 0, 2024, std::nullopt},
        // The start number is decimal digits only: a sign makes it unreadable, as "abc" is.
        {u"-5", false, 7, 2024, std::nullopt},
        {u"-5", true, 0, 2024, std::nullopt},
        {u"+5", false, 0, 2024, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formInvoiceNumber(c.start, c.suffix, c.count, c.year), c.number)
            << q(c.start).toStdString();
}

TEST_F(NumberingFolder, NewAfterSevenInvoicesProposesTheNext)
{
    const QString year = path("2024.fat");
    // Seven whole records and the fragment of an eighth, which is not counted.
    ASSERT_TRUE(writeFile(year, QByteArray(7 * InvoiceRecord::Size + 100, '\0')));

    InvoiceNumberProposal p = proposeInvoiceNumber(ini, year, 2024);
    EXPECT_EQ(p.outcome, InvoiceNumberProposal::Outcome::Proposed);
    EXPECT_EQ(p.invoiceCount, 7);
    EXPECT_EQ(p.number, QStringLiteral("8"));
    EXPECT_EQ(p.settings.start, QStringLiteral("1"));

    ASSERT_TRUE(writeNumberingSettings(ini, u"100", true));
    p = proposeInvoiceNumber(ini, year, 2025); // today's year, whatever the file's year
    EXPECT_EQ(p.number, QStringLiteral("107/2025"));
    EXPECT_EQ(p.settings.start, QStringLiteral("100"));
    EXPECT_EQ(p.settings.yearSetting, q(u"Sì"));

    ASSERT_TRUE(writeNumberingSettings(ini, u"100", false));
    EXPECT_EQ(proposeInvoiceNumber(ini, year, 2025).number, QStringLiteral("107"));
    EXPECT_EQ(QFileInfo(year).size(), 7 * InvoiceRecord::Size + 100) << "counting changes nothing";
}

TEST_F(NumberingFolder, NewOnAYearWithoutFileCreatesItEmpty)
{
    const QString year = path("2030.fat");
    const InvoiceNumberProposal p = proposeInvoiceNumber(ini, year, 2024);
    EXPECT_EQ(p.outcome, InvoiceNumberProposal::Outcome::Proposed);
    EXPECT_EQ(p.number, QStringLiteral("1"));
    ASSERT_TRUE(QFile::exists(year));
    EXPECT_EQ(QFileInfo(year).size(), 0);
}

TEST_F(NumberingFolder, NewFailures)
{
    // The invoice file cannot be opened: nothing is proposed.
    const QString folderInstead = path("2024.fat");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("2024.fat")));
    EXPECT_EQ(countInvoices(folderInstead), std::nullopt);
    EXPECT_EQ(proposeInvoiceNumber(ini, folderInstead, 2024).outcome,
              InvoiceNumberProposal::Outcome::ArchiveFailed);

    // A start that is not a whole number: the file was counted, the number cannot be formed.
    const QString year = path("2023.fat");
    ASSERT_TRUE(writeFile(year, QByteArray(2 * InvoiceRecord::Size, '\0')));
    ASSERT_TRUE(writeFile(ini, "[Numerazione Fatture]\r\nInizio=abc\r\n"));
    const InvoiceNumberProposal p = proposeInvoiceNumber(ini, year, 2024);
    EXPECT_EQ(p.outcome, InvoiceNumberProposal::Outcome::StartNotWhole);
    EXPECT_EQ(p.invoiceCount, 2);
    EXPECT_TRUE(p.number.isEmpty());
}
