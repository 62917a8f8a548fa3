#pragma once

// The lines of a result list, without any widget: how a line is built from fixed-width pieces,
// the order a sorted list keeps, and how "Trova" finds a text among the lines.

#include <QString>
#include <QStringView>

#include <initializer_list>
#include <span>
#include <vector>

namespace tarvello
{

// One line of a result list and the archive record it was built from (the record's index in
// its file, counted from 0). A double click acts on that record, never on another record whose
// line happens to read the same.
struct ResultEntry {
    QString text;
    qint64 record = -1;
};

// Appends blanks to `text` and keeps the first `width` characters. A negative width keeps the
// text whole.
QString fitToWidth(QStringView text, int width);

inline constexpr int wholeWidth = -1;

// One piece of a result line: its text exactly as given (fields come trimmed from the archive
// layer; a caller that joins fields trims them itself) and the width it is filled or cut to.
struct LinePiece {
    QStringView text;
    int width = wholeWidth;
};

// A result line from its pieces, in order:
//   resultLine({{code, 30}, {u"  "}, {brandAndModel, 40}, {u"  Costo: "}, {cost, 12}, ...})
QString resultLine(std::initializer_list<LinePiece> pieces);

// The same, piece by piece, for lines whose pieces are chosen at run time.
class ResultLine
{
public:
    ResultLine() { m_text.reserve(160); }
    // The text as given, filled or cut to `width` (whole when the width is negative).
    ResultLine& add(QStringView text, int width = wholeWidth);
    // A field: trimmed first, then filled or cut.
    ResultLine& addField(QStringView field, int width = wholeWidth);
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// The order of a sorted result list: two lines are compared character by character by their
// codes once the letters a to z have been turned into capitals (accented letters keep their own
// codes), and a line that is the start of another comes first. Negative, zero or positive.
int compareListOrder(QStringView a, QStringView b);
inline bool listOrderLess(QStringView a, QStringView b)
{
    return compareListOrder(a, b) < 0;
}

// Sorts the whole list once, in list order. Equal lines keep the order they were added in
// (file order), so the list reads the same on every run.
void sortInListOrder(std::vector<ResultEntry>& entries);

// "Trova" on a result list. The finder remembers the last searched text: searching it again
// moves on to the next line that contains it, wrapping from the last line to the first; a new
// text starts from the top. The list itself keeps the selection.
class ListFinder
{
public:
    enum class Outcome {
        EmptyList, // nothing to search: the caller shows its message; nothing changes
        Found,     // `selection` is the matching line
        NotFound,  // `selection` is where the selection stays (the first line if there was none)
    };
    struct Result {
        Outcome outcome = Outcome::EmptyList;
        int selection = -1;
    };

    // `selected` is the selected line, or -1 when none is. Letter case is ignored for the
    // letters A to Z, as everywhere in the program; an empty text never matches.
    Result find(std::span<const ResultEntry> lines, int selected, QStringView typed);

    // Forgets the last searched text (each time a screen is shown).
    void forget() { m_last.clear(); }
    const QString& lastSearched() const { return m_last; }

private:
    QString m_last;
};

// True when `needle` (already in lower case) occurs in `text` with A to Z read as a to z.
bool containsIgnoringAsciiCase(QStringView text, QStringView lowerNeedle);

} // namespace tarvello
