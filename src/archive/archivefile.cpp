#include "archivefile.h"

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
            return false;
        if (timer.elapsed() >= g_lockTimeoutMs)
            return false;
        QThread::msleep(10);
    }
}

bool ArchiveFile::open(Access access)
{
    close();
    const QByteArray native = QFile::encodeName(m_path);
    m_fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return false;
    struct stat st {
    };
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || !lock(access == Access::Write)) {
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
    if (m_fd < 0 || n < 0 || n > count())
        return false;
    m_position = n;
    return true;
}

bool ArchiveFile::read(QByteArray& buffer)
{
    if (m_fd < 0 || m_position >= count())
        return false;
    buffer.resize(m_recordSize);
    qint64 done = 0;
    const off_t base = off_t(m_position) * m_recordSize;
    while (done < m_recordSize) {
        const ssize_t got = ::pread(m_fd, buffer.data() + done, size_t(m_recordSize - done), base + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += got;
    }
    ++m_position;
    return true;
}

bool ArchiveFile::write(const QByteArray& record)
{
    if (m_fd < 0 || record.size() != m_recordSize || m_position > count())
        return false;
    const off_t base = off_t(m_position) * m_recordSize;
    qint64 done = 0;
    while (done < m_recordSize) {
        const ssize_t put =
            ::pwrite(m_fd, record.constData() + done, size_t(m_recordSize - done), base + done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += put;
    }
    if (::fdatasync(m_fd) != 0)
        return false;
    ++m_position;
    return true;
}

bool ArchiveFile::close()
{
    if (m_fd < 0)
        return true;
    const int rc = ::close(m_fd); // releases the lock with the descriptor
    m_fd = -1;
    m_position = 0;
    return rc == 0;
}

bool ArchiveFile::forEach(const std::function<bool(qint64, const char*)>& visit, qint64 first)
{
    if (m_fd < 0 || first < 0)
        return false;
    const qint64 total = count();
    const qint64 perBlock = qMax<qint64>(1, (1 << 20) / m_recordSize);
    QByteArray block;
    block.resize(perBlock * m_recordSize);
    for (qint64 index = first; index < total;) {
        const qint64 n = qMin(perBlock, total - index);
        const qint64 bytes = n * m_recordSize;
        qint64 done = 0;
        const off_t base = off_t(index) * m_recordSize;
        while (done < bytes) {
            const ssize_t got = ::pread(m_fd, block.data() + done, size_t(bytes - done), base + done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            done += got;
        }
        for (qint64 k = 0; k < n; ++k)
            if (!visit(index + k, block.constData() + k * m_recordSize))
                return true;
        index += n;
    }
    return true;
}

} // namespace tarvello
