#include "framework/files.h"

#include "framework/internal/qt_bridge.h"
#include "framework/picture.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QStandardPaths>
#include <QString>
#include <QStringDecoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

namespace fw {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr const char* kTooLarge = "larger than any text file of the program";

// The bytes of a regular file of at most kMaxTextFileBytes, or none with the
// reason in `error`. Opened without blocking, so that a pipe or a device in
// the file's place is turned away instead of waited on or read without end.
std::optional<std::string> ReadRegularFile(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    if (S_ISDIR(info.st_mode)) {
        error = "is a folder";
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "not a regular file";
        return std::nullopt;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxTextFileBytes) {
        error = kTooLarge;
        return std::nullopt;
    }
    // One byte more than the size tells a file that grew meanwhile.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t count = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            error = std::strerror(errno);
            return std::nullopt;
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
        if (filled == bytes.size() && filled <= kMaxTextFileBytes) {
            bytes.resize(std::min(bytes.size() * 2, kMaxTextFileBytes + 1));
        }
    }
    if (filled > kMaxTextFileBytes) {
        error = kTooLarge;
        return std::nullopt;
    }
    bytes.resize(filled);
    return bytes;
}

// Text holds no control characters but tab and the line endings: a NUL or
// an escape byte means the file is something else, not a damaged text.
bool IsText(std::string_view bytes) {
    return std::none_of(bytes.begin(), bytes.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7F;
    });
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

// ---- Text output -----------------------------------------------------------

// QSaveFile writes into a temporary file beside the target and renames it over
// the target only on commit, so the old file survives every failure.
struct TextOutputStream::Impl {
    explicit Impl(const QString& path)
        : file(path) {
        file.open(QIODevice::WriteOnly);
    }
    // Keeps the reason of a write or flush that just failed. Qt words a
    // failed write of its buffer "Unknown error"; the system's reason is
    // still in errno then.
    void NoteWriteError(int code) {
        if (error.isEmpty()) {
            error = code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : file.errorString();
        }
    }
    // Gives up the new file.
    void Fail() {
        file.cancelWriting();
        closed = false;
    }
    QSaveFile file;
    bool writeFailed = false;
    QString error;
    std::optional<bool> closed; // the result of Close once it has run
};

TextOutputStream::TextOutputStream(std::string path)
    : impl_(std::make_unique<Impl>(ToQString(path))) {}

TextOutputStream::~TextOutputStream() {
    if (!impl_->closed && impl_->file.isOpen()) {
        impl_->file.cancelWriting();
    }
}

void TextOutputStream::WriteLine(std::string_view text) {
    if (impl_->closed || !impl_->file.isOpen() || impl_->writeFailed) {
        return;
    }
    QByteArray line(text.data(), static_cast<qsizetype>(text.size()));
    line.append('\n');
    errno = 0;
    if (impl_->file.write(line) != line.size()) {
        impl_->writeFailed = true;
        impl_->NoteWriteError(errno);
    }
}

bool TextOutputStream::Close() {
    if (!impl_->closed) {
        if (!impl_->file.isOpen()) {
            impl_->closed = false;
        } else if (impl_->writeFailed) {
            impl_->Fail();
        } else if (errno = 0; !impl_->file.flush()) {
            // Flushed here because commit would flush as well but overlook a
            // failure there, and put a cut-off file in place of the old one.
            impl_->NoteWriteError(errno);
            impl_->Fail();
        } else {
            // Commit fails, and removes the temporary file, when the rename fails.
            impl_->closed = impl_->file.commit();
            if (!*impl_->closed) {
                impl_->error = impl_->file.errorString();
            }
        }
    }
    return *impl_->closed;
}

std::string TextOutputStream::ErrorText() const {
    return impl_->error.toStdString();
}

// ---- Folder items ----------------------------------------------------------

FolderItem::FolderItem(std::string path) {
    const QString given = ToQString(path);
    const QString absolute =
        given.isEmpty() ? QDir::currentPath() : QFileInfo(given).absoluteFilePath();
    path_ = QDir::cleanPath(absolute).toStdString();
}

std::string FolderItem::AbsolutePath() const {
    if (IsFolder() && path_.back() != '/') {
        return path_ + '/';
    }
    return path_;
}

std::string FolderItem::Name() const {
    return QFileInfo(ToQString(path_)).fileName().toStdString();
}

bool FolderItem::Exists() const {
    return QFileInfo::exists(ToQString(path_));
}

bool FolderItem::IsFolder() const {
    return QFileInfo(ToQString(path_)).isDir();
}

Ref<FolderItem> FolderItem::Child(std::string_view name) const {
    const std::string separator = path_.back() == '/' ? "" : "/";
    return New<FolderItem>(path_ + separator + std::string(name));
}

Ref<FolderItem> FolderItem::Parent() const {
    if (QDir(ToQString(path_)).isRoot()) {
        return nullptr;
    }
    return New<FolderItem>(QFileInfo(ToQString(path_)).absolutePath().toStdString());
}

Ref<TextInputStream> FolderItem::OpenAsTextFile() const {
    lastError_.clear();
    const std::optional<std::string> bytes = ReadRegularFile(path_, lastError_);
    if (!bytes) {
        return nullptr;
    }
    if (!IsText(*bytes)) {
        lastError_ = "not a text file";
        return nullptr;
    }
    return New<TextInputStream>(SplitLines(*bytes));
}

Ref<TextOutputStream> FolderItem::CreateTextFile() const {
    lastError_.clear();
    // The new file is renamed into the old one's place, which must not
    // happen to a folder, a pipe or a device, even one reached by a link.
    struct stat info {};
    if (::stat(path_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        lastError_ = S_ISDIR(info.st_mode) ? "is a folder" : "not a regular file";
        return nullptr;
    }
    Ref<TextOutputStream> stream = New<TextOutputStream>(path_);
    if (!stream->impl_->file.isOpen()) {
        lastError_ = stream->impl_->file.errorString().toStdString();
        return nullptr;
    }
    return stream;
}

Ref<Picture> FolderItem::OpenAsPicture() const {
    if (IsFolder()) {
        return nullptr;
    }
    // The content decides the format, so that a PNG under any name reads.
    QImageReader reader(ToQString(path_));
    reader.setDecideFormatFromContent(true);
    return internal::PictureFromImage(reader.read());
}

Ref<FolderItem> GetFolderItem(std::string_view path) {
    return New<FolderItem>(std::string(path));
}

namespace SpecialFolder {

Ref<FolderItem> Preferences() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty()) {
        return nullptr;
    }
    QDir().mkpath(folder); // a failure shows later, when a file cannot be written
    return New<FolderItem>(folder.toStdString());
}

} // namespace SpecialFolder

Ref<FolderItem> _GetApplicationBundleResources() {
    if (QCoreApplication::instance() == nullptr) {
        return nullptr;
    }
    const QString folder =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../Resources");
    if (!QFileInfo(folder).isDir()) {
        return nullptr;
    }
    return New<FolderItem>(folder.toStdString());
}

} // namespace fw
