// Result lines without a widget: fixed-width pieces, the list order, "Trova" and the texts the
// list report prints.

#include "output/outputtexts.h"
#include "output/resultlines.h"

#include <QDate>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include <ostream>

using namespace tarvello;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace
{

QStringList strings(std::initializer_list<const char16_t*> texts)
{
    QStringList out;
    for (const char16_t* t : texts)
        out.append(QString::fromUtf16(t));
    return out;
}

std::vector<ResultEntry> entries(std::initializer_list<const char16_t*> texts)
{
    std::vector<ResultEntry> out;
    for (const char16_t* t : texts)
        out.push_back({QString::fromUtf16(t), qint64(out.size())});
    return out;
}

QString u(const char16_t* text)
{
    return QString::fromUtf16(text);
}

} // namespace

TEST(LinePieces, FillWithBlanksOrCutToTheWidth)
{
    const struct {
        const char16_t* text;
        int width;
        const char16_t* expected;
    } cases[] = {
        {u"Rossi", 8, u"Rossi   "}, {u"abcdefghij", 4, u"abcd"},
        {u"", 3, u"   "},           {u"abc", 3, u"abc"},
        {u"abc", 0, u""},           {u"  note  ", wholeWidth, u"  note  "},
        {u"Forlì", 6, u"Forlì "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(u(c.text).toStdString() + " / " + std::to_string(c.width));
        EXPECT_EQ(fitToWidth(u(c.text), c.width), u(c.expected));
    }
}

TEST(LinePieces, CustomerLineLinesUpItsColumns)
{
    // Surname and first name joined, then telephone, tax code, town and the notes whole.
    const QString name = QStringLiteral("Rossi") + u' ' + QStringLiteral("Mario");
    const QString line = resultLine({{name, 30},
                                     {u"  Tel. "},
                                     {u"0543 123456", 16},
                                     {u"  C.F. "},
                                     {u"RSSMRA80A01D704XYZ", 16},
                                     {u"  Città: "},
                                     {u"Forlì", 28},
                                     {u"  "},
                                     {u"cliente storico"}});
    EXPECT_EQ(line,
              QStringLiteral("Rossi Mario                     Tel. 0543 123456       C.F. RSSMRA80A01D704X"
                             "  Città: Forlì                         cliente storico"));
    EXPECT_EQ(line.indexOf(QStringLiteral("  Tel. ")), 30);
    EXPECT_EQ(line.indexOf(QStringLiteral("  C.F. ")), 30 + 7 + 16);
    EXPECT_EQ(line.indexOf(QStringLiteral("  Città: ")), 30 + 7 + 16 + 7 + 16);
}

TEST(LinePieces, BuilderTrimsFieldsButKeepsLiteralBlanks)
{
    ResultLine line;
    line.addField(u"  A12  ", 6)
        .add(u"  ")
        .addField(u" Fiat Panda ", 12)
        .add(u"  Note: ")
        .addField(u"  usato ");
    EXPECT_EQ(line.text(), QStringLiteral("A12     Fiat Panda    Note: usato"));
}

TEST(ListOrder, CapitalsForAToZOnlyCodesOtherwiseAndPrefixFirst)
{
    const struct {
        const char16_t* a;
        const char16_t* b;
        int sign;
    } cases[] = {
        {u"rossi", u"ROSSI", 0},        // a to z compared as capitals
        {u"abc", u"ABD", -1},           //
        {u"Zeta", u"alfa", 1},          // "ALFA" before "ZETA", unlike plain codes
        {u"_x", u"ax", 1},              // '_' follows the capitals, though it precedes 'a'
        {u"[", u"a", 1},                //
        {u"1", u"A", -1},               // digits before letters
        {u" Rossi", u"Rossi", -1},      // a blank before everything printable
        {u"è", u"z", 1},                // accented letters by their own code, after Z
        {u"È", u"è", -1},               // and never folded: 0xC8 before 0xE8
        {u"Rossi", u"Rossi Mario", -1}, // a line that starts another comes first
        {u"", u"a", -1},                //
        {u"Rossi Mario", u"rossi", 1},  //
        {u"Rossi  Mario", u"Rossi Anna", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(u(c.a).toStdString() + " <> " + u(c.b).toStdString());
        const int r = compareListOrder(u(c.a), u(c.b));
        EXPECT_EQ((r > 0) - (r < 0), c.sign);
        const int back = compareListOrder(u(c.b), u(c.a));
        EXPECT_EQ((back > 0) - (back < 0), -c.sign);
    }
}

TEST(ListOrder, SortsOnceKeepingRecordsAndTheFileOrderOfEqualLines)
{
    auto list = entries({u"verdi", u"Bianchi", u"ROSSI", u"bianchi anna", u"rossi", u"Àlfa"});
    sortInListOrder(list);
    QStringList texts;
    QList<qint64> records;
    for (const ResultEntry& e : list) {
        texts.append(e.text);
        records.append(e.record);
    }
    EXPECT_EQ(texts, strings({u"Bianchi", u"bianchi anna", u"ROSSI", u"rossi", u"verdi", u"Àlfa"}));
    EXPECT_EQ(records, (QList<qint64>{1, 3, 2, 4, 0, 5}));
}

// Lines made to meet in long runs of the same characters, in different cases, past the first
// sixteen and the first thirty-two, ending anywhere (a NUL is a character like any other): the
// sort gives exactly the order of a plain stable sort by the comparison, equal lines included.
TEST(ListOrder, SortsLongLinesAlikeExactlyAsComparingThemWhole)
{
    std::mt19937 random(20261211);
    const char16_t alphabet[] = {u'a', u'A', u'b', u'B', u' ', u'\0', u'à', u'_'};
    const QString stems[] = {QString(), QStringLiteral("Rossi Mario                   "),
                             QStringLiteral("ROSSI MARIO                     Tel. ")};
    std::vector<ResultEntry> lines;
    for (qint64 i = 0; i < 4000; ++i) {
        QString text = stems[random() % 3];
        const int more = int(random() % 40);
        for (int k = 0; k < more; ++k)
            text.append(QChar(alphabet[random() % 8]));
        lines.push_back({text.left(qsizetype(random() % 60)), i});
    }
    std::vector<ResultEntry> expected = lines;
    std::stable_sort(expected.begin(), expected.end(), [](const ResultEntry& x, const ResultEntry& y) {
        return compareListOrder(x.text, y.text) < 0;
    });
    sortInListOrder(lines);
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i].record, expected[i].record) << "line " << i << ": " << lines[i].text.toStdString();
        ASSERT_EQ(lines[i].text, expected[i].text);
    }
}

namespace
{

// Eight lines; the surname is in lines 2 and 5 (indexes 1 and 4), in different cases.
class ListFind : public ::testing::Test
{
protected:
    std::vector<ResultEntry> lines =
        entries({u"Verdi Anna", u"BIANCHI Luca", u"Neri Paolo", u"Gialli Ugo", u"Marco bianchi srl",
                 u"Rossi Mario", u"Russo Carla", u"Esposito Gino"});
    ListFinder finder;
    int selected = -1;

    ListFinder::Result find(QStringView text)
    {
        const ListFinder::Result r = finder.find(lines, selected, text);
        if (r.outcome != ListFinder::Outcome::EmptyList)
            selected = r.selection;
        return r;
    }
};

} // namespace

TEST_F(ListFind, RepeatingTheTextMovesOnAndWrapsAround)
{
    for (int expected : {1, 4, 1, 4}) {
        const auto r = find(u"bIaNcHi");
        EXPECT_EQ(r.outcome, ListFinder::Outcome::Found);
        EXPECT_EQ(r.selection, expected);
    }
    EXPECT_EQ(finder.lastSearched(), QStringLiteral("bianchi")) << "kept in lower case";
}

TEST_F(ListFind, ANewTextStartsFromTheTopWhateverIsSelected)
{
    selected = 6;
    EXPECT_EQ(find(u"verdi").selection, 0);
    selected = 6;
    EXPECT_EQ(find(u"bianchi").selection, 1) << "the first line is examined first";
    EXPECT_EQ(find(u"bianchi").selection, 4);
    EXPECT_EQ(find(u"rossi").selection, 5) << "a different text: from the top again";
}

TEST_F(ListFind, ASingleMatchStaysSelectedWhenRepeated)
{
    EXPECT_EQ(find(u"gino").selection, 7);
    const auto again = find(u"GINO");
    EXPECT_EQ(again.outcome, ListFinder::Outcome::Found);
    EXPECT_EQ(again.selection, 7) << "after going round, the selected line itself is examined last";
}

TEST_F(ListFind, NoMatchLeavesTheSelectionAndSelectsTheFirstLineWhenNoneWas)
{
    auto r = find(u"bruno");
    EXPECT_EQ(r.outcome, ListFinder::Outcome::NotFound);
    EXPECT_EQ(r.selection, 0) << "with no selection the first line becomes selected";

    selected = 3;
    r = find(u"zzz");
    EXPECT_EQ(r.outcome, ListFinder::Outcome::NotFound);
    EXPECT_EQ(r.selection, 3);
    EXPECT_EQ(finder.lastSearched(), QStringLiteral("zzz"));
    EXPECT_EQ(find(u"zzz").selection, 3);
}

TEST_F(ListFind, EmptyTextNeverMatches)
{
    selected = 2;
    for (int i = 0; i < 2; ++i) {
        const auto r = find(u"");
        EXPECT_EQ(r.outcome, ListFinder::Outcome::NotFound);
        EXPECT_EQ(r.selection, 2);
    }
}

TEST_F(ListFind, OnlyAToZIgnoreCase)
{
    lines = entries({u"Città: FORLÌ", u"Città: Forlì"});
    EXPECT_EQ(find(u"forlì").selection, 1) << "Ì and ì are different letters here, as in the searches";
    EXPECT_EQ(find(u"CITTÀ: FORL").selection, 1);
}

TEST_F(ListFind, EmptyListSearchesNothingAndRemembersNothing)
{
    lines.clear();
    const auto r = find(u"rossi");
    EXPECT_EQ(r.outcome, ListFinder::Outcome::EmptyList);
    EXPECT_EQ(finder.lastSearched(), QString());
}

TEST_F(ListFind, ForgettingMakesTheNextSearchStartFromTheTop)
{
    EXPECT_EQ(find(u"bianchi").selection, 1);
    EXPECT_EQ(find(u"bianchi").selection, 4);
    finder.forget();
    EXPECT_EQ(find(u"bianchi").selection, 1);
}

TEST(ListReportTexts, DateLinePeriodSummaryTitleAndTrailer)
{
    EXPECT_EQ(OutputTexts::printedOn(QDate(2026, 3, 5)),
              QStringLiteral("Stampa eseguita in data 05/03/2026"));
    const QStringList trailer =
        OutputTexts::periodSummaryTrailer(QStringLiteral(" € 30,30 "), QStringLiteral("€ 6,67"),
                                          QStringLiteral("€ 0,00"), QStringLiteral("€ 36,97"));
    EXPECT_EQ(trailer,
              (QStringList{QStringLiteral("--------------------------"),
                           QStringLiteral("Imponibile:   € 30,30"), QStringLiteral("Imposta:      € 6,67"),
                           QStringLiteral("Esente:       € 0,00"), QStringLiteral("TOTALE:       € 36,97")}));
    EXPECT_EQ(trailer.first().size(), 26);
    EXPECT_EQ(
        OutputTexts::periodSummaryTitle(QStringLiteral(" Fatture proforma emesse nel mese di marzo 2026 ")),
        QStringLiteral("Tipologia riepilogo: Fatture proforma emesse nel mese di marzo 2026"));
}
