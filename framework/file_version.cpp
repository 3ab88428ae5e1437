#include "framework/internal/text_files.h"

#include <unistd.h>

namespace fw {

FileVersion::Impl::Impl(const struct stat& info, int fd)
    : device(info.st_dev)
    , inode(info.st_ino)
    , size(info.st_size)
    , modifiedNs(static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 +
                 info.st_mtim.tv_nsec)
    , fd(fd) {}

FileVersion::Impl::~Impl() {
    if (fd >= 0) {
        ::close(fd);
    }
}

FileVersion::FileVersion() = default;

FileVersion::FileVersion(std::shared_ptr<const Impl> impl)
    : impl_(std::move(impl)) {}

bool FileVersion::Exists() const {
    return impl_ != nullptr;
}

// The change time is left out on purpose: linking a file (as keeping it
// aside does) changes it without changing the file.
bool operator==(const FileVersion& a, const FileVersion& b) {
    if (!a.Exists() || !b.Exists()) {
        return a.Exists() == b.Exists();
    }
    const FileVersion::Impl& x = *a.impl_;
    const FileVersion::Impl& y = *b.impl_;
    return x.device == y.device && x.inode == y.inode && x.size == y.size &&
           x.modifiedNs == y.modifiedNs;
}

namespace internal {

FileVersion VersionOf(const struct stat& info, int fd) {
    return FileVersion(std::make_shared<const FileVersion::Impl>(info, fd));
}

bool IsVersion(const struct stat& info, const FileVersion& version) {
    return version == VersionOf(info);
}

const char* NotRegularText(const struct stat& info) {
    return S_ISDIR(info.st_mode) ? "is a folder" : "not a regular file";
}

} // namespace internal
} // namespace fw
