#include "attachments.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

namespace
{

bool copyContents(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(block.data(), block.size());
        if (got < 0) {
            out.cancelWriting();
            return false;
        }
        if (got == 0)
            break;
        if (out.write(block.constData(), got) != got) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

} // namespace

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
    return copyContents(source, target) ? Outcome::Copied : Outcome::CopyFailed;
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
