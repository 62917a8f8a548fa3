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
Outcome attach(const QString& source, const QString& programFolder,
               const std::function<bool()>& confirmOverwrite);

// The question asked before a file of the folder is replaced.
QString overwriteQuestion();
// The warning for a failed outcome (empty for the others).
QString failureMessage(Outcome outcome);

} // namespace tarvello::Attachments
