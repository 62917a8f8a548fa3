#pragma once

#include "record.h"

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
    bool busy = false;   // it failed because another workstation held the archive
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
    bool busy = false;           // it failed because another workstation held the archive
    explicit operator bool() const { return ok; }
};

// Reads record `index` (from 0). An index outside the archive fails.
LoadResult loadRecord(const QString& path, int recordSize, qint64 index);
// Counts the records and reads the one `pick` chooses from that count, or none when it
// chooses none, all in one session: what a navigation arrow needs.
LoadResult loadRecord(const QString& path, int recordSize,
                      const std::function<std::optional<qint64>(qint64 count)>& pick);

struct UpdateResult {
    enum class Outcome {
        Updated,  // the edited record is on the disk
        Declined, // the edit declined: nothing was written
        Failed,   // the archive could not be read or written: nothing was changed
    };
    Outcome outcome = Outcome::Failed;
    QByteArray before; // the record as it was stored; empty when it could not be read
    QByteArray record; // the record as it is stored now: the edited one, or `before`
    QString error;     // why it failed; empty otherwise
    bool busy = false; // it failed because another workstation held the archive
    explicit operator bool() const { return outcome == Outcome::Updated; }
};

// Changes record `index` (from 0) as it is stored, in one session under the write lock: the
// record is read, `edit` changes it in place (or declines by returning false), and it is written
// back over itself and flushed. No other workstation can store anything between the read and the
// write, so a change worked out from the stored record (a stock plus what was taken in) never
// undoes what someone else stored a moment before. An index outside the archive fails without
// calling `edit`; an edit that changes the record's size fails and writes nothing.
UpdateResult updateRecord(const QString& path, int recordSize, qint64 index,
                          const std::function<bool(QByteArray& record)>& edit);

struct Adjustment {
    enum class Outcome {
        Adjusted,   // the new number is on the disk
        NotANumber, // the field does not hold a number: nothing was written
        Refused,    // `accept` refused the new number: nothing was written
        DoesNotFit, // the new number does not fit the field: nothing was written
        Failed,     // the archive could not be read or written: nothing was changed
    };
    Outcome outcome = Outcome::Failed;
    double before = 0; // the stored number (when it was one)
    double after = 0;  // the number with the difference applied
    QByteArray record; // the record as it is stored now
    QString error;     // why it failed; empty otherwise
    explicit operator bool() const { return outcome == Outcome::Adjusted; }
};

// Adds `difference` to the number that `field` of record `index` holds, with updateRecord: the
// difference is applied to the number stored at that moment, so two workstations adding to the
// same stock both count. The new number is written as number text (formatNumber). `accept`, if
// given, sees the record with the new number in place, the old and the new number: it may set
// the fields that follow from the number (the stock's value), or refuse the change by returning
// false (a stock that would fall below zero).
Adjustment adjustNumber(const QString& path, const RecordLayout& layout, qint64 index, int field,
                        double difference,
                        const std::function<bool(Record& record, double before, double after)>& accept = {});

} // namespace tarvello
