#include "searchcriteria.h"

#include "archive/archivefile.h"
#include "core/text.h"

namespace tarvello
{

CriteriaMatcher::CriteriaMatcher(const RecordLayout& layout, std::span<const SearchCriterion> criteria,
                                 std::span<const QString> typed)
{
    for (size_t i = 0; i < typed.size() && i < criteria.size(); ++i) {
        if (isBlank(typed[i]))
            continue;
        // The text as typed, blanks included: "Rossi " finds "Rossi Bianchi" and not a bare
        // "Rossi"; "03/2022" finds every day of March 2022.
        m_given.push_back({&layout.fields[size_t(criteria[i].field)], lowerAscii(typed[i])});
    }
}

bool CriteriaMatcher::matches(const char* record) const
{
    for (const Given& g : m_given)
        if (!containsIgnoringAsciiCase(decodeFieldAsStored(record, *g.field), g.lowered))
            return false;
    return true;
}

std::optional<std::vector<ResultEntry>> findMatching(const QString& path, int recordSize,
                                                     const CriteriaMatcher& matcher,
                                                     const std::function<QString(const char*)>& line)
{
    ArchiveFile file(path, recordSize);
    if (!file.open(ArchiveFile::Access::Read))
        return std::nullopt;
    std::vector<ResultEntry> found;
    if (matcher.givenCount() == 0)
        found.reserve(size_t(file.count()));
    const bool read = file.forEach([&](qint64 index, const char* record) {
        if (matcher.matches(record))
            found.push_back({line(record), index});
        return true;
    });
    if (!file.close() || !read)
        return std::nullopt;
    return found;
}

} // namespace tarvello
