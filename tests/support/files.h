#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The small file chores of tests: preparing a file byte for byte, reading one back whole, seeing
// what a folder holds. QtCore only, so GoogleTest and Qt Test programs alike use them.

// The file's whole contents; `whenUnreadable` when it is missing or cannot be read, so that a test
// can tell a file that is gone from one that is empty.
QByteArray fileBytes(const QString& path, const QByteArray& whenUnreadable = {});

// No file holds this: fileBytes(path, kMissingFile) tells a missing file from an empty one.
inline const QByteArray kMissingFile = QByteArrayLiteral("<missing>");

// The `index`th record (from 0) of an archive of `recordSize`-byte records: fewer bytes, or none,
// where the file ends before it.
QByteArray recordBytes(const QString& path, qint64 index, int recordSize);

// Makes the file hold exactly `bytes`, making its folder first when that is missing. False, with
// a warning naming the file and the reason, when it cannot: a test checks it.
[[nodiscard]] bool writeFile(const QString& path, const QByteArray& bytes = {});

// Makes the file hold `records` one after another, as an archive of fixed-size records does.
[[nodiscard]] bool writeArchive(const QString& path, const QList<QByteArray>& records);

// Copies `from` to `to`, replacing a file there.
[[nodiscard]] bool copyFile(const QString& from, const QString& to);

// Adds `bytes` at the end of the file, making it when missing.
[[nodiscard]] bool appendToFile(const QString& path, const QByteArray& bytes);

// The names of the files in `folder`, hidden ones included (a temporary file left behind shows),
// in the order of their names.
QStringList filesIn(const QString& folder);

// Another program's hold on a file, for as long as the object lives or until release(): the file
// open, with a lock on all of it, shared for a program that reads it, exclusive for one that has
// it open to write (a spreadsheet program holds its document so). Made with the system's calls
// directly, not with the program's own lock, so that it stands for any other program.
class HeldFile
{
public:
    enum class Hold { Reading, Writing };
    HeldFile(const QString& path, Hold hold);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // Whether the file could be opened and locked: a test checks it first.
    bool held() const { return m_held; }
    // Closes the file, which lets the lock go.
    void release();

private:
    int m_fd = -1;
    bool m_held = false;
};

// A lock on a whole file held by another program (a process of its own), for as long as the
// object lives; stop() freezes that program as a debugger or a hung workstation would, with the
// lock still held. The file (and its folder) is made when missing.
class LockedElsewhere
{
public:
    explicit LockedElsewhere(const QString& path);
    ~LockedElsewhere();
    LockedElsewhere(const LockedElsewhere&) = delete;
    LockedElsewhere& operator=(const LockedElsewhere&) = delete;

    // Whether the other program holds the lock: a test checks it first.
    bool held() const { return m_held; }
    bool stop();

private:
    struct Process;
    Process* m_process;
    bool m_held = false;
    bool m_stopped = false;
};
