#include "framework/files.h"

#include "framework/internal/text_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace fw {
namespace {

constexpr std::size_t kWriteChunk = 64u << 10;

// The mode open(2) gives a new file: 0666 less the umask. The umask can only
// be read by setting it; while it is 077 a file that another thread creates
// comes out more private, never more open.
mode_t NewFileMode() {
    const mode_t mask = ::umask(077);
    ::umask(mask);
    return 0666 & ~mask;
}

// Hands all of `bytes` to the system; false with errno set when it refuses.
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

} // namespace

// The lines go to a new file beside the target, which takes the target's
// place by rename only once it is complete and on disk. Every failure
// removes it and leaves the target as it was.
struct TextOutputStream::Impl {
    using Outcome = TextOutputStream::Outcome;

    explicit Impl(const std::string& path);
    ~Impl() { Discard(); }

    void Write(std::string_view text);
    Outcome Close(const FileVersion* expected);

    bool Failed(int error);
    // Writes what is pending, puts it on disk and closes the new file.
    bool Finish();
    Outcome Replace();
    Outcome Exchange(const FileVersion& expected);
    Outcome PlaceNew();
    Outcome ReplaceIfStill(const FileVersion& expected);
    bool IsOwn(const std::string& name) const;
    // Closes the new file and removes it.
    void Discard();

    std::string target;
    std::string temp; // the new file's name while it is ours to remove
    int fd = -1;
    dev_t device = 0; // the new file's identity, to tell it from others
    ino_t inode = 0;
    std::string pending;
    std::size_t size = 0; // bytes written so far, pending ones included
    std::string error;
    std::optional<Outcome> outcome; // once Close has run
};

TextOutputStream::Impl::Impl(const std::string& path)
    : target(internal::FinalTarget(path, error)) {
    if (target.empty()) {
        return;
    }
    // The new file is renamed into the old one's place, which must not
    // happen to a folder, a pipe or a device.
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) {
        error = internal::NotRegularText(old);
        return;
    }
    std::string name = target + ".XXXXXX";
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return;
    }
    temp = std::move(name);
    // mkostemp makes the file private; the file it replaces keeps its mode,
    // but its owner may always read and write what it wrote, or a file that
    // could not be read would stay so after every save.
    const mode_t mode = replacing ? ((old.st_mode & 0777) | S_IRUSR | S_IWUSR) : NewFileMode();
    struct stat own {};
    if (::fchmod(fd, mode) != 0 || ::fstat(fd, &own) != 0) {
        Failed(errno);
        return;
    }
    device = own.st_dev;
    inode = own.st_ino;
}

bool TextOutputStream::Impl::Failed(int code) {
    if (error.empty()) {
        error = std::strerror(code);
    }
    Discard();
    return false;
}

void TextOutputStream::Impl::Discard() {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    if (!temp.empty()) {
        ::unlink(temp.c_str());
        temp.clear();
    }
}

void TextOutputStream::Impl::Write(std::string_view text) {
    if (outcome || fd < 0) {
        return;
    }
    // No reader takes a file past the bound, so it fails as a whole rather
    // than be cut off where the bound falls.
    if (text.size() >= kMaxTextFileBytes - size) {
        error = internal::kTooLargeText;
        Discard();
        return;
    }
    pending.append(text);
    pending.push_back('\n');
    size += text.size() + 1;
    if (pending.size() >= kWriteChunk) {
        if (!WriteAll(fd, pending)) {
            Failed(errno);
        }
        pending.clear();
    }
}

bool TextOutputStream::Impl::Finish() {
    if (fd < 0) {
        return false;
    }
    if (!WriteAll(fd, pending) || ::fsync(fd) != 0) {
        return Failed(errno);
    }
    const int closed = ::close(fd); // also reports what a network file system deferred
    fd = -1;
    return closed == 0 || Failed(errno);
}

TextOutputStream::Outcome TextOutputStream::Impl::Close(const FileVersion* expected) {
    if (!outcome) {
        if (!Finish()) {
            outcome = Outcome::Failed;
        } else if (expected == nullptr) {
            outcome = Replace();
        } else {
            outcome = expected->Exists() ? Exchange(*expected) : PlaceNew();
        }
    }
    return *outcome;
}

TextOutputStream::Outcome TextOutputStream::Impl::Replace() {
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        Failed(errno);
        return Outcome::Failed;
    }
    temp.clear();
    return Outcome::Replaced;
}

// Exchanging the two names puts the new file in place and the old one under
// the temporary name in one step; only then is the old one compared with the
// version expected. Another writer's file is exchanged back into its place.
TextOutputStream::Outcome TextOutputStream::Impl::Exchange(const FileVersion& expected) {
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) != 0) {
        const int code = errno;
        if (code == EINVAL || code == ENOSYS || code == EOPNOTSUPP) {
            return ReplaceIfStill(expected);
        }
        if (code == ENOENT) { // the file is gone
            Discard();
            return Outcome::Changed;
        }
        Failed(code);
        return Outcome::Failed;
    }
    struct stat old {};
    if (::lstat(temp.c_str(), &old) == 0 && internal::IsVersion(old, expected)) {
        Discard(); // removes the old file, which the expected version keeps open
        return Outcome::Replaced;
    }
    const bool back =
        ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0;
    if (!back || !IsOwn(temp)) {
        temp.clear(); // whatever the name holds now is not ours to remove
    }
    Discard();
    return Outcome::Changed;
}

// Linking fails when the name is taken at that moment; renaming without
// replacing does the same where the file system cannot link.
TextOutputStream::Outcome TextOutputStream::Impl::PlaceNew() {
    int result = ::link(temp.c_str(), target.c_str());
    if (result != 0 && internal::LinkingImpossible(errno)) {
        result = ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
        if (result == 0) {
            temp.clear();
            return Outcome::Replaced;
        }
        if (errno == EINVAL) {
            return ReplaceIfStill(FileVersion());
        }
    }
    const int code = errno;
    if (result != 0 && code != EEXIST) {
        Failed(code);
        return Outcome::Failed;
    }
    Discard();
    return result == 0 ? Outcome::Replaced : Outcome::Changed;
}

// Where the file system offers no way to check and replace in one step, the
// check comes just before the rename.
TextOutputStream::Outcome TextOutputStream::Impl::ReplaceIfStill(const FileVersion& expected) {
    struct stat now {};
    bool same = false;
    if (::lstat(target.c_str(), &now) == 0) {
        same = internal::IsVersion(now, expected);
    } else if (errno == ENOENT) {
        same = !expected.Exists();
    } else {
        Failed(errno);
        return Outcome::Failed;
    }
    if (!same) {
        Discard();
        return Outcome::Changed;
    }
    return Replace();
}

bool TextOutputStream::Impl::IsOwn(const std::string& name) const {
    struct stat info {};
    return ::lstat(name.c_str(), &info) == 0 && info.st_dev == device && info.st_ino == inode;
}

TextOutputStream::TextOutputStream(std::string path)
    : impl_(std::make_unique<Impl>(path)) {}

TextOutputStream::~TextOutputStream() = default; // the new file goes unless it was put in place

void TextOutputStream::WriteLine(std::string_view text) {
    impl_->Write(text);
}

bool TextOutputStream::Close() {
    return impl_->Close(nullptr) == Outcome::Replaced;
}

TextOutputStream::Outcome TextOutputStream::CloseIfUnchanged(const FileVersion& expected) {
    return impl_->Close(&expected);
}

std::string TextOutputStream::ErrorText() const {
    return impl_->error;
}

Ref<TextOutputStream> FolderItem::CreateTextFile() const {
    lastError_.clear();
    Ref<TextOutputStream> stream = New<TextOutputStream>(path_);
    if (stream->impl_->fd < 0) {
        lastError_ = stream->ErrorText();
        return nullptr;
    }
    return stream;
}

} // namespace fw
