#pragma once

#include <QIODevice>

#include <QString>
#include <cerrno>

namespace tarvello
{

// Writes a whole file so that the old one is replaced only by a complete new one that is on the
// disk. The bytes go to a temporary file in the same folder, every write is checked, the file
// is flushed with fdatasync, then renamed over the target and the folder synced. Any failure
// removes the temporary file and leaves the old file exactly as it was.
//
// It is a QIODevice, so a PDF writer or an image can be written straight into it. Nothing is
// buffered: a write that the disk refuses fails at once, with its reason.
class FileReplacement final : public QIODevice
{
public:
    // Replace: commit() puts the new file over the old one. NewOnly: commit() gives the complete
    // file its name only when no file has it (a hard link, which never replaces one), so two
    // programs writing the same name can never lose each other's file; nameTaken() tells so.
    enum class Mode { Replace, NewOnly };
    explicit FileReplacement(QString target, Mode mode = Mode::Replace);
    ~FileReplacement() override; // a replacement never committed removes its temporary file

    // Creates the temporary file beside the target. False when it cannot be created.
    bool open();
    // Flushes the new file to the disk and puts it in the target's place. False on any
    // failure; the old file is then untouched and the temporary file gone.
    bool commit();
    // Drops the new file; the old one stays.
    void discard();

    const QString& target() const { return m_target; }
    // Why the last step failed, in Italian, for the user ("spazio su disco esaurito").
    const QString& failureReason() const { return m_reason; }
    // The system's reason (errno) of the last failure, 0 when none.
    int failureError() const { return m_error; }
    // NewOnly: the commit failed because a file already has the name.
    bool nameTaken() const { return m_error == EEXIST && m_mode == Mode::NewOnly; }
    bool failed() const { return !m_reason.isEmpty(); }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    // Opening with a mode of one's own would skip the temporary file: open() above is the way in.
    using QIODevice::open;
    bool fail(const char* step, const QString& file, int error);
    void removeTemporary();

    QString m_target;
    Mode m_mode;
    QString m_temporary;
    QString m_reason;
    int m_error = 0;
    int m_fd = -1;
};

// The whole of `bytes` as the new contents of `path`. On failure `reason` (if given) says why.
bool replaceFileContents(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

// A copy of `source` as the new contents of `target`, replacing any old file only when the copy
// is complete and on the disk.
bool copyFileReplacing(const QString& source, const QString& target, QString* reason = nullptr);

// Makes the files made, renamed or removed in `folder` stay so after a power cut. Answers errno, or
// 0 when done or when the file system cannot sync a folder (some network shares).
int syncFolder(const QString& folder);

// A reason of the system (errno) as the user reads it, in Italian.
QString systemReason(int error);

} // namespace tarvello
