#pragma once

// Whether the file system shim (tests/fs_shim) that a test program runs
// under is in effect, so that a shim that was not loaded, or that lets a call
// through, fails the tests instead of leaving them to test nothing.

#include <string>

namespace testing_support {

// Empty when KELVARA_FS_SHIM is not set, or when every call that its mode
// refuses, made for real in a scratch folder inside `folder`, fails with the
// errno that the mode promises; otherwise what is wrong, a line for each.
std::string FileSystemShimProblems(const std::string& folder);

} // namespace testing_support
