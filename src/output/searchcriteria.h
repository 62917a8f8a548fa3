#pragma once

// The criteria of a search window and the one matcher every search uses, without any widget:
// the customer, product and invoice searches differ only in their table of criteria.

#include "archive/record.h"
#include "core/progress.h"
#include "resultlines.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarvello
{

// One criterion field of a search window, in Enter order: the control it is typed into, its
// caption and the record field it searches.
struct SearchCriterion {
    QStringView control; // "txtCognome"
    QStringView label;   // "Cognome cliente:"
    int field;           // a field of the searched record's layout
};

// The criteria of one search over records of `layout`. A criterion is given when it holds more
// than blanks; it then matches a record when its text, exactly as typed (leading and trailing
// blanks included), occurs in the record's field as stored (its own blanks included), the letters A to Z
// counting as a to z (accented letters match only themselves). A record is found when every given criterion
// matches it; with none given, every record is.
class CriteriaMatcher
{
public:
    // `typed` holds one text per criterion of `criteria`, in its order; texts beyond the table are
    // ignored and missing ones are not given.
    CriteriaMatcher(const RecordLayout& layout, std::span<const SearchCriterion> criteria,
                    std::span<const QString> typed);

    int givenCount() const { return int(m_given.size()); }
    bool matches(const char* record) const;

private:
    // A criterion is matched on the stored bytes, never decoded: each record byte is folded (A to
    // Z to a to z, every other byte itself) and compared with the typed text turned into folded
    // bytes. Every stored byte stands for exactly one character, so this finds what comparing the
    // decoded text would, at the speed of reading the file.
    struct Given {
        const FieldDef* field;
        std::string folded; // the typed text as folded stored bytes
        bool possible;      // false: the text holds a character no stored byte stands for
    };
    std::vector<Given> m_given;
};

// The matcher of one search: its table of criteria over records of one layout, so each search
// names its own (CustomerSearch::Matcher) and none writes the joining again.
template <const RecordLayout& (*Layout)(), std::span<const SearchCriterion> (*Table)()>
class SearchMatcher : public CriteriaMatcher
{
public:
    explicit SearchMatcher(std::span<const QString> typed = {}) : CriteriaMatcher(Layout(), Table(), typed) {}
};

// What every search window says on its criteria page: its three instructions, one per line, and
// the notice while it searches.
QString criteriaInstructions();
QString searchWaitText(); // "Ricerca schede in corso. Attendere..."

// Every record of the archive at `path` (records of `recordSize` bytes) that `matcher` finds, as
// the line `line` makes of it, in file order, each with its record. The archive is created empty
// when absent. Nullopt when it cannot be opened or read, or when `progress` was stopped.
std::optional<std::vector<ResultEntry>> findMatching(const QString& path, int recordSize,
                                                     const CriteriaMatcher& matcher,
                                                     const std::function<QString(const char*)>& line,
                                                     Progress* progress = nullptr);

} // namespace tarvello
