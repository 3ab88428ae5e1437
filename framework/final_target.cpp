#include "framework/internal/text_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fw::internal {
namespace {

constexpr int kMaxLinkHops = 40; // as many as the kernel follows in a path

// "a/b/", "a/b/." and "a/b/./" name what "a/b" names once b is followed: the
// folder b itself, never a place inside it. Dropping the ending keeps the
// items that belong beside a file (its lock, its kept copies, the new files
// of its writes) beside the folder, out of a folder a link names. True when
// there was such an ending, which only a folder may have.
bool DropTrailingSeparators(std::string& path) {
    bool dropped = false;
    for (;; dropped = true) {
        if (path.size() > 1 && path.back() == '/') {
            path.pop_back();
        } else if (path.size() > 2 && path.ends_with("/.")) {
            path.resize(path.size() - 2);
        } else {
            return dropped;
        }
    }
}

} // namespace

std::string FinalTarget(std::string path, std::string& error) {
    bool mustBeAFolder = false;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        mustBeAFolder = DropTrailingSeparators(path) || mustBeAFolder;
        std::error_code notALink;
        const std::filesystem::path next = std::filesystem::read_symlink(path, notALink);
        if (!notALink) {
            // Not normalised: ".." after a linked folder must mean what it
            // means to the kernel.
            path = (std::filesystem::path(path).parent_path() / next).string();
            continue;
        }
        // A path that ends in ".." names a folder that only the kernel can
        // tell; it is asked, so that nothing lands inside the folder before.
        if (std::filesystem::path(path).filename() == "..") {
            char resolved[PATH_MAX];
            if (::realpath(path.c_str(), resolved) == nullptr) {
                error = std::strerror(errno);
                return {};
            }
            return resolved;
        }
        // As the kernel refuses "file/" and "missing/", a path that must name
        // a folder and names none is no file to read or write.
        if (mustBeAFolder) {
            struct stat info {};
            const int cause = ::stat(path.c_str(), &info) != 0 ? errno
                              : S_ISDIR(info.st_mode)          ? 0
                                                               : ENOTDIR;
            if (cause != 0) {
                error = std::strerror(cause);
                return {};
            }
        }
        return path;
    }
    error = std::strerror(ELOOP);
    return {};
}

std::string FileAt(const std::string& path) {
    std::string ignored;
    std::string target = FinalTarget(path, ignored);
    return target.empty() ? path : target;
}

} // namespace fw::internal
