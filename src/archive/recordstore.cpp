#include "recordstore.h"

#include "archivefile.h"

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
        return result;
    }
    const qint64 after = file.position();
    if (!file.close()) {
        result.error = file.errorString();
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
        return result;
    }
    result.count = file.count();
    result.index = pick(result.count);
    if (result.index && (!file.seek(*result.index) || !file.read(result.record))) {
        result.error = file.errorString();
        result.record.clear();
        return result;
    }
    if (!file.close()) {
        result.error = file.errorString();
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

} // namespace tarvello
