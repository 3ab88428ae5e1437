#include "framework/files.h"

#include "framework/internal/new_file.h"
#include "framework/internal/text_files.h"
#include "framework/write_seam.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

} // namespace

// The lines go to a new file beside the target (see internal::NewFile), which
// takes the target's place only once it is complete and on disk. Every
// failure discards it and leaves the target as it was.
struct TextOutputStream::Impl {
    using Outcome = TextOutputStream::Outcome;

    explicit Impl(const std::string& path);

    void Write(std::string_view text);
    Outcome Close(const FileVersion* expected);

    bool Failed(int error);
    // Writes what is pending and puts it on disk.
    bool Finish();
    // Gives the new file a name beside the target, for the renames.
    bool Name();
    Outcome Replace();
    Outcome Exchange(const FileVersion& expected);
    Outcome PlaceNew();
    Outcome ReplaceIfStill(const FileVersion& expected);

    std::string target;
    internal::NewFile file;
    std::string pending;
    std::size_t size = 0; // bytes written so far, pending ones included
    std::string error;
    std::optional<Outcome> outcome; // once Close has run
};

// The target is found in the body, not in the member initializers: finding
// it may write `error`, which must have been made first.
TextOutputStream::Impl::Impl(const std::string& path) {
    target = internal::FinalTarget(path, error);
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
    // The file it replaces keeps its mode, but its owner may always read and
    // write what it wrote, or a file that could not be read would stay so
    // after every save.
    const mode_t mode = replacing ? ((old.st_mode & 0777) | S_IRUSR | S_IWUSR) : NewFileMode();
    if (const int code = file.Create(target, mode, /*nameless=*/true); code != 0) {
        Failed(code);
    }
}

bool TextOutputStream::Impl::Failed(int code) {
    if (error.empty()) {
        error = std::strerror(code);
    }
    file.Discard();
    return false;
}

void TextOutputStream::Impl::Write(std::string_view text) {
    if (outcome || !file.IsOpen()) {
        return;
    }
    // No reader takes a file past the bound, so it fails as a whole rather
    // than be cut off where the bound falls.
    if (text.size() >= kMaxTextFileBytes - size) {
        error = internal::kTooLargeText;
        file.Discard();
        return;
    }
    pending.append(text);
    pending.push_back('\n');
    size += text.size() + 1;
    if (pending.size() >= kWriteChunk) {
        if (!internal::WriteAll(file.Fd(), pending)) {
            Failed(errno);
        }
        pending.clear();
    }
}

// fsync reports what a network file system deferred, as closing would; the
// file stays open, and locked, until it is in place.
bool TextOutputStream::Impl::Finish() {
    if (!file.IsOpen()) {
        return false;
    }
    if (!internal::WriteAll(file.Fd(), pending) || ::fsync(file.Fd()) != 0) {
        return Failed(errno);
    }
    pending.clear();
    return true;
}

// Once the new file is in place, the folder goes to disk too: a save that
// was reported done survives a power cut.
TextOutputStream::Outcome TextOutputStream::Impl::Close(const FileVersion* expected) {
    if (!outcome) {
        if (!Finish()) {
            outcome = Outcome::Failed;
        } else if (expected == nullptr) {
            outcome = Replace();
        } else {
            outcome = expected->Exists() ? Exchange(*expected) : PlaceNew();
        }
        if (*outcome == Outcome::Replaced) {
            internal::SyncFolderOf(target);
        }
        file.Discard();
    }
    return *outcome;
}

bool TextOutputStream::Impl::Name() {
    if (const int code = file.GiveName(); code != 0) {
        return Failed(code);
    }
    if (WhileNewFileIsNamed) {
        WhileNewFileIsNamed(file.Name());
    }
    return true;
}

TextOutputStream::Outcome TextOutputStream::Impl::Replace() {
    if (!Name()) {
        return Outcome::Failed;
    }
    if (::rename(file.Name().c_str(), target.c_str()) != 0) {
        Failed(errno);
        return Outcome::Failed;
    }
    file.LetGoOfName();
    return Outcome::Replaced;
}

// Exchanging the two names puts the new file in place and the old one under
// the new file's name in one step; only then is the old one compared with the
// version expected. Another writer's file is exchanged back into its place.
// Should this writer die before it removes the old file, the old file is a
// leftover like any new file, and RemoveLeftoverWrites removes it.
TextOutputStream::Outcome TextOutputStream::Impl::Exchange(const FileVersion& expected) {
    if (!Name()) {
        return Outcome::Failed;
    }
    const std::string name = file.Name();
    if (::renameat2(AT_FDCWD, name.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) != 0) {
        const int code = errno;
        if (internal::RenameFlagUnsupported(code)) {
            return ReplaceIfStill(expected);
        }
        if (code == ENOENT) { // the file is gone
            file.Discard();
            return Outcome::Changed;
        }
        Failed(code);
        return Outcome::Failed;
    }
    file.LetGoOfName(); // the name holds the file that was in place
    struct stat old {};
    if (::lstat(name.c_str(), &old) == 0 && internal::IsVersion(old, expected)) {
        ::unlink(name.c_str()); // the old file, which the expected version keeps open
        return Outcome::Replaced;
    }
    // Whatever the name holds when the exchange back failed is not ours to
    // remove.
    if (::renameat2(AT_FDCWD, name.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0 &&
        file.IsNamedBy(name)) {
        ::unlink(name.c_str());
    }
    return Outcome::Changed;
}

// A nameless file is linked straight to the target, which fails when the
// name is taken at that moment; a named one is moved there without replacing.
TextOutputStream::Outcome TextOutputStream::Impl::PlaceNew() {
    if (file.Name().empty()) {
        const int code = file.LinkAs(target);
        if (code == 0 || code == EEXIST) {
            return code == 0 ? Outcome::Replaced : Outcome::Changed;
        }
        if (!internal::NamelessLinkImpossible(code)) {
            Failed(code);
            return Outcome::Failed;
        }
    }
    if (!Name()) {
        return Outcome::Failed;
    }
    const int code = internal::MoveWithoutReplacing(file.Name(), target);
    if (code == 0) {
        file.LetGoOfName();
        return Outcome::Replaced;
    }
    if (code == EEXIST) {
        return Outcome::Changed;
    }
    Failed(code);
    return Outcome::Failed;
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
        return Outcome::Changed;
    }
    return Replace();
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
    if (!stream->impl_->file.IsOpen()) {
        lastError_ = stream->ErrorText();
        return nullptr;
    }
    return stream;
}

} // namespace fw
