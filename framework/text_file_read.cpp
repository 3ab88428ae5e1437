#include "framework/files.h"

#include "framework/internal/text_files.h"

#include <QString>
#include <QStringDecoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace fw {
namespace {

// All bytes of the open regular file, at most kMaxTextFileBytes; false with
// errno set (or `tooLarge`) when that failed.
bool ReadAll(int fd, std::size_t expectedSize, std::string& bytes, bool& tooLarge) {
    // One byte more than the size tells a file that grew meanwhile.
    bytes.assign(expectedSize + 1, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t count = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return false;
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
        if (filled == bytes.size() && filled <= kMaxTextFileBytes) {
            bytes.resize(std::min(bytes.size() * 2, kMaxTextFileBytes + 1));
        }
    }
    tooLarge = filled > kMaxTextFileBytes;
    bytes.resize(filled);
    return !tooLarge;
}

// The line as UTF-8: as it stands when it is valid UTF-8, otherwise read as
// Latin-1, the encoding of older and hand-edited files.
std::string AsUtf8(std::string_view line) {
    const bool ascii = std::all_of(line.begin(), line.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        return std::string(line);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = utf8(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
    if (!utf8.hasError()) {
        return std::string(line);
    }
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()))
        .toUtf8()
        .toStdString();
}

// The lines of a text, each without its ending (LF, CR LF or a lone CR). A
// final line ending ends the last line and does not start an empty one.
std::vector<std::string> SplitLines(std::string_view rest) {
    std::vector<std::string> lines;
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            lines.push_back(AsUtf8(rest));
            break;
        }
        lines.push_back(AsUtf8(rest.substr(0, end)));
        const bool crlf = rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n';
        rest.remove_prefix(end + (crlf ? 2 : 1));
    }
    return lines;
}

// Editors on some systems start a UTF-8 file with a byte-order mark; it
// marks the encoding and is no part of the first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

// ---- Text input ------------------------------------------------------------

TextInputStream::TextInputStream(std::vector<std::string> lines)
    : lines_(std::move(lines)) {}

std::string TextInputStream::ReadLine() {
    if (next_ >= lines_.size()) {
        return {};
    }
    return lines_[next_++];
}

bool TextInputStream::EndOfFile() const {
    return next_ >= lines_.size();
}

void TextInputStream::Close() {
    lines_.clear();
    next_ = 0;
}

// ---- Reading a file --------------------------------------------------------

// Opened without blocking, so that a pipe or a device in the file's place is
// turned away instead of waited on or read without end.
FolderItem::TextRead FolderItem::ReadTextFile() const {
    TextRead read;
    const auto refuse = [&read](ReadProblem problem, std::string reason) {
        read.problem = problem;
        read.reason = std::move(reason);
        return read;
    };
    struct stat info {};
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) {
            return refuse(ReadProblem::Missing, std::strerror(error));
        }
        // A file that may not be read is still a version that a write must
        // not overlook.
        if (::stat(path_.c_str(), &info) != 0) {
            return refuse(ReadProblem::Unreadable, std::strerror(error));
        }
        read.version = internal::VersionOf(info);
        if (!S_ISREG(info.st_mode)) {
            return refuse(ReadProblem::NotRegular, internal::NotRegularText(info));
        }
        return refuse(ReadProblem::Unreadable, std::strerror(error));
    }
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return refuse(ReadProblem::Unreadable, std::strerror(error));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        read.version = internal::VersionOf(info);
        return refuse(ReadProblem::NotRegular, internal::NotRegularText(info));
    }
    read.version = internal::VersionOf(info, fd); // holds fd from here on
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxTextFileBytes) {
        return refuse(ReadProblem::TooLarge, internal::kTooLargeText);
    }
    std::string bytes;
    bool tooLarge = false;
    if (!ReadAll(fd, static_cast<std::size_t>(info.st_size), bytes, tooLarge)) {
        return tooLarge ? refuse(ReadProblem::TooLarge, internal::kTooLargeText)
                        : refuse(ReadProblem::Unreadable, std::strerror(errno));
    }
    // As grep and git judge it: a NUL byte is in no text. Other control
    // characters stay in the lines for the caller to judge.
    if (bytes.find('\0') != std::string::npos) {
        return refuse(ReadProblem::NotText, "not a text file");
    }
    std::string_view text = bytes;
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    read.stream = New<TextInputStream>(SplitLines(text));
    return read;
}

Ref<TextInputStream> FolderItem::OpenAsTextFile() const {
    TextRead read = ReadTextFile();
    lastError_ = std::move(read.reason);
    return read.stream;
}

} // namespace fw
