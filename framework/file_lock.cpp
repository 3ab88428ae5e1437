#include "framework/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace fw {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kRetryPause(15);
// Keeps the deadline arithmetic in range whatever the caller asks for.
constexpr std::chrono::milliseconds kLongestWait = std::chrono::hours(24 * 365);
// A path that keeps changing under us is given a few more tries once the wait
// is over, so that even a lock taken without waiting survives one change.
constexpr int kChangesPastDeadline = 3;

const char kHeldElsewhere[] = "another copy of the program holds the lock";

std::string Reason(int error) {
    return std::generic_category().message(error);
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

const char* KindOf(mode_t mode) {
    if (S_ISLNK(mode)) {
        return "a link";
    }
    if (S_ISFIFO(mode)) {
        return "a pipe";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    return "not a file";
}

enum class Attempt { Taken, HeldElsewhere, PathChanged, Failed };

} // namespace

struct FileLock::Impl {
    explicit Impl(const std::string& path)
        : path(path + ".lock")
        , name(this->path.substr(this->path.find_last_of('/') + 1)) {}

    Attempt Fail(std::string text) {
        error = std::move(text);
        return Attempt::Failed;
    }

    // Removes what stands at the lock path and is not a regular file: no copy
    // of ours made it, and opening it could hang (a pipe) or reach elsewhere.
    // False, with the reason in `error`, when it cannot.
    bool ClearPath() {
        struct stat found {};
        if (lstat(path.c_str(), &found) != 0) {
            const int cause = errno;
            return cause == ENOENT || Refuse(name + " cannot be looked at: " + Reason(cause));
        }
        if (S_ISREG(found.st_mode)) {
            return true;
        }
        const bool isFolder = S_ISDIR(found.st_mode);
        if ((isFolder ? rmdir(path.c_str()) : unlink(path.c_str())) == 0 || errno == ENOENT) {
            return true;
        }
        const int cause = errno;
        if (isFolder && (cause == ENOTEMPTY || cause == EEXIST)) {
            return Refuse(name + " is a folder with something in it");
        }
        return Refuse(name + " is " + (isFolder ? "a folder" : KindOf(found.st_mode)) +
                      " that cannot be removed: " + Reason(cause));
    }

    bool Refuse(std::string text) {
        error = std::move(text);
        return false;
    }

    Attempt TryOnce() {
        if (!ClearPath()) {
            return Attempt::Failed;
        }
        // Whatever appears between the look and the open is neither followed
        // nor waited on.
        const int file = open(
            path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
        if (file < 0) {
            const int cause = errno;
            if (cause == ELOOP || cause == EISDIR || cause == ENXIO || cause == EINTR) {
                return Attempt::PathChanged;
            }
            // flock needs an open file, so a lock file we may not open is of
            // no use to anyone.
            if (cause == EACCES && unlink(path.c_str()) == 0) {
                return Attempt::PathChanged;
            }
            return Fail(name + " cannot be made: " + Reason(cause));
        }
        struct stat held {};
        if (fstat(file, &held) != 0 || !S_ISREG(held.st_mode)) {
            close(file);
            return Attempt::PathChanged;
        }
        if (flock(file, LOCK_EX | LOCK_NB) != 0) {
            const int cause = errno;
            close(file);
            if (cause == EWOULDBLOCK) {
                return Attempt::HeldElsewhere;
            }
            if (cause == EINTR) {
                return Attempt::PathChanged;
            }
            return Fail(name + " cannot be locked: " + Reason(cause));
        }
        // A holder removes the file before it lets go; the flock we got may
        // be on a file that is no longer the lock.
        struct stat named {};
        if (lstat(path.c_str(), &named) != 0 || !SameFile(named, held)) {
            close(file);
            return Attempt::PathChanged;
        }
        // For whoever looks; nothing reads it back.
        const std::string pid = std::to_string(getpid()) + "\n";
        if (ftruncate(file, 0) == 0) {
            [[maybe_unused]] const ssize_t written = write(file, pid.data(), pid.size());
        }
        fd = file;
        return Attempt::Taken;
    }

    const std::string path; // the lock file
    const std::string name; // its name alone, for messages
    int fd = -1;            // open and flocked while held
    std::string error;
};

FileLock::FileLock(const std::string& path)
    : impl_(std::make_unique<Impl>(path)) {}

FileLock::~FileLock() {
    Unlock();
}

bool FileLock::TryLock(std::chrono::milliseconds wait) {
    Impl& lock = *impl_;
    if (lock.fd >= 0) {
        return true;
    }
    lock.error.clear();
    const Clock::time_point deadline = Clock::now() + std::clamp(wait, {}, kLongestWait);
    int changesPastDeadline = 0;
    for (;;) {
        switch (lock.TryOnce()) {
        case Attempt::Taken:
            return true;
        case Attempt::Failed:
            return false;
        case Attempt::HeldElsewhere: {
            const Clock::duration left = deadline - Clock::now();
            if (left <= Clock::duration::zero()) {
                lock.error = kHeldElsewhere;
                return false;
            }
            std::this_thread::sleep_for(std::min<Clock::duration>(left, kRetryPause));
            break;
        }
        case Attempt::PathChanged:
            if (Clock::now() >= deadline && ++changesPastDeadline > kChangesPastDeadline) {
                lock.error = lock.name + " keeps changing while it is being taken";
                return false;
            }
            break;
        }
    }
}

void FileLock::Unlock() {
    Impl& lock = *impl_;
    if (lock.fd < 0) {
        return;
    }
    // Removed while still held: a copy that then gets the flock on this file
    // sees it is gone and starts over, and a file made anew by another copy
    // is never removed.
    struct stat held {};
    struct stat named {};
    if (fstat(lock.fd, &held) == 0 && lstat(lock.path.c_str(), &named) == 0 &&
        SameFile(held, named)) {
        unlink(lock.path.c_str());
    }
    close(lock.fd);
    lock.fd = -1;
}

std::string FileLock::ErrorText() const {
    return impl_->error;
}

} // namespace fw
