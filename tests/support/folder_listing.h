#pragma once

// What the file tests look at in a folder.

#include <string>
#include <vector>

namespace testing_support {

// The names in the folder, sorted.
std::vector<std::string> FolderListing(const std::string& folder);

// Whether this process may hard-link files in the folder: not on FUSE or
// FAT-style file systems, nor under the file system shim (tests/fs_shim).
bool FolderCanLink(const std::string& folder);

} // namespace testing_support
