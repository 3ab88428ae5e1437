#pragma once

// The new file that a write fills beside the file it will replace, and the
// names such files have.

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace fw::internal {

// A new file beside "<name>" is named "<name>.saving-" and six letters or
// digits: no file that the user or the program keeps beside it (".backup",
// ".not-text", an older build's six letters right after "<name>.") looks so.
inline constexpr std::string_view kNewFileInfix = ".saving-";
// Whether `name` is that of a new file beside the file named `targetName`.
bool IsNewFileName(std::string_view name, std::string_view targetName);

// A new file in the folder of a target, so that it can take the target's place
// by renaming. It has no name at all where the file system allows it (a file
// opened with O_TMPFILE goes with its last descriptor, however the process
// ends), and "<target>.saving-XXXXXX" otherwise. It holds a flock on its file
// from before the file has a name until it is discarded, which tells
// RemoveLeftoverWrites that a live writer still needs it.
class NewFile {
public:
    NewFile() = default;
    ~NewFile() { Discard(); }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    NewFile(NewFile&& other) noexcept;
    NewFile& operator=(NewFile&& other) noexcept;

    // Makes the file beside `target` with `mode`, without a name if `nameless`
    // and the file system allows; 0, or the errno of the failure.
    int Create(const std::string& target, mode_t mode, bool nameless);
    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    // The file's name beside the target; empty while it has none.
    const std::string& Name() const { return name_; }
    // Gives a nameless file a new file's name: a link where the file system
    // allows, otherwise a named copy takes its place. 0, or the errno.
    int GiveName();
    // Links the nameless file at `path`; 0, or the errno (EEXIST when the
    // name is taken at that moment).
    int LinkAs(const std::string& path) const;
    // Whether `path` names this file.
    bool IsNamedBy(const std::string& path) const;
    // The name has gone to the target, or names another file now: it is no
    // longer this one's to remove.
    void LetGoOfName() { name_.clear(); }
    // Removes the file's name, if it still names the file, and closes it.
    void Discard();

private:
    int CreateNamed(mode_t mode);
    int TakeIdentity();
    int CopyIntoNamedFile();

    std::string target_;
    std::string name_;
    int fd_ = -1;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

// Whether linking a nameless file failed because the file system cannot link
// it (or, without /proc, the kernel wants a privilege), rather than a real
// error: it is then copied into a named file.
bool NamelessLinkImpossible(int error);

// Hands all of `bytes` to the system; false with errno set when it refuses.
bool WriteAll(int fd, std::string_view bytes);
// Writes every byte of the file open at `from` to `to`; false with errno set.
bool CopyAll(int from, int to);

} // namespace fw::internal
