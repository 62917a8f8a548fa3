// The search criteria are matched on the stored bytes of a record; what they find must be exactly
// what comparing the decoded field text finds: the letters A to Z count as a to z, every other
// character (accented letters, the Windows-1252 signs) only as itself, the typed blanks count, and
// a character no stored byte stands for finds nothing.

#include "archive/customerrecord.h"
#include "core/text.h"
#include "files.h"
#include "output/searchcriteria.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

using namespace tarvello;
namespace CR = CustomerRecord;

namespace
{

const SearchCriterion surname[] = {{u"txtCognome", u"Cognome cliente:", CR::Cognome}};

// A customer whose surname field holds exactly `stored` (Windows-1252 bytes) after its length byte.
QByteArray customerWith(const QByteArray& stored, int lengthByte = -1)
{
    QByteArray record(CR::Size, '\0');
    const FieldDef& field = CR::layout().fields[CR::Cognome];
    record[field.offset] = char(lengthByte < 0 ? stored.size() : lengthByte);
    for (qsizetype i = 0; i < stored.size() && i < field.capacity; ++i)
        record[field.offset + 1 + int(i)] = stored[i];
    return record;
}

bool byDecodedText(const QByteArray& record, const QString& typed)
{
    return containsIgnoringAsciiCase(
        decodeFieldAsStored(record.constData(), CR::layout().fields[CR::Cognome]), lowerAscii(typed));
}

} // namespace

TEST(SearchCriteria, MatchingTheStoredBytesFindsWhatTheDecodedTextFinds)
{
    // Stored surnames, in Windows-1252 as the archive holds them.
    const QByteArray stored[] = {
        "Rossi Bianchi",
        "ROSSI",
        "Citt\xe0 di Castello", // Città
        "CITT\xc0",             // CITTÀ
        "Forl\xec-Cesena",      // Forlì
        "\x8c"
        "uvre \x80 5", // Œuvre € 5
        "Stra\xdf"
        "e", // Straße
        "\x9f"
        "ves \xff", // Ÿves ÿ
        "Undefined \x81 byte",
        "  spazi  ",
        "",
    };
    struct Typed {
        const char16_t* text;
        int expectedHits; // how many of the stored surnames it finds
    };
    const Typed typed[] = {
        {u"rossi", 2},     {u"Rossi ", 1}, {u"ROSSI B", 1}, {u"città", 1}, {u"CITTÀ", 1},
        {u"cittÀ", 1},     {u"Città", 1},  {u"tt", 2},      {u"ì", 1},     {u"Ì", 0},
        {u"œuvre", 0},     {u"Œuvre", 1},  {u"€ 5", 1},     {u"ß", 1},     {u"ss", 2},
        {u"ÿ", 1},         {u"Ÿ", 1},      {u"\u0081", 1},  {u"ő", 0},     {u"𝄞", 0},
        {u"  spazi  ", 1}, {u" spazi", 1}, {u"e", 6},       {u"E", 6},     {u"-", 1},
    };
    for (const Typed& t : typed) {
        const QString text = QString::fromUtf16(t.text);
        const std::array<QString, 1> given = {text};
        const CriteriaMatcher matcher(CR::layout(), surname, given);
        int hits = 0;
        for (const QByteArray& s : stored) {
            const QByteArray record = customerWith(s);
            SCOPED_TRACE(text.toStdString() + " in " + QString::fromLatin1(s).toStdString());
            EXPECT_EQ(matcher.matches(record.constData()), byDecodedText(record, text));
            hits += matcher.matches(record.constData()) ? 1 : 0;
        }
        EXPECT_EQ(hits, t.expectedHits) << text.toStdString();
    }
}

TEST(SearchCriteria, OnlyTheStoredLengthIsSearchedAndBlankCriteriaAreNotGiven)
{
    const FieldDef& field = CR::layout().fields[CR::Cognome];
    // Bytes beyond the stored length are left-overs of a longer text: never found.
    QByteArray record = customerWith("Rossi");
    record[field.offset + 1 + 5] = 'X';
    // A length byte beyond the field's capacity reads the field whole, as the decoder does.
    const QByteArray full = customerWith(QByteArray(field.capacity, 'z'), 255);
    const struct {
        const QByteArray* record;
        const char16_t* typed;
        bool found;
    } cases[] = {
        {&record, u"rossi", true},
        {&record, u"rossiX", false},
        {&full, u"zzz", true},
        {&full, u"   ", true}, // blanks only: not a criterion, every record is found
    };
    for (const auto& c : cases) {
        const std::array<QString, 1> given = {QString::fromUtf16(c.typed)};
        const CriteriaMatcher matcher(CR::layout(), surname, given);
        EXPECT_EQ(matcher.matches(c.record->constData()), c.found)
            << QString::fromUtf16(c.typed).toStdString();
        EXPECT_EQ(matcher.matches(c.record->constData()),
                  byDecodedText(*c.record, QString::fromUtf16(c.typed)) || matcher.givenCount() == 0);
    }
}

// A large archive gives its lines in file order, reporting its progress as it goes; a stopped
// search gives nothing.
TEST(SearchCriteria, ALargeArchiveGivesTheLinesOfOneScanInFileOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(CR::fileName());
    const int records = 30001;
    QByteArray bytes;
    bytes.reserve(qsizetype(records) * CR::Size);
    std::vector<qint64> rossi;
    for (int i = 0; i < records; ++i) {
        const bool isRossi = i % 997 == 0 || i == records - 1 || i == records / 2 || i == records / 2 - 1;
        if (isRossi)
            rossi.push_back(i);
        bytes += customerWith(isRossi ? QByteArray("Rossi ") + QByteArray::number(i) : QByteArray::number(i));
    }
    ASSERT_TRUE(writeFile(path, bytes));
    const auto surnameLine = [](const char* record) {
        return decodeFieldAsStored(record, CR::layout().fields[CR::Cognome]);
    };

    const std::array<QString, 1> given = {QStringLiteral("ROSSI")};
    const auto found =
        findMatching(path, CR::Size, CriteriaMatcher(CR::layout(), surname, given), surnameLine);
    ASSERT_TRUE(found.has_value());
    ASSERT_EQ(found->size(), rossi.size());
    for (size_t k = 0; k < rossi.size(); ++k) {
        EXPECT_EQ((*found)[k].record, rossi[k]);
        EXPECT_EQ((*found)[k].text, QStringLiteral("Rossi %1").arg(rossi[k]));
    }

    const std::array<QString, 1> none = {QString()};
    Progress progress;
    const auto all =
        findMatching(path, CR::Size, CriteriaMatcher(CR::layout(), surname, none), surnameLine, &progress);
    ASSERT_TRUE(all.has_value());
    ASSERT_EQ(all->size(), size_t(records));
    for (int i = 0; i < records; ++i)
        ASSERT_EQ((*all)[size_t(i)].record, i);
    EXPECT_GT(progress.fraction(), 0.5);

    Progress stopped;
    stopped.stop();
    EXPECT_FALSE(
        findMatching(path, CR::Size, CriteriaMatcher(CR::layout(), surname, none), surnameLine, &stopped));
}
