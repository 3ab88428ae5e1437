#pragma once

// What the file system shim (fs_shim.cpp, preloaded into the file and
// preferences tests) refuses in each mode, and with which errno. The shim
// refuses by this table, and every test program, before it runs a test under
// the shim, makes each call the mode refuses and checks that it fails so
// (tests/support/fs_shim_check.cpp): a shim that is not loaded, or that lets
// a call through, fails every test instead of testing nothing.
//
// KELVARA_FS_SHIM chooses the mode:
//   fat      as on FUSE and FAT-style file systems: no hard links (EPERM), no
//            rename flags (EINVAL), no nameless files (EOPNOTSUPP);
//   sandbox  as in a sandbox with the file on another device: links across
//            devices (EXDEV), the exchanging rename refused as an unknown call
//            (EPERM), renaming without replacing unknown (ENOSYS), as an older
//            kernel would; nameless files are made.
// The shim changes nothing for any other value, or none; the test programs
// refuse to run under a value that is no mode.

#include <cerrno>
#include <string_view>

namespace fs_shim {

// The errno with which a mode refuses each kind of call; 0: the call goes on
// to the system.
struct Refusals {
    int link;             // link, linkat
    int exchange;         // renameat2 with RENAME_EXCHANGE
    int otherRenameFlags; // renameat2 with any other flag, RENAME_NOREPLACE among them
    int nameless;         // open and openat with O_TMPFILE
};

struct Mode {
    std::string_view name;
    Refusals refusals;
};

inline constexpr Mode kModes[] = {
    {"fat",
     {.link = EPERM, .exchange = EINVAL, .otherRenameFlags = EINVAL, .nameless = EOPNOTSUPP}},
    {"sandbox", {.link = EXDEV, .exchange = EPERM, .otherRenameFlags = ENOSYS, .nameless = 0}},
};

// The mode of that name; nullptr when there is none.
constexpr const Mode* ModeNamed(std::string_view name) {
    for (const Mode& mode : kModes) {
        if (mode.name == name) {
            return &mode;
        }
    }
    return nullptr;
}

} // namespace fs_shim
