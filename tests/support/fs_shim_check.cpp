#include "tests/support/fs_shim_check.h"

#include "tests/fs_shim/fs_shim_modes.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace testing_support {
namespace {

// The errno of a call that returned `result`, 0 when it succeeded.
int ErrorOf(int result) {
    return result < 0 ? errno : 0;
}

// The errno of an open that returned `fd`; a file it opened is closed.
int ErrorOfOpen(int fd) {
    if (fd < 0) {
        return errno;
    }
    ::close(fd);
    return 0;
}

// One call that a mode may refuse, made in a folder that holds the files "a"
// and "b" and nothing else by the names used here.
struct Probe {
    const char* call;
    int fs_shim::Refusals::*refusal;
    int (*make)(const std::string& folder);
};

const Probe kProbes[] = {
    {"link", &fs_shim::Refusals::link,
     [](const std::string& folder) {
         return ErrorOf(::link((folder + "/a").c_str(), (folder + "/linked").c_str()));
     }},
    {"linkat", &fs_shim::Refusals::link,
     [](const std::string& folder) {
         return ErrorOf(::linkat(AT_FDCWD, (folder + "/a").c_str(), AT_FDCWD,
                                 (folder + "/linked at").c_str(), 0));
     }},
    {"renameat2 with RENAME_EXCHANGE", &fs_shim::Refusals::exchange,
     [](const std::string& folder) {
         return ErrorOf(::renameat2(AT_FDCWD, (folder + "/a").c_str(), AT_FDCWD,
                                    (folder + "/b").c_str(), RENAME_EXCHANGE));
     }},
    {"renameat2 with RENAME_NOREPLACE", &fs_shim::Refusals::otherRenameFlags,
     [](const std::string& folder) {
         return ErrorOf(::renameat2(AT_FDCWD, (folder + "/b").c_str(), AT_FDCWD,
                                    (folder + "/moved").c_str(), RENAME_NOREPLACE));
     }},
    {"open with O_TMPFILE", &fs_shim::Refusals::nameless,
     [](const std::string& folder) {
         return ErrorOfOpen(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
     }},
    {"openat with O_TMPFILE", &fs_shim::Refusals::nameless,
     [](const std::string& folder) {
         return ErrorOfOpen(
             ::openat(AT_FDCWD, folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
     }},
};

std::string ErrorName(int error) {
    const char* name = ::strerrorname_np(error);
    return name != nullptr ? name : std::to_string(error);
}

std::string ModeNames() {
    std::string names;
    for (const fs_shim::Mode& mode : fs_shim::kModes) {
        names += (names.empty() ? "" : ", ") + std::string(mode.name);
    }
    return names;
}

} // namespace

std::string FileSystemShimProblems(const std::string& folder) {
    const char* name = std::getenv("KELVARA_FS_SHIM");
    if (name == nullptr) {
        return "";
    }
    const fs_shim::Mode* mode = fs_shim::ModeNamed(name);
    if (mode == nullptr) {
        return "KELVARA_FS_SHIM=" + std::string(name) + " names no mode of the shim (" +
               ModeNames() + ")\n";
    }
    const std::string scratch = folder + "/file system shim check";
    std::error_code ignored;
    std::filesystem::create_directory(scratch, ignored);
    std::ofstream(scratch + "/a") << "a";
    std::ofstream(scratch + "/b") << "b";
    std::string problems;
    for (const Probe& probe : kProbes) {
        const int expected = mode->refusals.*probe.refusal;
        if (expected == 0) {
            continue;
        }
        const int error = probe.make(scratch);
        if (error != expected) {
            problems += std::string(probe.call) +
                        (error == 0 ? " was not refused" : " failed with " + ErrorName(error)) +
                        ", where " + std::string(mode->name) + " refuses it with " +
                        ErrorName(expected) + "\n";
        }
    }
    std::filesystem::remove_all(scratch, ignored);
    return problems;
}

} // namespace testing_support
