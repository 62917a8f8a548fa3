#include "files.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

namespace
{

bool put(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(mode) || f.write(bytes) != bytes.size() || !f.flush()) {
        qWarning().noquote() << QStringLiteral("cannot prepare %1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

} // namespace

QByteArray fileBytes(const QString& path, const QByteArray& whenUnreadable)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : whenUnreadable;
}

QByteArray recordBytes(const QString& path, qint64 index, int recordSize)
{
    return fileBytes(path).mid(index * recordSize, recordSize);
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    return put(path, bytes, QIODevice::WriteOnly | QIODevice::Truncate);
}

bool writeArchive(const QString& path, const QList<QByteArray>& records)
{
    return writeFile(path, records.join());
}

bool copyFile(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to)) {
        qWarning().noquote() << QStringLiteral("cannot copy %1 to %2").arg(from, to);
        return false;
    }
    return true;
}

bool appendToFile(const QString& path, const QByteArray& bytes)
{
    return put(path, bytes, QIODevice::WriteOnly | QIODevice::Append);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

HeldFile::HeldFile(const QString& path, Hold hold)
{
    m_fd =
        ::open(QFile::encodeName(path).constData(), (hold == Hold::Reading ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (m_fd < 0)
        return;
    struct flock lock = {};
    lock.l_type = hold == Hold::Reading ? F_RDLCK : F_WRLCK;
    lock.l_whence = SEEK_SET; // from the start to the end, however far
    m_held = ::fcntl(m_fd, F_OFD_SETLK, &lock) == 0;
}

HeldFile::~HeldFile()
{
    release();
}

void HeldFile::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_held = false;
}

struct LockedElsewhere::Process {
    QProcess process;
};

LockedElsewhere::LockedElsewhere(const QString& path) : m_process(new Process)
{
    QDir().mkpath(QFileInfo(path).path());
    m_process->process.start(QStringLiteral(LOCK_HOLDER), {path});
    m_held = m_process->process.waitForReadyRead(30000) && m_process->process.readLine().trimmed() == "held";
}

LockedElsewhere::~LockedElsewhere()
{
    if (m_stopped)
        ::kill(pid_t(m_process->process.processId()), SIGCONT);
    m_process->process.closeWriteChannel();
    if (!m_process->process.waitForFinished(30000)) {
        m_process->process.kill();
        m_process->process.waitForFinished();
    }
    delete m_process;
}

bool LockedElsewhere::stop()
{
    m_stopped = ::kill(pid_t(m_process->process.processId()), SIGSTOP) == 0;
    return m_stopped;
}
