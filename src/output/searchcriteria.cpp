#include "searchcriteria.h"

#include "archive/archivefile.h"
#include "core/text.h"
#include "core/win1252.h"

#include <QHash>

#include <array>
#include <atomic>
#include <iterator>
#include <thread>

namespace tarvello
{

namespace
{

// What a stored byte reads as once the letters A to Z count as a to z: the folded byte.
struct Folding {
    std::array<unsigned char, 256> fold{};
    QHash<char16_t, unsigned char> byteOf; // a character, lowered, -> the folded byte it is stored as
    Folding()
    {
        for (int b = 0; b < 256; ++b) {
            char16_t c = fromWin1252(static_cast<unsigned char>(b)).unicode();
            unsigned char f = static_cast<unsigned char>(b);
            if (c >= u'A' && c <= u'Z') {
                c = char16_t(c + 32);
                f = static_cast<unsigned char>(b + 32);
            }
            fold[size_t(b)] = f;
            byteOf.insert(c, f);
        }
    }
};

const Folding& folding()
{
    static const Folding f;
    return f;
}

} // namespace

CriteriaMatcher::CriteriaMatcher(const RecordLayout& layout, std::span<const SearchCriterion> criteria,
                                 std::span<const QString> typed)
{
    const Folding& f = folding();
    for (size_t i = 0; i < typed.size() && i < criteria.size(); ++i) {
        if (isBlank(typed[i]))
            continue;
        // The text as typed, blanks included: "Rossi " finds "Rossi Bianchi" and not a bare
        // "Rossi"; "03/2022" finds every day of March 2022.
        Given g{&layout.fields[size_t(criteria[i].field)], {}, true};
        for (const QChar c : lowerAscii(typed[i])) {
            const auto it = f.byteOf.constFind(c.unicode());
            if (it == f.byteOf.constEnd()) {
                g.possible = false;
                break;
            }
            g.folded.push_back(char(*it));
        }
        m_given.push_back(std::move(g));
    }
}

bool CriteriaMatcher::matches(const char* record) const
{
    const auto& fold = folding().fold;
    for (const Given& g : m_given) {
        if (!g.possible)
            return false;
        const auto* field = reinterpret_cast<const unsigned char*>(record + g.field->offset);
        const qsizetype length = qMin<qsizetype>(field[0], g.field->capacity);
        const auto* text = field + 1;
        const auto* needle = reinterpret_cast<const unsigned char*>(g.folded.data());
        const qsizetype n = qsizetype(g.folded.size());
        bool found = false;
        for (qsizetype at = 0; at + n <= length && !found; ++at) {
            if (fold[text[at]] != needle[0])
                continue;
            qsizetype k = 1;
            while (k < n && fold[text[at + k]] == needle[k])
                ++k;
            found = k == n;
        }
        if (!found)
            return false;
    }
    return true;
}

namespace
{

// Scans records [first, end) of the archive at `path` into `found`; false when it cannot be read.
bool scanPart(const QString& path, int recordSize, qint64 first, qint64 end, const CriteriaMatcher& matcher,
              const std::function<QString(const char*)>& line, std::vector<ResultEntry>& found,
              Progress* progress, std::atomic<qint64>& scanned)
{
    ArchiveFile file(path, recordSize);
    if (!file.open(ArchiveFile::Access::Read))
        return false;
    const bool read = file.forEach(
        [&](qint64 index, const char* record) {
            if (index >= end)
                return false;
            if (matcher.matches(record))
                found.push_back({line(record), index});
            if (progress && (index - first) % Progress::step == Progress::step - 1)
                return progress->advance(scanned.fetch_add(Progress::step, std::memory_order_relaxed) +
                                         Progress::step);
            return true;
        },
        first);
    return file.close() && read;
}

} // namespace

std::optional<std::vector<ResultEntry>> findMatching(const QString& path, int recordSize,
                                                     const CriteriaMatcher& matcher,
                                                     const std::function<QString(const char*)>& line,
                                                     Progress* progress)
{
    qint64 count = 0;
    {
        // Opened once first: an archive not there yet is made empty, as every search finds it.
        ArchiveFile file(path, recordSize);
        if (!file.open(ArchiveFile::Access::Read))
            return std::nullopt;
        count = file.count();
        if (!file.close())
            return std::nullopt;
    }
    if (progress)
        progress->setTotal(count);
    std::atomic<qint64> scanned{0};
    // A large archive is scanned in two halves at once: building the lines is what takes the time,
    // and the machine has a second core for it. A record appended meanwhile is left to the next
    // search, as it would be by a scan that had started a moment earlier.
    const qint64 half = count >= 20000 ? count / 2 : count;
    std::vector<ResultEntry> found, second;
    if (matcher.givenCount() == 0)
        found.reserve(size_t(count));
    bool secondRead = true;
    std::thread other;
    if (half < count)
        other = std::thread([&] {
            secondRead = scanPart(path, recordSize, half, count, matcher, line, second, progress, scanned);
        });
    const bool firstRead = scanPart(path, recordSize, 0, half, matcher, line, found, progress, scanned);
    if (other.joinable())
        other.join();
    if (!firstRead || !secondRead || (progress && progress->heeded()))
        return std::nullopt;
    found.insert(found.end(), std::make_move_iterator(second.begin()), std::make_move_iterator(second.end()));
    return found;
}

} // namespace tarvello
