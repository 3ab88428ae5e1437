#include "framework/file_lock.h"

#include <QLockFile>
#include <QString>

namespace fw {

struct FileLock::Impl {
    explicit Impl(const QString& path)
        : lock(path) {}
    QLockFile lock;
};

FileLock::FileLock(const std::string& path)
    : impl_(std::make_unique<Impl>(QString::fromStdString(path + ".lock"))) {}

FileLock::~FileLock() = default; // QLockFile lets go when it goes

bool FileLock::TryLock(std::chrono::milliseconds wait) {
    return impl_->lock.tryLock(static_cast<int>(wait.count()));
}

void FileLock::Unlock() {
    impl_->lock.unlock();
}

std::string FileLock::ErrorText() const {
    switch (impl_->lock.error()) {
    case QLockFile::NoError:
        return {};
    case QLockFile::LockFailedError:
        return "another copy of the program holds the lock";
    case QLockFile::PermissionError:
        return "the lock file cannot be made in that folder";
    case QLockFile::UnknownError:
        break;
    }
    return "the lock file cannot be made";
}

} // namespace fw
