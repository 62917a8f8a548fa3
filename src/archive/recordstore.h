#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace tarvello
{

// Storing and loading one record, each as one complete session on the archive (open, lock,
// the write or the read, close), the way every card saves and shows its records. A failure
// keeps its reason (the step, the file and the system's text), which is also logged; the user
// is only ever shown archiveAccessMessage().

struct StoreResult {
    bool ok = false;
    qint64 position = 0; // one-based position of the record written
    QString error;       // why it failed; empty on success
    explicit operator bool() const { return ok; }
};

// Writes `record` at the one-based `position`, over the record stored there, or appends it
// when `position` is empty. A position just past the last record appends, too (another
// workstation may have replaced the file meanwhile); one further out fails. The record is on
// the disk before this returns success; a failed store leaves the file as it was.
StoreResult storeRecord(const QString& path, int recordSize, const QByteArray& record,
                        std::optional<qint64> position);

struct LoadResult {
    bool ok = false;
    qint64 count = 0;            // records in the archive when it was read
    std::optional<qint64> index; // the record read (from 0); empty when none was asked for
    QByteArray record;           // its bytes
    QString error;               // why it failed; empty on success
    explicit operator bool() const { return ok; }
};

// Reads record `index` (from 0). An index outside the archive fails.
LoadResult loadRecord(const QString& path, int recordSize, qint64 index);
// Counts the records and reads the one `pick` chooses from that count, or none when it
// chooses none, all in one session: what a navigation arrow needs.
LoadResult loadRecord(const QString& path, int recordSize,
                      const std::function<std::optional<qint64>(qint64 count)>& pick);

} // namespace tarvello
