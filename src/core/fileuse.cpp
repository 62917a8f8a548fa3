#include "fileuse.h"

#include "corelog.h"
#include "filelock.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tarvello
{

bool isFileLockedByOthers(const QString& path)
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // A file that is not there yet is in nobody's use; anything else is worth a line.
        if (errno != ENOENT)
            qCWarning(lcCore).noquote() << QStringLiteral("open %1: %2").arg(path, systemErrorText(errno));
        return false;
    }
    // An open-file-description probe sees every lock held through any other descriptor, ours
    // included, and closing this descriptor cannot release anybody's lock.
    const std::optional<bool> held = FileLock(fd, 0, 0).heldElsewhere(FileLock::Kind::Exclusive);
    if (!held)
        qCWarning(lcCore).noquote() << QStringLiteral("lock %1: %2").arg(path, systemErrorText(errno));
    const bool locked = held.value_or(false);
    ::close(fd);
    return locked;
#else
    Q_UNUSED(path);
    return false;
#endif
}

} // namespace tarvello
