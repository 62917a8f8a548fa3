#include "output/resultlines.h"

#include "core/text.h"

#include <algorithm>
#include <array>
#include <limits>

namespace tarvello
{

namespace
{

constexpr char16_t capital(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}
constexpr char16_t small(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

void appendFitted(QString& out, QStringView text, int width)
{
    if (width < 0) {
        out += text;
        return;
    }
    const qsizetype kept = std::min<qsizetype>(text.size(), width);
    out += text.first(kept);
    if (kept < width)
        out += QString(width - kept, u' ');
}

} // namespace

QString fitToWidth(QStringView text, int width)
{
    QString out;
    appendFitted(out, text, width);
    return out;
}

QString resultLine(std::initializer_list<LinePiece> pieces)
{
    qsizetype size = 0;
    for (const LinePiece& p : pieces)
        size += p.width < 0 ? p.text.size() : p.width;
    QString out;
    out.reserve(size);
    for (const LinePiece& p : pieces)
        appendFitted(out, p.text, p.width);
    return out;
}

ResultLine& ResultLine::add(QStringView text, int width)
{
    appendFitted(m_text, text, width);
    return *this;
}

ResultLine& ResultLine::addField(QStringView field, int width)
{
    appendFitted(m_text, trimmed(field), width);
    return *this;
}

int compareListOrder(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const char16_t* pa = a.utf16();
    const char16_t* pb = b.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] == pb[i])
            continue;
        const char16_t ca = capital(pa[i]);
        const char16_t cb = capital(pb[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    // One is the start of the other: the shorter comes first.
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

namespace
{

// Sixteen characters of a line from `from` on, in capitals, packed first character highest, four
// to a number, and where the line ends when it ends within them. Lines whose keys differ compare
// as their keys do: a line that ends is padded with 0, and of two lines alike up to where the
// shorter ends, the shorter comes first.
constexpr qsizetype keyCharacters = 16;
constexpr qsizetype goesOn = std::numeric_limits<qsizetype>::max();
struct SortKey {
    std::array<quint64, keyCharacters / 4> packed{};
    qsizetype end = goesOn;
    QStringView text; // read again for the next characters without going through the entry
    qsizetype line = 0;
};

void setKey(SortKey& key, qsizetype from)
{
    const QStringView text = key.text;
    key.packed = {};
    const qsizetype n = std::clamp<qsizetype>(text.size() - from, 0, keyCharacters);
    for (qsizetype i = 0; i < n; ++i)
        key.packed[size_t(i / 4)] |= quint64(capital(text[from + i].unicode())) << (16 * (3 - i % 4));
    key.end = text.size() <= from + keyCharacters ? text.size() : goesOn;
}

bool keyLess(const SortKey& x, const SortKey& y)
{
    return x.packed != y.packed ? x.packed < y.packed : x.end < y.end;
}

// Sorts the lines of `keys` (alike in their first `from` characters) by the next sixteen, then
// each run of lines alike in those too by the sixteen after, and so on: each line's characters
// are read once per sixteen, not once per comparison.
void sortFrom(std::span<SortKey> keys, qsizetype from)
{
    for (SortKey& k : keys)
        setKey(k, from);
    std::stable_sort(keys.begin(), keys.end(), keyLess);
    for (auto run = keys.begin(); run != keys.end();) {
        auto next = std::find_if(run + 1, keys.end(), [&](const SortKey& k) { return keyLess(*run, k); });
        // Lines that end here alike are equal and keep the order they were added in.
        if (next - run > 1 && run->end == goesOn)
            sortFrom(std::span<SortKey>(run, next), from + keyCharacters);
        run = next;
    }
}

} // namespace

void sortInListOrder(std::vector<ResultEntry>& entries)
{
    // Sorting a whole archive's lines spent most of its time comparing lines character by
    // character, each comparison fetching two lines from all over memory; sorting on keys side by
    // side reads each line a few times only.
    std::vector<SortKey> keys(entries.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        keys[i].text = entries[i].text;
        keys[i].line = qsizetype(i);
    }
    sortFrom(keys, 0);
    std::vector<ResultEntry> sorted;
    sorted.reserve(entries.size());
    for (const SortKey& k : keys)
        sorted.push_back(std::move(entries[size_t(k.line)]));
    entries.swap(sorted);
}

bool containsIgnoringAsciiCase(QStringView text, QStringView lowerNeedle)
{
    const qsizetype n = lowerNeedle.size();
    if (n == 0 || n > text.size())
        return false;
    const char16_t* t = text.utf16();
    const char16_t* p = lowerNeedle.utf16();
    const char16_t first = p[0];
    const qsizetype last = text.size() - n;
    for (qsizetype i = 0; i <= last; ++i) {
        if (small(t[i]) != first)
            continue;
        qsizetype k = 1;
        while (k < n && small(t[i + k]) == p[k])
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

ListFinder::Result ListFinder::find(std::span<const ResultEntry> lines, int selected, QStringView typed)
{
    Result result;
    const int count = static_cast<int>(lines.size());
    if (count == 0)
        return result; // nothing searched, nothing remembered

    if (selected < 0 || selected >= count)
        selected = 0;
    result.outcome = Outcome::NotFound;
    result.selection = selected;

    const QString wanted = lowerAscii(typed);
    // A new text is searched from the top, the first line included; the same text again starts
    // after the selection and comes round to the selection itself last.
    const bool repeat = wanted == m_last;
    const int start = repeat ? selected + 1 : 0;
    if (!wanted.isEmpty()) {
        for (int step = 0; step < count; ++step) {
            const int i = (start + step) % count;
            if (containsIgnoringAsciiCase(lines[size_t(i)].text, wanted)) {
                result.outcome = Outcome::Found;
                result.selection = i;
                break;
            }
        }
    }
    m_last = wanted;
    return result;
}

} // namespace tarvello
