// Preloaded into test programs (LD_PRELOAD), this makes the calls that the
// framework's file writing relies on fail as they fail on file systems and in
// sandboxes that lack them, so that the tests reach the fallbacks that this
// machine's file system never needs. KELVARA_FS_SHIM chooses what fails; what
// each mode refuses, and with which errno, is in fs_shim_modes.h. Every other
// call goes on to the system's own function.

#include "tests/fs_shim/fs_shim_modes.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>

namespace {

// The refusals of the mode named, or none.
const fs_shim::Refusals* CurrentRefusals() {
    static const fs_shim::Refusals* const refusals = [] {
        const char* name = std::getenv("KELVARA_FS_SHIM");
        const fs_shim::Mode* mode = name != nullptr ? fs_shim::ModeNamed(name) : nullptr;
        return mode != nullptr ? &mode->refusals : nullptr;
    }();
    return refusals;
}

// The function of that name that the shim stands in front of.
template <class Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// Sets errno and returns -1 when the mode refuses the call; 0 otherwise.
int Refuse(int fs_shim::Refusals::*call) {
    const fs_shim::Refusals* refusals = CurrentRefusals();
    if (refusals == nullptr || refusals->*call == 0) {
        return 0;
    }
    errno = refusals->*call;
    return -1;
}

int RefuseLink() {
    return Refuse(&fs_shim::Refusals::link);
}

int RefuseRenameFlags(unsigned flags) {
    if (flags == 0) {
        return 0;
    }
    return Refuse((flags & RENAME_EXCHANGE) != 0 ? &fs_shim::Refusals::exchange
                                                 : &fs_shim::Refusals::otherRenameFlags);
}

int RefuseOpen(int flags) {
    return (flags & O_TMPFILE) == O_TMPFILE ? Refuse(&fs_shim::Refusals::nameless) : 0;
}

bool HasModeArgument(int flags) {
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

} // namespace

// Declares `mode`: the argument after the flags, which open(2) and its kin
// take only when the flags ask for one.
#define KELVARA_SHIM_MODE_ARGUMENT(flags)                                                          \
    mode_t mode = 0;                                                                               \
    if (HasModeArgument(flags)) {                                                                  \
        va_list arguments;                                                                         \
        va_start(arguments, flags);                                                                \
        mode = static_cast<mode_t>(va_arg(arguments, int));                                        \
        va_end(arguments);                                                                         \
    }

extern "C" {

int link(const char* from, const char* to) {
    static const auto next = Next<int (*)(const char*, const char*)>("link");
    return RefuseLink() != 0 ? -1 : next(from, to);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    static const auto next = Next<int (*)(int, const char*, int, const char*, int)>("linkat");
    return RefuseLink() != 0 ? -1 : next(fromFolder, from, toFolder, to, flags);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    static const auto next =
        Next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    return RefuseRenameFlags(flags) != 0 ? -1 : next(fromFolder, from, toFolder, to, flags);
}

int open(const char* path, int flags, ...) {
    KELVARA_SHIM_MODE_ARGUMENT(flags);
    static const auto next = Next<int (*)(const char*, int, ...)>("open");
    return RefuseOpen(flags) != 0 ? -1 : next(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    KELVARA_SHIM_MODE_ARGUMENT(flags);
    static const auto next = Next<int (*)(const char*, int, ...)>("open64");
    return RefuseOpen(flags) != 0 ? -1 : next(path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...) {
    KELVARA_SHIM_MODE_ARGUMENT(flags);
    static const auto next = Next<int (*)(int, const char*, int, ...)>("openat");
    return RefuseOpen(flags) != 0 ? -1 : next(folder, path, flags, mode);
}

int openat64(int folder, const char* path, int flags, ...) {
    KELVARA_SHIM_MODE_ARGUMENT(flags);
    static const auto next = Next<int (*)(int, const char*, int, ...)>("openat64");
    return RefuseOpen(flags) != 0 ? -1 : next(folder, path, flags, mode);
}

} // extern "C"
