#pragma once

#include "framework/ref.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class Picture;

// Why a file could not be read as text.
enum class ReadProblem {
    None,       // it was read
    Missing,    // no item of that name, or a link to nothing
    NotRegular, // a folder, a pipe or a device: never read, never replaced
    NotText,    // it holds NUL bytes, so it is something else than a text
    TooLarge,   // more than kMaxTextFileBytes
    Unreadable, // the system refused to read it (permissions, an I/O error)
};

// Which file a path named when it was looked at, or that it named none.
// Every write puts a new file in place of the old one, so two looks that
// find the same version mean that nobody wrote in between. A version that
// was read keeps its file open while it lives, so that its identity cannot
// pass to a file made later.
class FileVersion {
public:
    FileVersion(); // no file
    bool Exists() const;
    friend bool operator==(const FileVersion& a, const FileVersion& b);

    struct Impl;
    explicit FileVersion(std::shared_ptr<const Impl> impl);

private:
    std::shared_ptr<const Impl> impl_;
};

// Reads a text file line by line. Lines may end in LF, CR LF or CR; the
// reader gives back exactly the lines the writer wrote, with no extra empty
// line after a final line ending. Every line is given as UTF-8: a line that
// is not valid UTF-8 (a file from a Latin-1 editor) is read as Latin-1, so
// that the same bytes always give the same text.
class TextInputStream {
public:
    explicit TextInputStream(std::vector<std::string> lines);
    // The next line without its line ending; the empty text at the end.
    std::string ReadLine();
    // True once the last line has been read (at once for an empty file).
    bool EndOfFile() const;
    void Close();

private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
};

// Writes a text file line by line (UTF-8, LF line endings). The file is
// replaced as a whole when the stream closes: until then, and for good when
// anything fails, the previous file stays as it was. A file that would grow
// past kMaxTextFileBytes, which no reader takes, fails as a whole.
class TextOutputStream {
public:
    explicit TextOutputStream(std::string path);
    ~TextOutputStream(); // without Close nothing is replaced
    TextOutputStream(const TextOutputStream&) = delete;
    TextOutputStream& operator=(const TextOutputStream&) = delete;

    void WriteLine(std::string_view text);
    // Puts the new file in place of the old; false when that failed.
    bool Close();

    enum class Outcome {
        Replaced, // the new file is in place
        Changed,  // the path no longer named `expected`: nothing was replaced
        Failed,   // ErrorText says why; nothing was replaced
    };
    // Puts the new file in place of the old only if the path still names the
    // version `expected` (none, when the file was missing), checked at the
    // moment of the replacement where the file system allows it. After
    // Changed the stream is spent: read the file again and write anew.
    Outcome CloseIfUnchanged(const FileVersion& expected);
    // Why the file could not be written; empty while nothing failed.
    std::string ErrorText() const;

    struct Impl;

private:
    friend class FolderItem; // CreateTextFile asks whether the file could be opened
    std::unique_ptr<Impl> impl_;
};

// A file or folder of the file system, which need not exist.
class FolderItem {
public:
    explicit FolderItem(std::string path);

    // The absolute path; that of a folder ends with the separator.
    std::string AbsolutePath() const;
    std::string Name() const;
    bool Exists() const;
    bool IsFolder() const;

    // The item of that name inside this folder.
    Ref<FolderItem> Child(std::string_view name) const;
    // The folder this item is in; none for the root.
    Ref<FolderItem> Parent() const;

    // The file read whole as text, or why it could not be, with the version
    // that was looked at. Only a regular file (reached directly or through
    // links) of at most kMaxTextFileBytes is read, never a pipe or a device,
    // so reading never blocks.
    struct TextRead {
        Ref<TextInputStream> stream; // none unless problem is None
        ReadProblem problem = ReadProblem::None;
        std::string reason; // the problem in words; empty when it was read
        FileVersion version;
    };
    TextRead ReadTextFile() const;
    // ReadTextFile's stream; LastErrorText gives the reason when none.
    Ref<TextInputStream> OpenAsTextFile() const;

    // The item that KeepBeside would give now: the one beside that already
    // keeps this file (it exists then), or the free name it would take,
    // "<name>.<why>", or "<name>.<why>-2", "-3" and on when that is taken.
    Ref<FolderItem> KeptNameBeside(std::string_view why) const;
    // Keeps this file's bytes under the free name beside it, never over an
    // item that exists; the file itself stays in place where the file
    // system can link, otherwise it is moved. A name up to the first free
    // one that already keeps the file (the very file, or the same bytes) is
    // taken as it is, so the same bytes are kept once. The item kept, or
    // none with LastErrorText.
    Ref<FolderItem> KeepBeside(std::string_view why) const;
    // A stream that will replace the file; none when it cannot be written,
    // among others when the item is anything but a regular file or a name
    // not yet taken, which is never replaced.
    Ref<TextOutputStream> CreateTextFile() const;
    // Removes the new files that writes to this file left beside it when
    // they were killed before they finished, never one that a live writer
    // still holds, nor anything else. Call it while holding the file's lock.
    void RemoveLeftoverWrites() const;
    // Why the last OpenAsTextFile, KeepBeside or CreateTextFile gave none.
    std::string LastErrorText() const { return lastError_; }
    // The picture in the file, its format recognised by content; none when
    // the file is missing or not a readable picture.
    Ref<Picture> OpenAsPicture() const;

private:
    std::string path_; // absolute, without a trailing separator
    mutable std::string lastError_;
};

// Far beyond any real text file of the program; anything larger is no text.
inline constexpr std::size_t kMaxTextFileBytes = 64u << 20;

// The item for a path text, whether or not it exists.
Ref<FolderItem> GetFolderItem(std::string_view path);

namespace SpecialFolder {
// The user's configuration folder (the XDG config home), made if missing;
// none when there is no such place, or when it is no folder and cannot be
// made one (PreferencesProblem says why).
Ref<FolderItem> Preferences();
// Why the last Preferences gave none; empty when it gave the folder.
std::string PreferencesProblem();
} // namespace SpecialFolder

// The folder "Resources" beside the folder of the running program
// (<prefix>/bin/program gives <prefix>/Resources); none when it is missing.
Ref<FolderItem> _GetApplicationBundleResources();

} // namespace fw
