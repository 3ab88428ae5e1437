#include "framework/files.h"

#include "framework/internal/new_file.h"
#include "framework/internal/text_files.h"
#include "framework/write_seam.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace fw {
namespace {

bool StillNames(int folder, const std::string& name, const struct stat& file) {
    struct stat now {};
    return ::fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
           now.st_dev == file.st_dev && now.st_ino == file.st_ino;
}

// A live writer holds the flock of its new file, so a new file whose flock
// can be taken at once was left by a writer that died. A writer that has just
// made a file under that name finds the flock taken and makes another; the
// check right before the removal makes sure that the name still names the
// file that was locked.
void RemoveIfLeftover(int folder, const std::string& folderPath, const std::string& name) {
    struct stat seen {};
    if (::fstatat(folder, name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(seen.st_mode)) {
        return; // a link, a folder, a pipe: no writer makes those
    }
    const int file =
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file < 0) {
        // A writer's new file may always be read by its owner; one that may
        // not is the unreadable old file that a writer killed right after
        // exchanging it out left under the new file's name.
        if (errno == EACCES && (seen.st_mode & S_IRUSR) == 0 && StillNames(folder, name, seen)) {
            ::unlinkat(folder, name.c_str(), 0);
        }
        return;
    }
    struct stat held {};
    if (::fstat(file, &held) == 0 && S_ISREG(held.st_mode) &&
        ::flock(file, LOCK_EX | LOCK_NB) == 0) {
        if (WhileLeftoverIsLocked) {
            WhileLeftoverIsLocked(folderPath + "/" + name);
        }
        if (StillNames(folder, name, held)) {
            ::unlinkat(folder, name.c_str(), 0);
        }
    }
    ::close(file);
}

} // namespace

void FolderItem::RemoveLeftoverWrites() const {
    std::string error;
    const std::string target = internal::FinalTarget(path_, error);
    if (target.empty()) {
        return;
    }
    const std::string targetName = std::filesystem::path(target).filename().string();
    const std::string folderPath = internal::FolderOf(target);
    DIR* folder = ::opendir(folderPath.c_str());
    if (folder == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (internal::IsNewFileName(name, targetName)) {
            RemoveIfLeftover(::dirfd(folder), folderPath, name);
        }
    }
    ::closedir(folder);
}

} // namespace fw
