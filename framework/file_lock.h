#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace fw {

// A lock that copies of the program running at the same time take around
// the read and rewrite of a file they share. It is a file of its own beside
// the shared one; a lock left behind by a copy that ended without letting go
// (a crash) is taken over.
class FileLock {
public:
    // The lock for the file at `path`; the lock file is `path` + ".lock".
    explicit FileLock(const std::string& path);
    ~FileLock(); // lets go of a lock still held
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits at most `wait` for another copy to let go; false when it did not,
    // or when the lock file cannot be made (ErrorText says why).
    bool TryLock(std::chrono::milliseconds wait);
    void Unlock();
    std::string ErrorText() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace fw
