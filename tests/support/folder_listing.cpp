#include "tests/support/folder_listing.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace testing_support {

std::vector<std::string> FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool FolderCanLink(const std::string& folder) {
    const std::string probe = folder + "/link probe";
    std::ofstream{probe};
    const bool linked = ::link(probe.c_str(), (probe + " 2").c_str()) == 0;
    std::filesystem::remove(probe);
    std::filesystem::remove(probe + " 2");
    return linked;
}

} // namespace testing_support
