#include "archivefile.h"

#include "archivelog.h"
#include "core/corelog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvello
{
namespace
{

// Far beyond any record of any archive, so the lock never covers data another program may
// want to read while we hold it.
constexpr off_t kLockOffset = off_t(1) << 62;
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

} // namespace

QString archiveAccessMessage()
{
    return QStringLiteral(
        "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
        "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");
}

void ArchiveFile::setLockTimeout(int milliseconds)
{
    g_lockTimeoutMs = milliseconds;
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

bool ArchiveFile::lock(bool exclusive)
{
    struct flock fl {
    };
    fl.l_type = exclusive ? F_WRLCK : F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = kLockOffset;
    fl.l_len = 1;
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        // Open-file-description locks belong to this descriptor alone; classic POSIX locks
        // would vanish when any other descriptor of the same file is closed in this process.
        if (::fcntl(m_fd, F_OFD_SETLK, &fl) == 0)
            return true;
        if (errno != EAGAIN && errno != EACCES && errno != EINTR)
            return failWithErrno("lock", errno);
        if (timer.elapsed() >= g_lockTimeoutMs)
            return fail(
                "lock",
                QStringLiteral("another program still holds the archive after %1 ms").arg(g_lockTimeoutMs));
        QThread::msleep(10);
    }
}

bool ArchiveFile::open(Access access)
{
    close();
    m_error.clear();
    const QByteArray native = QFile::encodeName(m_path);
    m_fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return failWithErrno("open", errno);
    struct stat st {
    };
    bool ok = false;
    if (::fstat(m_fd, &st) != 0)
        failWithErrno("open", errno);
    else if (!S_ISREG(st.st_mode))
        fail("open", QStringLiteral("not a regular file"));
    else
        ok = lock(access == Access::Write);
    if (!ok) {
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_position = 0;
    return true;
}

qint64 ArchiveFile::count() const
{
    if (m_fd < 0)
        return 0;
    struct stat st {
    };
    if (::fstat(m_fd, &st) != 0)
        return 0;
    return qint64(st.st_size) / m_recordSize;
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
    struct stat st {
    };
    if (::fstat(m_fd, &st) != 0)
        return failWithErrno("write", errno);
    const qint64 sizeBefore = st.st_size;
    if (m_position > sizeBefore / m_recordSize)
        return fail("write", QStringLiteral("record %1 lies past the end").arg(m_position));

    // What the write will cover, kept so that a failed write can be undone: the old record, or
    // (when appending) a trailing fragment, or nothing.
    const qint64 base = m_position * m_recordSize;
    QByteArray before(qBound<qint64>(0, sizeBefore - base, qint64(m_recordSize)), Qt::Uninitialized);
    if (readFully(m_fd, before.data(), before.size(), off_t(base)) < before.size())
        return failWithErrno("write", errno); // nothing written yet

    const qint64 written = writeFully(m_fd, record.constData(), m_recordSize, off_t(base));
    if (written < m_recordSize) {
        const int err = errno;
        undoWrite(base, before, sizeBefore, written);
        return failWithErrno("write", err);
    }
    if (::fdatasync(m_fd) != 0) {
        const int err = errno;
        undoWrite(base, before, sizeBefore, written);
        return failWithErrno("flush", err);
    }
    ++m_position;
    return true;
}

void ArchiveFile::undoWrite(qint64 base, const QByteArray& before, qint64 sizeBefore, qint64 written)
{
    // Put back the old bytes over the part that was written, then cut off what grew the file.
    const qint64 overwritten = qMin<qint64>(written, before.size());
    bool undone = writeFully(m_fd, before.constData(), overwritten, off_t(base)) == overwritten;
    if (undone && base + written > sizeBefore)
        undone = ::ftruncate(m_fd, off_t(sizeBefore)) == 0;
    if (undone)
        undone = ::fdatasync(m_fd) == 0;
    if (!undone)
        qCWarning(lcArchive).noquote()
            << QStringLiteral("undo write %1: %2, the record at byte %3 may be damaged")
                   .arg(m_path, systemErrorText(errno))
                   .arg(base);
}

bool ArchiveFile::close()
{
    if (m_fd < 0)
        return true;
    const int rc = ::close(m_fd); // releases the lock with the descriptor
    const int err = errno;
    m_fd = -1;
    m_position = 0;
    return rc == 0 || failWithErrno("close", err);
}

bool ArchiveFile::forEach(const std::function<bool(qint64, const char*)>& visit, qint64 first)
{
    if (m_fd < 0)
        return fail("read", QStringLiteral("the file is not open"));
    if (first < 0)
        return fail("read", QStringLiteral("record %1 does not exist").arg(first));
    const qint64 total = count();
    const qint64 perBlock = qMax<qint64>(1, (1 << 20) / m_recordSize);
    QByteArray block;
    block.resize(perBlock * m_recordSize);
    for (qint64 index = first; index < total;) {
        const qint64 n = qMin(perBlock, total - index);
        const qint64 bytes = n * m_recordSize;
        if (readFully(m_fd, block.data(), bytes, off_t(index) * m_recordSize) < bytes)
            return failWithErrno("read", errno);
        for (qint64 k = 0; k < n; ++k)
            if (!visit(index + k, block.constData() + k * m_recordSize))
                return true;
        index += n;
    }
    return true;
}

} // namespace tarvello
