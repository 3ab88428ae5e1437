#include "framework/internal/text_files.h"

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
// of its writes) beside the folder, out of a folder a link names.
void DropTrailingSeparators(std::string& path) {
    for (;;) {
        if (path.size() > 1 && path.back() == '/') {
            path.pop_back();
        } else if (path.size() > 2 && path.ends_with("/.")) {
            path.resize(path.size() - 2);
        } else {
            return;
        }
    }
}

} // namespace

std::string FinalTarget(std::string path, std::string& error) {
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        DropTrailingSeparators(path);
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
