#include "framework/files.h"

#include "framework/internal/new_file.h"
#include "framework/internal/text_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

namespace fw {
namespace {

constexpr std::size_t kCompareChunk = 64u << 10;

// "<path>.<why>" for the first number, "<path>.<why>-<number>" after it.
std::string NameBeside(const std::string& path, std::string_view why, unsigned long number) {
    std::string name = path + '.' + std::string(why);
    if (number > 1) {
        name += '-' + std::to_string(number);
    }
    return name;
}

// Tries the free names beside `target` in turn with `take`, which gives 0,
// EEXIST when the name is taken at the moment it acts (so no item made
// meanwhile is lost), or another errno, which ends the search (as names that
// grow too long do). 0 with the name in `kept`, or that errno.
int TakeAFreeName(const std::string& target, std::string_view why, std::string& kept,
                  const std::function<int(const std::string&)>& take) {
    for (unsigned long number = 1;; ++number) {
        const std::string name = NameBeside(target, why, number);
        const int error = take(name);
        if (error == 0) {
            kept = name;
        }
        if (error != EEXIST) {
            return error;
        }
    }
}

// Where the file system cannot link, the bytes are copied: first to a new
// file, so that a copy cut short is a leftover that RemoveLeftoverWrites
// removes and never passes for a kept file; then, once whole and on disk,
// under the free name, where it takes the file's mode. A file that cannot
// even be read is moved beside itself.
int CopyBeside(const std::string& target, std::string_view why, std::string& kept) {
    const int source =
        ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
    if (source < 0) {
        const int error = errno;
        if (error != EACCES) {
            return error;
        }
        return TakeAFreeName(target, why, kept, [&target](const std::string& name) {
            return internal::MoveWithoutReplacing(target, name);
        });
    }
    struct stat info {};
    internal::NewFile copy;
    int error = ::fstat(source, &info) != 0 ? errno : S_ISREG(info.st_mode) ? 0 : EINVAL;
    if (error == 0) {
        error = copy.Create(target, S_IRUSR | S_IWUSR, /*nameless=*/false);
    }
    if (error == 0 && (!internal::CopyAll(source, copy.Fd()) || ::fsync(copy.Fd()) != 0)) {
        error = errno;
    }
    ::close(source);
    if (error == 0) {
        error = TakeAFreeName(target, why, kept, [&copy](const std::string& name) {
            return internal::MoveWithoutReplacing(copy.Name(), name);
        });
    }
    if (error == 0) {
        copy.LetGoOfName();
        ::fchmod(copy.Fd(), info.st_mode & 0777);
    }
    return error;
}

// Whether the two open files hold the same bytes, `size` of them.
bool SameBytes(int a, int b, off_t size) {
    std::vector<char> chunkA(kCompareChunk);
    std::vector<char> chunkB(kCompareChunk);
    for (off_t offset = 0; offset < size;) {
        const ssize_t countA = ::pread(a, chunkA.data(), chunkA.size(), offset);
        const ssize_t countB = ::pread(b, chunkB.data(), chunkB.size(), offset);
        if (countA <= 0 || countA != countB ||
            std::memcmp(chunkA.data(), chunkB.data(), static_cast<std::size_t>(countA)) != 0) {
            return false;
        }
        offset += countA;
    }
    return true;
}

// Whether the regular file `kept` already holds the bytes of `file`: it is
// the very file (a link a killed close made) or, where the file system cannot
// link, a copy of the same bytes.
bool HoldsTheFile(const std::string& file, const struct stat& fileInfo, const std::string& kept,
                  const struct stat& keptInfo) {
    if (keptInfo.st_dev == fileInfo.st_dev && keptInfo.st_ino == fileInfo.st_ino) {
        return true;
    }
    if (keptInfo.st_size != fileInfo.st_size) {
        return false;
    }
    constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW;
    const int a = ::open(file.c_str(), kFlags);
    const int b = ::open(kept.c_str(), kFlags);
    const bool same = a >= 0 && b >= 0 && SameBytes(a, b, fileInfo.st_size);
    for (const int fd : {a, b}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    return same;
}

// The names beside `target` in the order KeepBeside takes them, up to the
// first that already keeps the file `info` describes (`keptAlready`), or
// else the first free one. A close killed after keeping and before saving
// leaves the file in place, and the next close must not keep it again. A
// name whose look fails for any reason (not only because it is free) ends
// the walk: the attempt to make it then reports that reason, where going on
// would look in vain without end.
std::string NameToKeepAs(const std::string& target, const struct stat& info, std::string_view why,
                         bool& keptAlready) {
    for (unsigned long number = 1;; ++number) {
        std::string name = NameBeside(target, why, number);
        struct stat found {};
        if (::lstat(name.c_str(), &found) != 0) {
            keptAlready = false;
            return name;
        }
        if (S_ISREG(info.st_mode) && S_ISREG(found.st_mode) &&
            HoldsTheFile(target, info, name, found)) {
            keptAlready = true;
            return name;
        }
    }
}

} // namespace

Ref<FolderItem> FolderItem::KeptNameBeside(std::string_view why) const {
    // The items beside the file belong to it, not to a link.
    const std::string target = internal::FileAt(path_);
    struct stat info {};
    ::stat(target.c_str(), &info); // a file that cannot be looked at is kept by none
    bool keptAlready = false;
    return New<FolderItem>(NameToKeepAs(target, info, why, keptAlready));
}

// The file is kept beside the file the path finally names, so that a link at
// the path stays a link. A hard link keeps it without reading it and leaves
// it in place.
Ref<FolderItem> FolderItem::KeepBeside(std::string_view why) const {
    lastError_.clear();
    std::string error;
    const std::string target = internal::FinalTarget(path_, error);
    struct stat info {};
    if (target.empty() || ::stat(target.c_str(), &info) != 0) {
        lastError_ = target.empty() ? error : std::strerror(errno);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        lastError_ = internal::NotRegularText(info);
        return nullptr;
    }
    bool keptAlready = false;
    if (std::string name = NameToKeepAs(target, info, why, keptAlready); keptAlready) {
        return New<FolderItem>(std::move(name));
    }
    std::string kept;
    int code = TakeAFreeName(target, why, kept, [&target](const std::string& name) {
        const int linked = ::link(target.c_str(), name.c_str());
        return linked == 0 ? 0 : errno;
    });
    if (internal::LinkingImpossible(code)) {
        code = CopyBeside(target, why, kept);
    }
    if (code != 0) {
        lastError_ = std::strerror(code);
        return nullptr;
    }
    internal::SyncFolderOf(target);
    return New<FolderItem>(kept);
}

} // namespace fw
