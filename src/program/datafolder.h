#pragma once

#include <QString>
#include <QStringList>

namespace tarvello
{

// Where the program keeps its data, and where it finds the files it is shipped with.
//
// A portable folder holds the executable, the guide, the initial password file and the schema side
// by side, and the data lives there too, so copying the folder backs everything up. Installed
// system-wide the executable lies in bin/ and the shipped files under share/tarvello (the guide
// under share/doc/tarvello): nobody's data belongs there, so each user keeps it in the per-user
// data folder. A folder named on the command line wins over both.

// What the choice of the data folder depends on.
struct FolderCandidates {
    QString named;         // named on the command line; empty when none was
    QString programFolder; // the executable's folder
    bool programFolderWritable = false;
    bool installedSystemWide = false; // the shipped files lie under ../share/tarvello
    QString userFolder;               // the per-user data folder
};

enum class DataFolderKind { Named, Program, User };

struct DataFolder {
    QString path;
    DataFolderKind kind = DataFolderKind::Program;
};

DataFolder chooseDataFolder(const FolderCandidates& candidates);

// The candidates of the executable in `executableFolder`, looking at the disk.
FolderCandidates folderCandidates(const QString& executableFolder, const QString& named,
                                  const QString& userFolder);

// The folder of the files the program is shipped with (the schema of the electronic invoice, the
// initial password file).
QString shippedFilesFolder(const QString& executableFolder);
// Where the user guide lies.
QString guidePath(const QString& executableFolder);

// Whether a new file can be created in `folder` (tried, not guessed from permissions, which root
// ignores).
bool folderAcceptsFiles(const QString& folder);

// Makes `folder` ready for a first start: creates it when missing and, when it holds none of the
// program's files yet, puts the initial password file in it (the shipped one when there is one).
// A folder already in use is left as it is. Gives an Italian message on failure, empty on success.
QString prepareDataFolder(const QString& folder, const QString& shippedFiles);

// The files whose presence says a folder is already the data folder of a program.
QStringList programFileNames();

} // namespace tarvello
