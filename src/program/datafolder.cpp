#include "datafolder.h"

#include "shell/password.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace tarvello
{

namespace
{

QString sharedFolderBelow(const QString& executableFolder, const QString& name)
{
    return QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral("../share/") + name));
}

bool holdsProgramFiles(const QDir& folder)
{
    for (const QString& name : programFileNames())
        if (QFileInfo::exists(folder.filePath(name)))
            return true;
    return !folder.entryList({QStringLiteral("*.fat")}, QDir::Files).isEmpty();
}

} // namespace

DataFolder chooseDataFolder(const FolderCandidates& candidates)
{
    if (!candidates.named.isEmpty())
        return {QDir::cleanPath(QDir(candidates.named).absolutePath()), DataFolderKind::Named};
    if (!candidates.installedSystemWide && candidates.programFolderWritable)
        return {candidates.programFolder, DataFolderKind::Program};
    return {candidates.userFolder, DataFolderKind::User};
}

FolderCandidates folderCandidates(const QString& executableFolder, const QString& named,
                                  const QString& userFolder)
{
    FolderCandidates c;
    c.named = named;
    c.programFolder = executableFolder;
    c.installedSystemWide = QFileInfo::exists(
        QDir(sharedFolderBelow(executableFolder, QStringLiteral("tarvello"))).filePath(passwordFileName()));
    // Installed system-wide the folder is not tried at all: root could write into bin/.
    c.programFolderWritable = !c.installedSystemWide && folderAcceptsFiles(executableFolder);
    c.userFolder = userFolder;
    return c;
}

QString shippedFilesFolder(const QString& executableFolder)
{
    const QString shared = sharedFolderBelow(executableFolder, QStringLiteral("tarvello"));
    if (QFileInfo::exists(QDir(shared).filePath(passwordFileName())))
        return shared;
    return executableFolder;
}

QString guidePath(const QString& executableFolder)
{
    const QString beside = QDir(executableFolder).filePath(QStringLiteral("Guida.pdf"));
    if (shippedFilesFolder(executableFolder) == executableFolder)
        return beside;
    return QDir(sharedFolderBelow(executableFolder, QStringLiteral("doc/tarvello")))
        .filePath(QStringLiteral("Guida.pdf"));
}

bool folderAcceptsFiles(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".tarvello-prova-XXXXXX")));
    return probe.open();
}

QString prepareDataFolder(const QString& folder, const QString& shippedFiles)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return QStringLiteral("Attenzione: «%1» non è una cartella: i dati del programma non possono essere "
                              "tenuti lì.")
            .arg(QDir::toNativeSeparators(folder));
    if (!QDir().mkpath(folder))
        return QStringLiteral("Attenzione: impossibile creare la cartella dei dati «%1». Accertarsi di "
                              "possedere i privilegi di scrittura sulla cartella che la contiene.")
            .arg(QDir::toNativeSeparators(folder));
    const QDir dir(folder);
    if (holdsProgramFiles(dir))
        return {};
    const QString target = dir.filePath(passwordFileName());
    const QString shipped = QDir(shippedFiles).filePath(passwordFileName());
    const bool written = QFileInfo::exists(shipped) && QDir::cleanPath(shipped) != QDir::cleanPath(target)
                             ? QFile::copy(shipped, target)
                             : writeInitialPasswordFile(target);
    if (!written)
        return QStringLiteral("Attenzione: impossibile scrivere il file della password iniziale «%1». "
                              "Accertarsi di possedere i privilegi di scrittura sulla cartella dei dati.")
            .arg(QDir::toNativeSeparators(target));
    // A copy of a read-only shipped file would stay read-only, and the password could never change.
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
    return {};
}

QStringList programFileNames()
{
    return {passwordFileName(), QStringLiteral("Clienti.pro"), QStringLiteral("Magazzino.pro"),
            QStringLiteral("Numerazione.ini")};
}

} // namespace tarvello
