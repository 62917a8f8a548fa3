#pragma once

// The test side of the faulty disk (faultydisk.cpp, linked into a test binary with
// add_tarvello_test(... FAULTY_DISK)).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

extern "C" {
void faultyDiskArm(const char* operation, const char* folder, int nth, int error, int every);
int faultyDiskFailures();
int faultyDiskInFront();
}

namespace faultydisk
{

enum class Operation { Open, Write, Flush, Rename };

inline const char* name(Operation op)
{
    switch (op) {
    case Operation::Open:
        return "open";
    case Operation::Write:
        return "write";
    case Operation::Flush:
        return "fdatasync";
    case Operation::Rename:
        return "rename";
    }
    return "";
}

// True when the faulty disk really stands in front of the C library: a test that finds it
// missing fails, it never passes without having failed a single call.
inline bool present()
{
    return faultyDiskInFront() != 0;
}

// From now on the nth `op` on a file under `folder` fails with `error` (and, with `every`, each
// one after it too).
inline void arm(Operation op, const QString& folder, int nth, int error, bool every = false)
{
    // A file not made yet (a journal before its first line) is named by its folder's real path.
    const QFileInfo info(folder);
    const QString real = info.exists() ? info.canonicalFilePath()
                                       : QDir(info.absolutePath()).canonicalPath() + u'/' + info.fileName();
    const QByteArray dir = QFile::encodeName(real);
    faultyDiskArm(name(op), dir.constData(), nth, error, every ? 1 : 0);
}

inline void disarm()
{
    faultyDiskArm("", "", 0, 0, 0);
}

// How many calls failed since the last arm().
inline int failures()
{
    return faultyDiskFailures();
}

} // namespace faultydisk
