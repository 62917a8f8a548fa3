#pragma once

// Several programs on one warehouse archive at once: some append and overwrite records, some add
// to and take from the stock of the same records, some only read. Every record carries a check
// sum of all its bytes, so a record that is not whole (half of one write and half of another, or
// a write cut short) shows, wherever it is read.
//
// Each worker is a process of its own (the archive_stress program), as a workstation is; it
// prints one line for every change the archive confirmed to it. Afterwards the archive is
// compared with what was confirmed: the count is the first records plus the confirmed appends,
// every record is whole and holds a version that was confirmed for its place, and the stock of
// every shared record is its first stock plus every confirmed difference.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace stress
{

// The shared records every worker overwrites and every stock worker adjusts.
inline constexpr int kSharedRecords = 8;
inline constexpr int kFirstStock = 1000;

enum class Role { Writer, Stock, Reader };
// "writer", "stock", "reader"
std::optional<Role> roleNamed(const QString& name);

struct Plan {
    int writers = 2;
    int stockWorkers = 2;
    int readers = 2;
    int operations = 40; // per worker
    unsigned seed = 1;
};

// A whole product record: code, version and stock as given, the other text fields filled with
// text that depends on the version, and the check sum over everything.
QByteArray makeRecord(const QString& code, const QString& version, long long stock);
// The record with its check sum computed anew (after a field was changed in place).
void seal(QByteArray& record);
// True when the record's check sum matches its bytes.
bool isWhole(const QByteArray& record);
bool isWhole(const char* record);

// Writes the shared records: what a run starts from.
bool prepare(const QString& archive);

// The body of one worker process: prints its confirmed changes on standard output and returns
// the process's exit code.
int work(Role role, const QString& archive, int id, int operations, unsigned seed);

struct Outcome {
    QStringList problems; // empty when everything confirmed is there and every record is whole
    qint64 records = 0;   // in the archive at the end
    qint64 appends = 0, overwrites = 0, adjustments = 0, refused = 0, failures = 0;
    qint64 recordsRead = 0; // by the readers, each checked
    double seconds = 0;
    QString summary() const;
};

// Runs `plan` on `archive` with workers started from `program` (archive_stress), waits for them
// and compares the archive with what they were told.
Outcome run(const QString& program, const QString& archive, const Plan& plan);

} // namespace stress
