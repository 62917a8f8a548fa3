#include "fileuse.h"

#include "corelog.h"

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
    struct flock probe = {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0; // the whole file
    // An open-file-description probe sees every lock held through any other descriptor, ours
    // included, and closing this descriptor cannot release anybody's lock.
    const bool probed = ::fcntl(fd, F_OFD_GETLK, &probe) == 0;
    if (!probed)
        qCWarning(lcCore).noquote() << QStringLiteral("lock %1: %2").arg(path, systemErrorText(errno));
    const bool locked = probed && probe.l_type != F_UNLCK;
    ::close(fd);
    return locked;
#else
    Q_UNUSED(path);
    return false;
#endif
}

} // namespace tarvello
