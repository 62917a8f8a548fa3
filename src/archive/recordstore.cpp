#include "recordstore.h"

#include "archivefile.h"
#include "core/numbers.h"
#include "core/win1252.h"

#include <cmath>

namespace tarvello
{

StoreResult storeRecord(const QString& path, int recordSize, const QByteArray& record,
                        std::optional<qint64> position)
{
    StoreResult result;
    ArchiveFile file(path, recordSize);
    if (!file.open(ArchiveFile::Access::Write) || !file.seek(position ? *position - 1 : file.count()) ||
        !file.write(record)) {
        result.error = file.errorString();
        result.busy = file.busy();
        return result;
    }
    const qint64 after = file.position();
    if (!file.close()) {
        result.error = file.errorString();
        result.busy = file.busy();
        return result;
    }
    result.ok = true;
    result.position = after;
    return result;
}

LoadResult loadRecord(const QString& path, int recordSize,
                      const std::function<std::optional<qint64>(qint64 count)>& pick)
{
    LoadResult result;
    ArchiveFile file(path, recordSize);
    if (!file.open(ArchiveFile::Access::Read)) {
        result.error = file.errorString();
        result.busy = file.busy();
        return result;
    }
    result.count = file.count();
    result.index = pick(result.count);
    if (result.index && (!file.seek(*result.index) || !file.read(result.record))) {
        result.error = file.errorString();
        result.busy = file.busy();
        result.record.clear();
        return result;
    }
    if (!file.close()) {
        result.error = file.errorString();
        result.busy = file.busy();
        result.record.clear();
        return result;
    }
    result.ok = true;
    return result;
}

LoadResult loadRecord(const QString& path, int recordSize, qint64 index)
{
    return loadRecord(path, recordSize, [index](qint64) { return std::optional<qint64>(index); });
}

UpdateResult updateRecord(const QString& path, int recordSize, qint64 index,
                          const std::function<bool(QByteArray& record)>& edit)
{
    UpdateResult result;
    ArchiveFile file(path, recordSize);
    QByteArray bytes;
    // The read belongs to the same locked session as the write: a record read under a shared
    // lock and written under a later exclusive one could be stale by then.
    if (!file.open(ArchiveFile::Access::Write) || !file.seek(index) || !file.read(bytes)) {
        result.error = file.errorString();
        result.busy = file.busy();
        return result;
    }
    result.before = bytes;
    if (!edit(bytes)) {
        result.outcome = UpdateResult::Outcome::Declined;
        result.record = result.before;
        file.close(); // nothing was written: a failing close loses nothing
        return result;
    }
    if (!file.seek(index) || !file.write(bytes) || !file.close()) {
        result.error = file.errorString();
        result.busy = file.busy();
        return result;
    }
    result.outcome = UpdateResult::Outcome::Updated;
    result.record = bytes;
    return result;
}

Adjustment adjustNumber(const QString& path, const RecordLayout& layout, qint64 index, int field,
                        double difference,
                        const std::function<bool(Record& record, double before, double after)>& accept)
{
    using Outcome = Adjustment::Outcome;
    Adjustment result;
    const FieldDef& def = layout.fields[size_t(field)];
    const UpdateResult updated = updateRecord(path, layout.size, index, [&](QByteArray& bytes) {
        Record record(layout, bytes);
        const std::optional<double> stored = parseNumber(record.text(field));
        if (!stored) {
            result.outcome = Outcome::NotANumber;
            return false;
        }
        result.before = *stored;
        result.after = *stored + difference;
        const QString text = formatNumber(result.after);
        // Cut to the field, the number would read back as another one.
        if (!std::isfinite(result.after) || toWin1252(text).size() > def.capacity) {
            result.outcome = Outcome::DoesNotFit;
            return false;
        }
        record.setText(field, text);
        if (accept && !accept(record, result.before, result.after)) {
            result.outcome = Outcome::Refused;
            return false;
        }
        bytes = record.bytes();
        return true;
    });
    result.record = updated.record;
    result.error = updated.error;
    if (updated.outcome == UpdateResult::Outcome::Updated)
        result.outcome = Outcome::Adjusted;
    else if (updated.outcome == UpdateResult::Outcome::Failed)
        result.outcome = Outcome::Failed;
    return result;
}

} // namespace tarvello
