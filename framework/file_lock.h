#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace fw {

// A lock that copies of the program running at the same time take around
// the read and rewrite of a file they share. It is a file of its own beside
// the shared one, held with flock(2):
// - The kernel lets go of a flock when its holder dies, so only a live copy
//   ever holds the lock; a lock file nobody holds (left by a crash, empty,
//   unreadable) is taken over at once, whatever it says inside.
// - QLockFile takes the same flock on its lock files, so an older copy that
//   still uses it keeps its lock.
// - Anything at the lock path that is not a regular file (a link, a pipe, a
//   device, an empty folder) is removed and never opened or followed, so it
//   cannot make a copy hang, wait or write elsewhere. A folder with something
//   in it is left alone and the lock fails at once, saying so.
// - The holder removes the lock file before it lets go; a copy that took the
//   flock on a file removed meanwhile sees that and tries again.
class FileLock {
public:
    // The lock for the file at `path`; the lock file is `path` + ".lock".
    explicit FileLock(const std::string& path);
    ~FileLock(); // lets go of a lock still held
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits at most `wait` for another copy to let go; false when it did not,
    // or at once when the lock file cannot be made (ErrorText says why).
    // True at once when this lock is held already.
    bool TryLock(std::chrono::milliseconds wait);
    // Removes the lock file and lets go; does nothing when not held.
    void Unlock();
    // Why the last TryLock failed; empty after one that succeeded.
    std::string ErrorText() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace fw
