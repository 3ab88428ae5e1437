#include "framework/file_lock.h"

#include "framework/internal/text_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
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

// The holder may be any program that takes a flock on the file, so it is not
// named as a copy of this one.
const char kHeldElsewhere[] = "another program holds the lock";

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

// The lock stands beside the file that `path` finally names, so that copies
// reaching one file through different links take one lock.
std::string LockPathFor(const std::string& path) {
    return internal::FileAt(path) + ".lock";
}

// Messages name the lock file alone when it stands beside the path the caller
// gave, and in full when it stands in another folder.
std::string LockNameFor(const std::string& path, const std::string& lockPath) {
    return internal::FolderOf(lockPath) == internal::FolderOf(path)
               ? std::filesystem::path(lockPath).filename().string()
               : lockPath;
}

// Whether a failed open means that something else took the path's place
// between the look and the open, so that the attempt is worth repeating.
bool PathChangedUnder(int error) {
    return error == ELOOP || error == EISDIR || error == ENXIO || error == EINTR;
}

enum class Attempt { Taken, HeldElsewhere, PathChanged, Failed };

} // namespace

struct FileLock::Impl {
    explicit Impl(const std::string& path)
        : path(LockPathFor(path))
        , name(LockNameFor(path, this->path)) {}

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

    // Opens the lock file for reading, which is all flock needs, making it
    // when it is missing. -1 with the attempt's outcome in `outcome` when it
    // cannot be opened.
    int Open(Attempt& outcome) {
        // Whatever appears between the look and the open is neither followed
        // nor waited on.
        constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
        const int made = open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0644);
        if (made >= 0) {
            // Under a strict umask the file would shut out copies run under
            // other accounts; it is ours alone to set, as we just made it.
            fchmod(made, 0644);
            return made;
        }
        if (errno != EEXIST) {
            const int cause = errno;
            outcome = PathChangedUnder(cause) ? Attempt::PathChanged
                                              : Fail(name + " cannot be made: " + Reason(cause));
            return -1;
        }
        const int found = open(path.c_str(), kFlags);
        if (found >= 0) {
            return found;
        }
        const int cause = errno;
        if (PathChangedUnder(cause) || cause == ENOENT) { // ENOENT: removed meanwhile
            outcome = Attempt::PathChanged;
        } else if (cause == EACCES || cause == EPERM) {
            // Its holder, perhaps a copy run under another account, may be
            // alive; only a holder removes its lock file, so this one is
            // waited on as held.
            error = name + " cannot be opened: " + Reason(cause);
            outcome = Attempt::HeldElsewhere;
        } else {
            outcome = Fail(name + " cannot be opened: " + Reason(cause));
        }
        return -1;
    }

    Attempt TryOnce() {
        if (!ClearPath()) {
            return Attempt::Failed;
        }
        Attempt outcome = Attempt::Failed;
        const int file = Open(outcome);
        if (file < 0) {
            return outcome;
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
                error = kHeldElsewhere;
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
        // Nothing is written into the file: it may be another's, linked here.
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
            lock.error.clear();
            return true;
        case Attempt::Failed:
            return false;
        case Attempt::HeldElsewhere: {
            const Clock::duration left = deadline - Clock::now();
            if (left <= Clock::duration::zero()) {
                return false; // with what held it in `error`
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
    // is never removed. No lock writes a byte into its file, so one that
    // holds bytes is the user's, which served as the lock and stays.
    struct stat held {};
    struct stat named {};
    if (fstat(lock.fd, &held) == 0 && held.st_size == 0 && lstat(lock.path.c_str(), &named) == 0 &&
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
