#include "searchcriteria.h"

#include "archive/archivefile.h"
#include "core/text.h"
#include "core/win1252.h"

#include <QHash>

#include <array>

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

QString criteriaInstructions()
{
    return QStringLiteral(
        "Immettere nei campi prescelti una o più parole consecutive presenti nelle schede da "
        "trovare e premere il pulsante Cerca.\n"
        "Lasciare in bianco tutti gli altri campi.\n"
        "Per ogni ricerca è possibile utilizzare uno o più campi contemporaneamente.");
}

QString searchWaitText()
{
    return QStringLiteral("Ricerca schede in corso. Attendere...");
}

std::optional<std::vector<ResultEntry>> findMatching(const QString& path, int recordSize,
                                                     const CriteriaMatcher& matcher,
                                                     const std::function<QString(const char*)>& line,
                                                     Progress* progress)
{
    ArchiveFile file(path, recordSize);
    if (!file.open(ArchiveFile::Access::Read))
        return std::nullopt;
    std::vector<ResultEntry> found;
    if (matcher.givenCount() == 0)
        found.reserve(size_t(file.count()));
    const bool read = file.forEach(
        [&](qint64 index, const char* record) {
            if (matcher.matches(record))
                found.push_back({line(record), index});
            return true;
        },
        progress);
    if (!file.close() || !read)
        return std::nullopt;
    return found;
}

} // namespace tarvello
