#include "filelock.h"

#include <QElapsedTimer>
#include <QThread>

#include <cerrno>
#include <fcntl.h>

namespace tarvello
{
namespace
{

struct flock range(short type, qint64 start, qint64 length)
{
    struct flock fl {
    }; // l_pid must be 0 for an open-file-description lock
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(start);
    fl.l_len = off_t(length);
    return fl;
}

short typeOf(FileLock::Kind kind)
{
    return kind == FileLock::Kind::Exclusive ? F_WRLCK : F_RDLCK;
}

} // namespace

FileLock::FileLock(int fd, qint64 start, qint64 length) : m_fd(fd), m_start(start), m_length(length) {}

FileLock::~FileLock()
{
    unlock();
}

FileLock::Outcome FileLock::set(Kind kind, bool wait)
{
    struct flock fl = range(typeOf(kind), m_start, m_length);
    while (::fcntl(m_fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) != 0) {
        if (errno == EINTR)
            continue;
        // A refused change of kind leaves the lock held as it was.
        return errno == EAGAIN || errno == EACCES ? Outcome::Busy : Outcome::Failed;
    }
    m_held = true;
    return Outcome::Granted;
}

FileLock::Outcome FileLock::tryLock(Kind kind)
{
    return set(kind, false);
}

FileLock::Outcome FileLock::lock(Kind kind)
{
    return set(kind, true);
}

FileLock::Outcome FileLock::lockWithin(Kind kind, int waitMs)
{
    // Asked again and again rather than waited for: a waiting fcntl cannot be given a time limit.
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const Outcome outcome = set(kind, false);
        if (outcome != Outcome::Busy || timer.elapsed() >= waitMs)
            return outcome;
        QThread::msleep(10);
    }
}

bool FileLock::unlock()
{
    if (!m_held)
        return true;
    struct flock fl = range(F_UNLCK, m_start, m_length);
    if (::fcntl(m_fd, F_OFD_SETLK, &fl) != 0)
        return false;
    m_held = false;
    return true;
}

std::optional<bool> FileLock::heldElsewhere(Kind kind) const
{
    // The probe sees the locks of every other descriptor, this process's included, never this
    // descriptor's own.
    struct flock probe = range(typeOf(kind), m_start, m_length);
    if (::fcntl(m_fd, F_OFD_GETLK, &probe) != 0)
        return std::nullopt;
    return probe.l_type != F_UNLCK;
}

} // namespace tarvello
