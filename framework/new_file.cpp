#include "framework/internal/new_file.h"

#include "framework/internal/text_files.h"
#include "framework/write_seam.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <utility>
#include <vector>

namespace fw::internal {
namespace {

constexpr std::size_t kNameLetters = 6;
constexpr std::string_view kNameAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// How often a name is drawn anew when the last one was taken; only a folder
// crowded with such names, or one that keeps changing, takes more than one.
constexpr int kNameAttempts = 100;
constexpr std::size_t kCopyChunk = 64u << 10;

std::string RandomLetters() {
    std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, kNameAlphabet.size() - 1);
    std::string letters(kNameLetters, ' ');
    for (char& letter : letters) {
        letter = kNameAlphabet[pick(source)];
    }
    return letters;
}

} // namespace

// Linking by descriptor fails in these ways where the file system cannot
// link, and with ENOENT where /proc is missing and the kernel wants a
// privilege for AT_EMPTY_PATH.
bool NamelessLinkImpossible(int error) {
    return LinkingImpossible(error) || error == ENOENT;
}

bool IsNewFileName(std::string_view name, std::string_view targetName) {
    if (!name.starts_with(targetName) ||
        !name.substr(targetName.size()).starts_with(kNewFileInfix)) {
        return false;
    }
    const std::string_view letters = name.substr(targetName.size() + kNewFileInfix.size());
    return letters.size() == kNameLetters &&
           std::all_of(letters.begin(), letters.end(), [](char letter) {
               return kNameAlphabet.find(letter) != std::string_view::npos;
           });
}

NewFile::NewFile(NewFile&& other) noexcept {
    *this = std::move(other);
}

NewFile& NewFile::operator=(NewFile&& other) noexcept {
    Discard();
    target_ = std::move(other.target_);
    name_ = std::exchange(other.name_, {});
    fd_ = std::exchange(other.fd_, -1);
    device_ = other.device_;
    inode_ = other.inode_;
    return *this;
}

// Folders refuse nameless files in several ways where the file system has
// none (EOPNOTSUPP, EISDIR on kernels that do not know them, EINVAL, ENOENT);
// after any refusal a named file is made, and a real fault, such as a folder
// that is missing, is reported by that attempt.
int NewFile::Create(const std::string& target, mode_t mode, bool nameless) {
    Discard();
    target_ = target;
    if (nameless) {
        fd_ = ::open(FolderOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd_ >= 0) {
            ::flock(fd_, LOCK_EX); // nobody else can reach the file yet
            const int error = TakeIdentity();
            return error != 0 ? error : ::fchmod(fd_, mode) == 0 ? 0 : errno;
        }
    }
    return CreateNamed(mode);
}

// The file has a name before it can be locked, so a remover of leftovers may
// take the lock first and remove the file: the name then names another file
// or none, and the file is made anew under another name. A file system
// without flock locks nothing here, and RemoveLeftoverWrites removes nothing.
int NewFile::CreateNamed(mode_t mode) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = target_ + std::string(kNewFileInfix) + std::string(kNameLetters, 'X');
        fd_ = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd_ < 0) {
            return errno;
        }
        if (WhileNamedNewFileIsUnlocked) {
            WhileNamedNewFileIsUnlocked(name);
        }
        const bool heldElsewhere = ::flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        if (const int error = TakeIdentity(); error != 0) {
            ::unlink(name.c_str());
            Discard();
            return error;
        }
        if (heldElsewhere || !IsNamedBy(name)) {
            Discard();
            continue;
        }
        name_ = std::move(name);
        return ::fchmod(fd_, mode) == 0 ? 0 : errno;
    }
    return EEXIST;
}

int NewFile::TakeIdentity() {
    struct stat own {};
    if (::fstat(fd_, &own) != 0) {
        return errno;
    }
    device_ = own.st_dev;
    inode_ = own.st_ino;
    return 0;
}

int NewFile::GiveName() {
    if (!name_.empty()) {
        return 0;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = target_ + std::string(kNewFileInfix) + RandomLetters();
        const int error = LinkAs(name);
        if (error == 0) {
            name_ = std::move(name);
            return 0;
        }
        if (error != EEXIST) {
            return NamelessLinkImpossible(error) ? CopyIntoNamedFile() : error;
        }
    }
    return EEXIST;
}

// Linking the file's entry in /proc works without the privilege that
// AT_EMPTY_PATH asks for on older kernels; the descriptor itself serves where
// /proc is not mounted.
int NewFile::LinkAs(const std::string& path) const {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    if (errno != ENOENT) {
        return errno;
    }
    return ::linkat(fd_, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// A nameless file that cannot be linked is copied whole into a named one,
// which takes its place.
int NewFile::CopyIntoNamedFile() {
    struct stat own {};
    if (::fstat(fd_, &own) != 0) {
        return errno;
    }
    NewFile copy;
    if (const int error = copy.Create(target_, own.st_mode & 0777, false); error != 0) {
        return error;
    }
    if (!CopyAll(fd_, copy.fd_) || ::fsync(copy.fd_) != 0) {
        return errno;
    }
    *this = std::move(copy);
    return 0;
}

bool NewFile::IsNamedBy(const std::string& path) const {
    struct stat named {};
    return ::lstat(path.c_str(), &named) == 0 && named.st_dev == device_ && named.st_ino == inode_;
}

// The name goes before the lock does, so that no remover of leftovers ever
// finds this file under its name without a holder.
void NewFile::Discard() {
    if (!name_.empty() && IsNamedBy(name_)) {
        ::unlink(name_.c_str());
    }
    name_.clear();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

bool CopyAll(int from, int to) {
    std::vector<char> chunk(kCopyChunk);
    for (off_t offset = 0;;) {
        const ssize_t count = ::pread(from, chunk.data(), chunk.size(), offset);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return count == 0;
        }
        if (!WriteAll(to, std::string_view(chunk.data(), static_cast<std::size_t>(count)))) {
            return false;
        }
        offset += count;
    }
}

} // namespace fw::internal
