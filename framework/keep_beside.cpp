#include "framework/files.h"

#include "framework/internal/text_files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace fw {
namespace {

// "<path>.<why>" for the first number, "<path>.<why>-<number>" after it.
std::string NameBeside(const std::string& path, std::string_view why, unsigned long number) {
    std::string name = path + '.' + std::string(why);
    if (number > 1) {
        name += '-' + std::to_string(number);
    }
    return name;
}

} // namespace

// A name whose look fails for any reason (not only because it is free) is
// given back: the attempt to make it then reports that reason, where going
// on to the next number would look in vain without end.
Ref<FolderItem> FolderItem::FreeNameBeside(std::string_view why) const {
    for (unsigned long number = 1;; ++number) {
        const std::string name = NameBeside(path_, why, number);
        struct stat info {};
        if (::lstat(name.c_str(), &info) != 0) {
            return New<FolderItem>(name);
        }
    }
}

// Linking and renaming without replacing both fail with EEXIST when the name
// is taken, at the moment they act, so no item made meanwhile is lost. Once
// names grow too long, the failure is another and the search ends. Neither
// needs to read the file.
Ref<FolderItem> FolderItem::KeepBeside(std::string_view why) const {
    lastError_.clear();
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) {
        lastError_ = std::strerror(errno);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        lastError_ = internal::NotRegularText(info);
        return nullptr;
    }
    bool link = true;
    for (unsigned long number = 1;; ++number) {
        const std::string name = NameBeside(path_, why, number);
        int result = -1;
        if (link) {
            // Following a link keeps the file it leads to, not the link.
            result = ::linkat(AT_FDCWD, path_.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
            link = result == 0 || !internal::LinkingImpossible(errno);
        }
        if (!link) {
            result = ::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE);
        }
        if (result == 0) {
            return New<FolderItem>(name);
        }
        if (errno != EEXIST) {
            lastError_ = std::strerror(errno);
            return nullptr;
        }
    }
}

} // namespace fw
