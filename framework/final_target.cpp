#include "framework/internal/text_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fw::internal {
namespace {

constexpr int kMaxLinkHops = 40; // as many as the kernel follows in a path

} // namespace

std::string FinalTarget(std::string path, std::string& error) {
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        std::error_code notALink;
        const std::filesystem::path next = std::filesystem::read_symlink(path, notALink);
        if (notALink) {
            return path;
        }
        // Not normalised: ".." after a linked folder must mean what it
        // means to the kernel.
        path = (std::filesystem::path(path).parent_path() / next).string();
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
