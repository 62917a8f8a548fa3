#include "archivefile.h"

#include "archivelog.h"
#include "core/corelog.h"
#include "core/filereplace.h"
#include "core/progress.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvello
{
namespace
{

// The file's size as it is now, under the lock. A client of a network share (SMB above all) may
// answer fstat from what it cached before the lock, while seeking to the end asks the server: an
// append placed by a stale size would land on a record another workstation has just added. The
// reads and writes give their offsets themselves, so moving the descriptor's offset costs nothing.
qint64 sizeNow(int fd)
{
    return qint64(::lseek(fd, 0, SEEK_END));
}

// Far beyond any record of any archive, so the lock never covers data another program may
// want to read while we hold it.
constexpr qint64 kLockOffset = qint64(1) << 62;
int g_lockTimeoutMs = 5000;

// pread or pwrite until `size` bytes are done; returns how many were, and leaves errno set
// when that is fewer (0 when a read met the end of the file).
template <typename Bytes, typename Transfer>
qint64 transferFully(Transfer transfer, int fd, Bytes* data, qint64 size, off_t offset, int errnoWhenNothing)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = transfer(fd, data + done, size_t(size - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = errnoWhenNothing;
            break;
        }
        done += n;
    }
    return done;
}

qint64 readFully(int fd, char* data, qint64 size, off_t offset)
{
    return transferFully(::pread, fd, data, size, offset, 0);
}

qint64 writeFully(int fd, const char* data, qint64 size, off_t offset)
{
    return transferFully(::pwrite, fd, data, size, offset, ENOSPC);
}

// The journal of a record written over: a mark, the record's index and size, its old bytes, its
// new bytes, and a check sum of all that, so that a journal cut short is known and ignored (the
// record was not touched before the journal was whole on the disk).
constexpr char kJournalMark[8] = {'T', 'V', 'R', 'I', 'P', 'R', '0', '1'};
constexpr qsizetype kJournalHead = 8 + 8 + 4;

quint64 checkSum(const char* data, qsizetype size)
{
    quint64 h = 14695981039346656037ull; // FNV-1a
    for (qsizetype i = 0; i < size; ++i)
        h = (h ^ quint8(data[i])) * 1099511628211ull;
    return h;
}

QByteArray journalBytes(qint64 index, const QByteArray& before, const QByteArray& after)
{
    QByteArray bytes(kJournalMark, sizeof kJournalMark);
    char number[8];
    qToLittleEndian<qint64>(index, number);
    bytes.append(number, 8);
    qToLittleEndian<qint32>(qint32(before.size()), number);
    bytes.append(number, 4);
    bytes.append(before).append(after);
    qToLittleEndian<quint64>(checkSum(bytes.constData(), bytes.size()), number);
    return bytes.append(number, 8);
}

struct Journal {
    qint64 index = -1;
    QByteArray before;
    QByteArray after;
};

// The journal's contents, or nothing when they are not a whole journal of records of this size.
std::optional<Journal> readJournal(const QByteArray& bytes, int recordSize)
{
    if (bytes.size() != kJournalHead + 2 * qsizetype(recordSize) + 8 ||
        !bytes.startsWith(QByteArrayView(kJournalMark, 8)))
        return std::nullopt;
    const qsizetype body = bytes.size() - 8;
    if (qFromLittleEndian<quint64>(bytes.constData() + body) != checkSum(bytes.constData(), body) ||
        qFromLittleEndian<qint32>(bytes.constData() + 16) != recordSize)
        return std::nullopt;
    Journal j;
    j.index = qFromLittleEndian<qint64>(bytes.constData() + 8);
    j.before = bytes.mid(kJournalHead, recordSize);
    j.after = bytes.mid(kJournalHead + recordSize, recordSize);
    return j;
}

} // namespace

QString archiveAccessMessage()
{
    return QStringLiteral(
        "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
        "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");
}

QString archiveBusyMessage(const QString& fileName)
{
    return QStringLiteral(
               "Attenzione: l'archivio %1 è in uso da un'altra postazione, che non lo ha rilasciato "
               "entro alcuni secondi.\n\r\n\rRiprovare tra qualche istante; se il messaggio si ripete, "
               "controllare che le altre postazioni non siano bloccate.")
        .arg(fileName);
}

void ArchiveFile::setLockTimeout(int milliseconds)
{
    g_lockTimeoutMs = milliseconds;
}

int ArchiveFile::lockTimeout()
{
    return g_lockTimeoutMs;
}

ArchiveFile::ArchiveFile(QString path, int recordSize) : m_path(std::move(path)), m_recordSize(recordSize) {}

ArchiveFile::~ArchiveFile()
{
    close();
}

bool ArchiveFile::fail(const char* step, const QString& reason)
{
    m_error = QStringLiteral("%1 %2: %3").arg(QLatin1StringView(step), m_path, reason);
    qCWarning(lcArchive).noquote() << m_error;
    return false;
}

bool ArchiveFile::failWithErrno(const char* step, int errnum)
{
    return fail(step, errnum ? systemErrorText(errnum) : QStringLiteral("unexpected end of file"));
}

bool ArchiveFile::lock(bool exclusive, int waitMs)
{
    switch (m_lock->lockWithin(exclusive ? FileLock::Kind::Exclusive : FileLock::Kind::Shared, waitMs)) {
    case FileLock::Outcome::Granted:
        return true;
    case FileLock::Outcome::Busy:
        m_busy = true;
        return fail("lock",
                    QStringLiteral("another program still holds the archive after %1 ms").arg(waitMs));
    case FileLock::Outcome::Failed:
        break;
    }
    return failWithErrno("lock", errno);
}

bool ArchiveFile::open(Access access)
{
    close();
    m_error.clear();
    m_busy = false;
    const QByteArray native = QFile::encodeName(m_path);
    m_fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return failWithErrno("open", errno);
    m_lock.emplace(m_fd, kLockOffset, 1);
    struct stat st {
    };
    bool ok = false;
    if (::fstat(m_fd, &st) != 0)
        failWithErrno("open", errno);
    else if (!S_ISREG(st.st_mode))
        fail("open", QStringLiteral("not a regular file"));
    else
        ok = lock(access == Access::Write, g_lockTimeoutMs);
    if (!ok) {
        m_lock.reset();
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_position = 0;
    if (QFileInfo::exists(journalPath(m_path))) {
        // Mending writes: a reader takes the writers' lock for it, and when another reader keeps
        // it from that, reads as things are and leaves the mending to the next one.
        if (access == Access::Write) {
            mendFromJournal();
        } else if (lock(true, 0)) {
            mendFromJournal();
            lock(false, g_lockTimeoutMs);
        }
        m_error.clear();
    }
    return true;
}

QString ArchiveFile::journalPath(const QString& path)
{
    return path + QStringLiteral(".ripristino");
}

bool ArchiveFile::writeJournal(qint64 index, const QByteArray& before, const QByteArray& after)
{
    const QString path = journalPath(m_path);
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return failWithErrno("write", errno);
    const QByteArray bytes = journalBytes(index, before, after);
    const char* step = "write";
    int err = 0;
    if (writeFully(fd, bytes.constData(), bytes.size(), 0) < bytes.size())
        err = errno;
    else if (::fdatasync(fd) != 0)
        err = errno, step = "flush";
    ::close(fd);
    // A journal the folder lost in a power cut would mend nothing.
    if (err == 0 && (err = syncFolder(QFileInfo(path).absolutePath())) != 0)
        step = "flush";
    if (err != 0) {
        removeJournal();
        return failWithErrno(step, err);
    }
    return true;
}

void ArchiveFile::removeJournal()
{
    // Left behind, it only costs the next open a look: a whole record is never put back.
    if (::unlink(QFile::encodeName(journalPath(m_path)).constData()) != 0 && errno != ENOENT)
        qCWarning(lcArchive).noquote()
            << QStringLiteral("remove %1: %2").arg(journalPath(m_path), systemErrorText(errno));
}

void ArchiveFile::mendFromJournal()
{
    QFile file(journalPath(m_path));
    if (!file.open(QIODevice::ReadOnly)) {
        fail("mend", file.errorString());
        return;
    }
    // A journal of this archive has exactly one size; a file of any other is no journal of ours
    // (cut short, or fifty gigabytes of something else) and is never read whole.
    const qint64 journalSize = kJournalHead + 2 * qint64(m_recordSize) + 8;
    if (file.size() != journalSize)
        qCWarning(lcArchive).noquote()
            << QStringLiteral("mend %1: %2 bytes are no recovery journal of this archive (%3 bytes), it is "
                              "left unread and removed")
                   .arg(file.fileName())
                   .arg(file.size())
                   .arg(journalSize);
    const std::optional<Journal> journal =
        file.size() == journalSize ? readJournal(file.read(journalSize), m_recordSize) : std::nullopt;
    file.close();
    if (journal && journal->index >= 0 && journal->index < count()) {
        const off_t base = off_t(journal->index) * m_recordSize;
        QByteArray stored(m_recordSize, Qt::Uninitialized);
        if (readFully(m_fd, stored.data(), m_recordSize, base) < m_recordSize) {
            failWithErrno("mend", errno);
            return; // kept for the next open
        }
        if (stored != journal->before && stored != journal->after) {
            // The write was cut: it was never reported, so the record it started over comes back.
            if (writeFully(m_fd, journal->before.constData(), m_recordSize, base) < m_recordSize ||
                ::fdatasync(m_fd) != 0) {
                failWithErrno("mend", errno);
                return;
            }
            qCWarning(lcArchive).noquote()
                << QStringLiteral("mend %1: record %2 was half-written, its old bytes are back")
                       .arg(m_path)
                       .arg(journal->index + 1);
        }
    }
    removeJournal();
}

qint64 ArchiveFile::count() const
{
    if (m_fd < 0)
        return 0;
    const qint64 size = sizeNow(m_fd);
    return size < 0 ? 0 : size / m_recordSize;
}

bool ArchiveFile::seek(qint64 n)
{
    if (m_fd < 0)
        return fail("seek", QStringLiteral("the file is not open"));
    const qint64 records = count();
    if (n < 0 || n > records)
        return fail("seek", QStringLiteral("record %1 lies outside the %2 records").arg(n).arg(records));
    m_position = n;
    return true;
}

bool ArchiveFile::read(QByteArray& buffer)
{
    if (m_fd < 0)
        return fail("read", QStringLiteral("the file is not open"));
    if (m_position >= count())
        return fail("read", QStringLiteral("record %1 lies past the end").arg(m_position));
    buffer.resize(m_recordSize);
    if (readFully(m_fd, buffer.data(), m_recordSize, off_t(m_position) * m_recordSize) < m_recordSize)
        return failWithErrno("read", errno);
    ++m_position;
    return true;
}

bool ArchiveFile::write(const QByteArray& record)
{
    if (m_fd < 0)
        return fail("write", QStringLiteral("the file is not open"));
    if (record.size() != m_recordSize)
        return fail("write",
                    QStringLiteral("a record of %1 bytes, not %2").arg(record.size()).arg(m_recordSize));
    const qint64 sizeBefore = sizeNow(m_fd);
    if (sizeBefore < 0)
        return failWithErrno("write", errno);
    if (m_position > sizeBefore / m_recordSize)
        return fail("write", QStringLiteral("record %1 lies past the end").arg(m_position));

    // What the write will cover, kept so that a failed write can be undone: the old record, or
    // (when appending) a trailing fragment, or nothing.
    const qint64 base = m_position * m_recordSize;
    QByteArray before(qBound<qint64>(0, sizeBefore - base, qint64(m_recordSize)), Qt::Uninitialized);
    if (readFully(m_fd, before.data(), before.size(), off_t(base)) < before.size())
        return failWithErrno("write", errno); // nothing written yet
    // Only a record written over needs the journal: an append cut short is a fragment, not counted.
    const bool over = before.size() == m_recordSize;
    if (over && !writeJournal(m_position, before, record))
        return false; // nothing written yet

    const qint64 written = writeFully(m_fd, record.constData(), m_recordSize, off_t(base));
    int err = written < m_recordSize ? errno : 0;
    const char* step = "write";
    if (err == 0 && ::fdatasync(m_fd) != 0) {
        err = errno;
        step = "flush";
    }
    if (err != 0) {
        // The journal stays if the old bytes could not be put back: the next open tries again.
        if (undoWrite(base, before, sizeBefore, written) && over)
            removeJournal();
        return failWithErrno(step, err);
    }
    if (over)
        removeJournal();
    ++m_position;
    return true;
}

bool ArchiveFile::undoWrite(qint64 base, const QByteArray& before, qint64 sizeBefore, qint64 written)
{
    // Put back the old bytes over the part that was written, then cut off what grew the file.
    const qint64 overwritten = qMin<qint64>(written, before.size());
    bool undone = writeFully(m_fd, before.constData(), overwritten, off_t(base)) == overwritten;
    if (undone && base + written > sizeBefore)
        undone = ::ftruncate(m_fd, off_t(sizeBefore)) == 0;
    if (undone)
        undone = ::fdatasync(m_fd) == 0;
    if (!undone) {
        const int err = errno; // before the logging can change it
        qCWarning(lcArchive).noquote()
            << QStringLiteral("undo write %1: %2, the record at byte %3 may be damaged")
                   .arg(m_path, systemErrorText(err))
                   .arg(base);
    }
    return undone;
}

bool ArchiveFile::close()
{
    if (m_fd < 0)
        return true;
    m_lock.reset(); // before the descriptor it was taken through goes
    const int rc = ::close(m_fd);
    const int err = errno;
    m_fd = -1;
    m_position = 0;
    return rc == 0 || failWithErrno("close", err);
}

bool ArchiveFile::forEach(const std::function<bool(qint64, const char*)>& visit, Progress* progress)
{
    if (m_fd < 0)
        return fail("read", QStringLiteral("the file is not open"));
    const qint64 total = count();
    if (progress)
        progress->setTotal(total);
    const qint64 perBlock = qMax<qint64>(1, (1 << 20) / m_recordSize);
    // On a page boundary the system copies the file's pages into it a good fifth faster.
    constexpr size_t page = 4096;
    const size_t blockBytes = (size_t(perBlock * m_recordSize) + page - 1) / page * page;
    const std::unique_ptr<char, decltype(&std::free)> block(
        static_cast<char*>(std::aligned_alloc(page, blockBytes)), &std::free);
    if (!block)
        return fail("read", QStringLiteral("no memory for reading"));
    for (qint64 index = 0; index < total;) {
        const qint64 n = qMin(perBlock, total - index);
        const qint64 bytes = n * m_recordSize;
        if (readFully(m_fd, block.get(), bytes, off_t(index) * m_recordSize) < bytes)
            return failWithErrno("read", errno);
        for (qint64 k = 0; k < n; ++k) {
            if (!visit(index + k, block.get() + k * m_recordSize))
                return true;
            if (!Progress::passed(progress, index + k))
                return false;
        }
        index += n;
    }
    return true;
}

} // namespace tarvello
