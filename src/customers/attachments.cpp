#include "attachments.h"

#include "core/filereplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarvello::Attachments
{

QString folderPath(const QString& programFolder)
{
    return QDir(programFolder).filePath(folderName());
}

QString filePath(const QString& programFolder, const QString& name)
{
    return QDir(folderPath(programFolder)).filePath(name);
}

Outcome attach(const QString& source, const QString& programFolder,
               const std::function<bool()>& confirmOverwrite)
{
    const QFileInfo chosen(source);
    const QString folder = folderPath(programFolder);
    if (!QDir().mkpath(folder))
        return Outcome::FolderFailed;
    if (!chosen.isFile())
        return Outcome::CopyFailed;
    const QString target = QDir(folder).filePath(chosen.fileName());
    const QFileInfo existing(target);
    if (existing.exists()) {
        // Copying a file of the folder onto itself would leave nothing to copy from.
        if (chosen.canonicalFilePath() == existing.canonicalFilePath())
            return Outcome::AlreadyThere;
        if (!confirmOverwrite())
            return Outcome::KeptExisting;
        // A file marked read-only is one the user meant to keep as it is.
        if (!existing.isFile() || !existing.isWritable())
            return Outcome::CopyFailed;
    }
    return copyFileReplacing(source, target) ? Outcome::Copied : Outcome::CopyFailed;
}

QString overwriteQuestion()
{
    return QStringLiteral(
        "Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso "
        "nome.\r\n\r\nSi vuole sovrascrivere il file esistente?");
}

QString failureMessage(Outcome outcome)
{
    switch (outcome) {
    case Outcome::FolderFailed:
        return QStringLiteral(
            "Attenzione: non è stato possibile creare la cartella dei documenti allegati, "
            "quindi il file non è stato allegato.\r\n\r\nAccertarsi di possedere i privilegi di "
            "scrittura nella cartella di installazione del programma.");
    case Outcome::CopyFailed:
        return QStringLiteral(
            "Attenzione: non è stato possibile copiare il file nella cartella dei documenti "
            "allegati, quindi il file non è stato allegato.\r\n\r\nAccertarsi che il file sia "
            "leggibile e di possedere i privilegi di scrittura nella cartella dei documenti "
            "allegati.");
    default:
        return {};
    }
}

} // namespace tarvello::Attachments
