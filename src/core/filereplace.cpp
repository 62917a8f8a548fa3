#include "filereplace.h"

#include "corelog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvello
{
namespace
{

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(QDir::toNativeSeparators(path));
}

} // namespace

QString systemReason(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("spazio su disco esaurito");
    case EDQUOT:
        return QStringLiteral("spazio disponibile per l'utente esaurito");
    case EIO:
        return QStringLiteral("errore di lettura o scrittura sul disco");
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato");
    case EROFS:
        return QStringLiteral("il disco è di sola lettura");
    case ENOENT:
        return QStringLiteral("file o cartella inesistente");
    case EISDIR:
        return QStringLiteral("al suo posto c'è una cartella");
    case ENOTDIR:
        return QStringLiteral("il percorso non indica una cartella");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("il file è in uso");
    case EFBIG:
        return QStringLiteral("il file è troppo grande");
    case ENAMETOOLONG:
        return QStringLiteral("il nome del file è troppo lungo");
    default:
        return QStringLiteral("errore di sistema %1 (%2)")
            .arg(error)
            .arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

FileReplacement::FileReplacement(QString target, Mode mode) : m_target(std::move(target)), m_mode(mode) {}

FileReplacement::~FileReplacement()
{
    if (m_fd >= 0)
        discard();
}

bool FileReplacement::open()
{
    m_reason.clear();
    m_error = 0;
    if (m_fd >= 0)
        return true;
    const QFileInfo target(m_target);
    // Hidden, in the same folder (so the rename never crosses a file system), and unique.
    const QString pattern =
        target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX");
    QByteArray name = nativePath(pattern);
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return fail("open", m_target, errno);
    m_fd = fd;
    m_temporary = QFile::decodeName(name);
    // mkostemp makes the file private to its owner; the new file should look like the old one,
    // or like any file the program creates.
    struct stat old = {};
    mode_t mode = 0;
    if (::stat(nativePath(m_target).constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(m_fd, mode);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

qint64 FileReplacement::readData(char*, qint64)
{
    return -1;
}

qint64 FileReplacement::writeData(const char* data, qint64 size)
{
    if (m_fd < 0 || failed())
        return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail("write", m_temporary, errno);
            return -1;
        }
        if (n == 0) { // nothing written and no reason: the disk takes no more
            fail("write", m_temporary, ENOSPC);
            return -1;
        }
        done += n;
    }
    return done;
}

bool FileReplacement::commit()
{
    if (m_fd < 0) {
        if (!failed())
            m_reason = QStringLiteral("il file non è stato aperto");
        return false;
    }
    if (failed()) {
        discard();
        return false;
    }
    if (::fdatasync(m_fd) != 0) {
        fail("flush", m_temporary, errno);
        discard();
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    QIODevice::close();
    if (::close(fd) != 0) {
        fail("close", m_temporary, errno);
        removeTemporary();
        return false;
    }
    const QByteArray from = nativePath(m_temporary);
    const QByteArray to = nativePath(m_target);
    if (m_mode == Mode::NewOnly) {
        if (::link(from.constData(), to.constData()) != 0) {
            fail("link", m_target, errno);
            removeTemporary();
            return false;
        }
        removeTemporary(); // the file lives on under its name
    } else if (::rename(from.constData(), to.constData()) != 0) {
        fail("rename", m_target, errno);
        removeTemporary();
        return false;
    }
    m_temporary.clear();
    // The rename (or link) itself lives in the folder: without syncing it a crash could bring
    // back the old file, or no file at all, after success was reported.
    const QString folder = QFileInfo(m_target).absolutePath();
    if (const int error = syncFolder(folder)) {
        // A new file not surely on the disk is not reported as made: it goes again.
        if (m_mode == Mode::NewOnly)
            ::unlink(to.constData());
        return fail("sync folder", folder, error);
    }
    return true;
}

int syncFolder(const QString& folder)
{
    const int dirFd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return 0; // nothing to sync through; the files themselves are
    const int synced = ::fsync(dirFd);
    const int error = errno;
    ::close(dirFd);
    // EINVAL: a file system that cannot sync a folder; the files themselves are.
    return synced != 0 && error != EINVAL ? error : 0;
}

void FileReplacement::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (isOpen())
        QIODevice::close();
    removeTemporary();
}

void FileReplacement::removeTemporary()
{
    if (!m_temporary.isEmpty()) {
        ::unlink(nativePath(m_temporary).constData());
        m_temporary.clear();
    }
}

bool FileReplacement::fail(const char* step, const QString& file, int error)
{
    qCWarning(lcCore).noquote() << QLatin1StringView(step) << file << systemErrorText(error);
    m_reason = systemReason(error);
    m_error = error;
    setErrorString(m_reason);
    return false;
}

bool replaceFileContents(const QString& path, const QByteArray& bytes, QString* reason)
{
    FileReplacement file(path);
    const bool ok = file.open() && file.write(bytes) == bytes.size() && file.commit();
    if (!ok) {
        file.discard();
        if (reason)
            *reason = file.failureReason();
    }
    return ok;
}

bool copyFileReplacing(const QString& source, const QString& target, QString* reason)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        qCWarning(lcCore).noquote() << "open" << source << in.errorString();
        if (reason)
            *reason = QStringLiteral("il file da copiare non si può leggere");
        return false;
    }
    FileReplacement out(target);
    if (!out.open()) {
        if (reason)
            *reason = out.failureReason();
        return false;
    }
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(block.data(), block.size());
        if (got < 0) {
            qCWarning(lcCore).noquote() << "read" << source << in.errorString();
            out.discard();
            if (reason)
                *reason = QStringLiteral("errore di lettura del file da copiare");
            return false;
        }
        if (got == 0)
            break;
        if (out.write(block.constData(), got) != got)
            break;
    }
    if (!out.commit()) {
        if (reason)
            *reason = out.failureReason();
        return false;
    }
    return true;
}

} // namespace tarvello
