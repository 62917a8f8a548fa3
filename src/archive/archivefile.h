#pragma once

#include "core/filelock.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace tarvello
{

class Progress;

// The message every archive access failure is reported with.
QString archiveAccessMessage();
// The message when another workstation held the archive `fileName` longer than the wait: the
// access message would send the user looking for a permission that is there.
QString archiveBusyMessage(const QString& fileName);

// One archive file of fixed-size records. A user action opens it, does its seeks, reads and
// writes, and closes it again; nothing stays open between actions.
//
// Several workstations may share the folder, so an open session holds a lock on a byte far
// beyond any record: exclusive for a session that writes, shared for one that only reads.
// Appenders therefore never collide and nobody reads a half-written record. The lock lives for
// the session, is released by close() (or the destructor), and a lock not granted within a few
// seconds makes open() fail.
//
// One write of a record is not whole if the program is killed or the power fails during it: the
// system may have put part of it on the disk. An append cut short is a trailing fragment, never
// counted; but a record written over could be left half old, half new. So before a record is
// written over, its old and new bytes go to a journal beside the archive (the archive's name and
// ".ripristino"), on the disk before the record is touched, and the journal is removed once the
// record is. The next open of the archive, by any workstation, finds a journal left behind and
// puts back the old record unless the one stored is whole, old or new.
class ArchiveFile
{
public:
    enum class Access { Read, Write };

    ArchiveFile(QString path, int recordSize);
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // Opens for reading and writing, creating a missing file empty; never empties a file. A record
    // left half-written by a stopped program is made whole first.
    bool open(Access access = Access::Write);
    bool isOpen() const { return m_fd >= 0; }
    // Number of whole records; a trailing fragment is neither counted nor read.
    qint64 count() const;
    // n may equal count(), to append.
    bool seek(qint64 n);
    // Reads the current record into buffer (resized to the record size) and advances.
    bool read(QByteArray& buffer);
    // Writes the whole record with one write over the current record, or appends it, flushes
    // it to the disk and advances. Only after this returns true may a save be reported.
    // A write that fails leaves the file as it was: the bytes it overwrote are put back and
    // what it added is cut off again.
    bool write(const QByteArray& record);
    qint64 position() const { return m_position; }
    bool close();

    // Reads every record in large sequential blocks and hands each to visit (index, bytes of one
    // record). Visiting stops early when visit returns false. `progress`, when given, hears every
    // few thousand records how far the reading has come; a reading the user stopped there ends,
    // answering false as one that could not be read to its end.
    bool forEach(const std::function<bool(qint64, const char*)>& visit, Progress* progress = nullptr);

    const QString& path() const { return m_path; }
    int recordSize() const { return m_recordSize; }
    // Why the last operation failed: the step, the file and the system's reason. Every failure
    // is also logged under "tarvello.archive".
    const QString& errorString() const { return m_error; }
    // Whether the last open failed only because another program held the archive's lock.
    bool busy() const { return m_busy; }

    // How long open() waits for another workstation's lock (milliseconds).
    static void setLockTimeout(int milliseconds);
    static int lockTimeout();
    // The journal of the record being written over in the archive at `path`.
    static QString journalPath(const QString& path);

private:
    // Waits up to waitMs for another program's lock (0: asks once).
    bool lock(bool exclusive, int waitMs);
    // The journal's steps: written and on the disk before a record is written over; removed when
    // the record is; read back, and the record mended, by open().
    bool writeJournal(qint64 index, const QByteArray& before, const QByteArray& after);
    void removeJournal();
    void mendFromJournal();
    // Records why `step` failed, logs it, and returns false.
    bool fail(const char* step, const QString& reason);
    bool failWithErrno(const char* step, int errnum);
    // Answers whether the file is as it was.
    bool undoWrite(qint64 base, const QByteArray& before, qint64 sizeBefore, qint64 written);
    QString m_path;
    int m_recordSize;
    int m_fd = -1;
    std::optional<FileLock> m_lock; // on a byte far beyond any record, while m_fd is open
    qint64 m_position = 0;
    QString m_error;
    bool m_busy = false;
};

} // namespace tarvello
