#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace fw {

// A lock that copies of the program running at the same time take around
// the read and rewrite of a file they share. It is a file of its own beside
// the file that the shared path finally names (links followed), so that
// copies reaching one file through different links take one lock, and it is
// held with flock(2):
// - The kernel lets go of a flock when its holder dies, so only a live copy
//   ever holds the lock; a lock file nobody holds (left by a crash, empty,
//   read-only) is taken over at once, whatever it says inside.
// - flock needs the file open for reading only, so a lock file left by a copy
//   run under another account is taken like any other. One this copy may not
//   open at all counts as held, as its holder may be alive: it is waited on
//   and never removed, since only a holder removes its lock file.
// - Nothing is ever written into a lock file, and only one this copy just
//   made has its permissions set (readable by all, whatever the umask), so a
//   lock path hard-linked to another file leaves that file as it was.
// - QLockFile takes the same flock on its lock files, so an older copy that
//   still uses it keeps its lock.
// - Anything at the lock path that is not a regular file (a link, a pipe, a
//   device, an empty folder) is removed and never opened or followed, so it
//   cannot make a copy hang, wait or write elsewhere. A folder with something
//   in it is left alone and the lock fails at once, saying so.
// - The holder removes the lock file before it lets go; a copy that took the
//   flock on a file removed meanwhile sees that and tries again. A lock file
//   that holds bytes was not made by a lock, which writes none: it serves as
//   the lock, and stays.
class FileLock {
public:
    // The lock for the file at `path`: the lock file is the file that `path`
    // finally names + ".lock", or `path` + ".lock" for a chain of links
    // without end.
    explicit FileLock(const std::string& path);
    ~FileLock(); // lets go of a lock still held
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits at most `wait` for the holder to let go, or for a lock file this
    // copy may not open to become one it may; false when neither happened,
    // or at once when the lock file cannot be made (ErrorText says why).
    // True at once when this lock is held already.
    bool TryLock(std::chrono::milliseconds wait);
    // Removes the lock file, unless it holds bytes, and lets go; does nothing
    // when not held.
    void Unlock();
    // Why the last TryLock failed; empty after one that succeeded.
    std::string ErrorText() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace fw
