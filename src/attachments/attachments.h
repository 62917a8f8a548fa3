#pragma once

#include <QString>

#include <functional>

namespace tarvello::Attachments
{

// Attached files live, under their own names, in one folder beside the archives; a card keeps
// only the bare names. Nothing here ever deletes or moves a file of that folder.

inline QString folderName()
{
    return QStringLiteral("Documenti_Allegati");
}
// The attachments folder of the program in `programFolder`.
QString folderPath(const QString& programFolder);
// The full path of the attached file `name`.
QString filePath(const QString& programFolder, const QString& name);

enum class Outcome {
    Copied,       // the file is now in the folder
    KeptExisting, // a file of that name was there and the user chose to keep it
    AlreadyThere, // the chosen file is the folder's own file: nothing to copy
    FolderFailed, // the folder could not be created
    CopyFailed,   // the file could not be read or written; the folder's file is as it was
};

// The slot takes the new name for these outcomes and keeps its old one for the others.
inline bool slotTakesName(Outcome o)
{
    return o == Outcome::Copied || o == Outcome::KeptExisting || o == Outcome::AlreadyThere;
}

// Copies `source` into the attachments folder under its own name, creating the folder when it
// is missing. When a different file of that name is already there, `confirmOverwrite` is asked
// first; false keeps the folder's file. The copy goes through a temporary file that replaces
// the old one only once complete, so a failed copy never spoils a file other cards name.
// The copy is named `storableName()` of the source's name; `storedName` receives that name.
Outcome attach(const QString& source, const QString& programFolder,
               const std::function<bool()>& confirmOverwrite, QString* storedName = nullptr);

// How many characters a card keeps of an attachment's name.
inline constexpr int nameCapacity = 250;

// A name the card can keep whole and that names the same file when read back: each character
// the card's code page cannot hold (and each control character, backslash and colon) becomes
// "_", and a name too long is cut before its extension, which stays. A file name chosen here is
// always one that isSafeStoredName() accepts.
QString storableName(const QString& fileName);

// A name read from a card names a file inside the attachments folder, nothing else: a name with
// a path separator, "." or "..", a scheme ("http:", "C:") or a control character is refused, so
// a record from a shared folder cannot make this workstation open any other file.
bool isSafeStoredName(QStringView name);

// What the user is told when a file was attached under another name; when it cannot be opened.
QString renamedMessage(const QString& storedName);
QString unsafeNameMessage(const QString& name);

// The question asked before a file of the folder is replaced.
QString overwriteQuestion();
// The warning for a failed outcome (empty for the others).
QString failureMessage(Outcome outcome);

} // namespace tarvello::Attachments
