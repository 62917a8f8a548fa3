#include "attachments.h"
#include "attachmentslog.h"
#include "core/corelog.h"

#include "core/filereplace.h"
#include "core/win1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace tarvello::Attachments
{

QString folderPath(const QString& programFolder)
{
    return QDir(programFolder).filePath(folderName());
}

QString filePath(const QString& programFolder, const QString& name)
{
    // Joined by hand: QDir would take a name that starts with ":" for one of the program's own
    // resources, not for a file of the folder.
    return folderPath(programFolder) + u'/' + name;
}

QString storableName(const QString& fileName)
{
    QString out;
    out.reserve(fileName.size());
    const QList<uint> characters = fileName.toUcs4();
    for (uint c : characters) {
        const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
        // Held only when it comes back as itself: "ź" is stored as "z", which names another file.
        const bool held =
            !control && fromWin1252(static_cast<unsigned char>(toWin1252(char32_t(c)))).unicode() == c;
        // A backslash separates folders where the folder is shared from Windows, and a colon
        // there names a stream of a file; here "nota:2024.pdf" would read back as an address.
        out += held && c != u'\\' && c != u':' ? QString(QChar(char16_t(c))) : QStringLiteral("_");
    }
    if (out.size() > nameCapacity) {
        const qsizetype dot = out.lastIndexOf(u'.');
        const QString extension = dot > 0 && out.size() - dot <= 16 ? out.mid(dot) : QString();
        out = out.left(nameCapacity - extension.size()) + extension;
    }
    return out;
}

bool isSafeStoredName(QStringView name)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') || name.contains(u'\\'))
        return false;
    // No name the card stores holds a control character (storableName), and one that does would
    // name another file than the one shown: the system reads a path only up to a zero.
    for (QChar c : name)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            return false;
    // A scheme: a letter, then letters, digits, "+", "-" or ".", then a colon.
    const qsizetype colon = name.indexOf(u':');
    if (colon > 0) {
        bool scheme = name.at(0).isLetter();
        for (qsizetype i = 1; scheme && i < colon; ++i) {
            const QChar c = name.at(i);
            scheme = c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.';
        }
        if (scheme)
            return false;
    }
    return true;
}

QString renamedMessage(const QString& storedName)
{
    return QStringLiteral("Il nome del file contiene caratteri che la scheda non può conservare oppure è "
                          "troppo lungo: il file è stato allegato con il nome \"%1\".")
        .arg(storedName);
}

QString unsafeNameMessage(const QString& name)
{
    return QStringLiteral("Attenzione: il nome \"%1\" non indica un file della cartella dei documenti "
                          "allegati, quindi non viene aperto.")
        .arg(name);
}

Outcome attach(const QString& source, const QString& programFolder,
               const std::function<bool()>& confirmOverwrite, QString* storedName)
{
    const QFileInfo chosen(source);
    const QString name = storableName(chosen.fileName());
    if (storedName)
        *storedName = name;
    const QString folder = folderPath(programFolder);
    if (!QDir().mkpath(folder)) {
        // mkpath keeps the system's reason to itself: one more try at the last step tells it.
        const int why = ::mkdir(QFile::encodeName(folder).constData(), 0777) == 0 ? 0 : errno;
        qCWarning(lcAttachments) << "The attachments folder" << folder
                                 << "cannot be made:" << systemErrorText(why);
        return Outcome::FolderFailed;
    }
    if (!chosen.isFile()) {
        qCWarning(lcAttachments) << "The file" << source << "cannot be attached: it is not a readable file";
        return Outcome::CopyFailed;
    }
    const QString target = filePath(programFolder, name);
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
    if (!copyFileReplacing(source, target)) {
        qCWarning(lcAttachments) << "The file" << source << "cannot be copied to" << target;
        return Outcome::CopyFailed;
    }
    return Outcome::Copied;
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
