#pragma once

// What reading, writing and keeping text files share inside the framework.

#include "framework/files.h"

#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace fw {

// A file's identity and content stamp. The descriptor, when there is one,
// stays open while the version lives: an inode that is still open is never
// given to a new file, so a later file cannot pass for this one.
struct FileVersion::Impl {
    Impl(const struct stat& info, int fd);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    dev_t device;
    ino_t inode;
    off_t size;
    std::int64_t modifiedNs;
    int fd; // -1 when nothing is held open
};

namespace internal {

inline constexpr const char* kTooLargeText = "larger than any text file of the program";

// The version that `info` describes; it owns `fd` (closes it) unless that is -1.
FileVersion VersionOf(const struct stat& info, int fd = -1);
// Whether `info` describes the file of `version`, with the same size and
// modification time.
bool IsVersion(const struct stat& info, const FileVersion& version);
// Why an item that is no regular file is neither read nor replaced.
const char* NotRegularText(const struct stat& info);
// Whether a failed link(2) means that this file system cannot link the file
// (no hard links, another device, too many links) rather than a real error.
bool LinkingImpossible(int error);
// Whether a failed renameat2 with flags (RENAME_EXCHANGE, RENAME_NOREPLACE)
// means that the kernel, the file system or a sandbox does not offer them,
// rather than a real error: the caller then does without.
bool RenameFlagUnsupported(int error);
// Renames `from` to `to` unless `to` is taken; 0, or the errno (EEXIST when
// it is taken). Where the system cannot rename without replacing in one step,
// a link does (it fails when the name is taken at that moment), and where
// neither works, the check comes just before the rename.
int MoveWithoutReplacing(const std::string& from, const std::string& to);
// The folder that holds `path` ("." for a bare name).
std::string FolderOf(const std::string& path);
// Puts the folder's entries on disk, so that a file renamed, linked or
// removed there stays so after a power cut. Best effort: by then the change
// is done, and some file systems cannot sync a folder.
void SyncFolderOf(const std::string& path);
// The file that `path` finally names: the end of the chain of links at
// `path`, which need not exist. Writing replaces that file, so that a user's
// link stays a link, and its lock stands beside it, so that every path that
// leads to one file takes one lock. It never ends in "/", "/." or "/..", so
// when it names a folder, what belongs beside it stands beside the folder,
// not in it. Empty, with the reason in `error`, for a chain without end, a
// folder that cannot be told, or a path that the kernel takes for a folder
// (a link to "name/") where no folder stands.
std::string FinalTarget(std::string path, std::string& error);
// FinalTarget, or `path` itself for a chain of links without end: where the
// items that belong beside a file stand.
std::string FileAt(const std::string& path);

} // namespace internal
} // namespace fw
