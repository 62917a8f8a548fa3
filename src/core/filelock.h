#pragma once

#include <QtGlobal>

#include <optional>

namespace tarvello
{

// A lock on a byte range of an open file, shared or exclusive, between programs on this machine
// and on shared folders.
//
// It is an open-file-description lock: it belongs to the descriptor it was taken through, so it
// excludes other descriptors of the same file in this process too, and closing another descriptor
// of the file never lets it go (a classic POSIX lock would vanish then). It goes when unlock() is
// called, when the object ends, or when the descriptor is closed; the descriptor stays the
// caller's, and must stay open for as long as the object lives.
//
// A failure other than "another holds it" leaves errno set, for the caller's log line.
class FileLock
{
public:
    enum class Kind { Shared, Exclusive };
    enum class Outcome {
        Granted, // held now, of the kind asked for
        Busy,    // another descriptor holds a lock that conflicts (after the wait, if any)
        Failed,  // the system refused for another reason: errno says which
    };

    // `length` 0: from `start` to the end of the file, however far it grows.
    FileLock(int fd, qint64 start, qint64 length);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Asks once. Taking the other kind on a range this object holds changes the kind.
    Outcome tryLock(Kind kind);
    // Waits for as long as another holds a conflicting lock.
    Outcome lock(Kind kind);
    // Asks again every few milliseconds until `waitMs` have passed; 0 asks once.
    Outcome lockWithin(Kind kind, int waitMs);
    // Lets the range go; true when nothing is held any more.
    bool unlock();
    bool isLocked() const { return m_held; }

    // Whether another descriptor holds a lock that a lock of `kind` would have to wait for;
    // nothing when the system cannot say (errno says why). Takes nothing.
    std::optional<bool> heldElsewhere(Kind kind) const;

private:
    Outcome set(Kind kind, bool wait);
    int m_fd;
    qint64 m_start;
    qint64 m_length;
    bool m_held = false;
};

} // namespace tarvello
