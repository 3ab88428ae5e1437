// Preloaded into test programs (LD_PRELOAD), this makes the calls that the
// framework's file writing relies on fail as they fail on file systems and in
// sandboxes that lack them, so that the tests reach the fallbacks that this
// machine's file system never needs. KELVARA_FS_SHIM chooses what fails:
//   fat      as on FUSE and FAT-style file systems: no hard links (EPERM), no
//            rename flags (EINVAL), no nameless files (EOPNOTSUPP);
//   sandbox  as in a sandbox with the file on another device: links across
//            devices (EXDEV), the exchanging rename refused as an unknown call
//            (EPERM), renaming without replacing unknown (ENOSYS).
// Any other value, or none, changes nothing. Every other call goes on to the
// system's own function.

#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

enum class Mode { None, Fat, Sandbox };

Mode CurrentMode() {
    static const Mode mode = [] {
        const char* name = std::getenv("KELVARA_FS_SHIM");
        if (name != nullptr && std::strcmp(name, "fat") == 0) {
            return Mode::Fat;
        }
        if (name != nullptr && std::strcmp(name, "sandbox") == 0) {
            return Mode::Sandbox;
        }
        return Mode::None;
    }();
    return mode;
}

// The function of that name that the shim stands in front of.
template <class Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// Sets errno and returns -1 when the mode refuses the call; 0 otherwise.
int Refuse(int fatError, int sandboxError) {
    const int error = CurrentMode() == Mode::Fat       ? fatError
                      : CurrentMode() == Mode::Sandbox ? sandboxError
                                                       : 0;
    if (error == 0) {
        return 0;
    }
    errno = error;
    return -1;
}

int RefuseLink() {
    return Refuse(EPERM, EXDEV);
}

// A sandbox refuses the exchange as an unknown call and lacks the rest, as an
// older kernel would.
int RefuseRenameFlags(unsigned flags) {
    if (flags == 0) {
        return 0;
    }
    return Refuse(EINVAL, (flags & RENAME_EXCHANGE) != 0 ? EPERM : ENOSYS);
}

// A nameless file (O_TMPFILE) is refused where the file system has none.
int RefuseOpen(int flags) {
    return (flags & O_TMPFILE) == O_TMPFILE ? Refuse(EOPNOTSUPP, 0) : 0;
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
