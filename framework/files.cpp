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

#include <optional>

namespace fw {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The lines of a text, each without its ending (LF, CR LF or a lone CR). A
// final line ending ends the last line and does not start an empty one.
std::vector<std::string> SplitLines(const QByteArray& bytes) {
    std::vector<std::string> lines;
    std::string_view rest(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            lines.emplace_back(rest);
            break;
        }
        lines.emplace_back(rest.substr(0, end));
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
    QSaveFile file;
    bool writeFailed = false;
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
    if (impl_->file.write(line) != line.size()) {
        impl_->writeFailed = true;
    }
}

bool TextOutputStream::Close() {
    if (!impl_->closed) {
        if (!impl_->file.isOpen()) {
            impl_->closed = false;
        } else if (impl_->writeFailed) {
            impl_->file.cancelWriting();
            impl_->closed = false;
        } else if (!impl_->file.flush()) {
            // Flushed here because commit would flush as well but overlook a
            // failure there, and put a cut-off file in place of the old one.
            impl_->file.cancelWriting();
            impl_->closed = false;
        } else {
            // Commit fails, and removes the temporary file, when the rename fails.
            impl_->closed = impl_->file.commit();
        }
    }
    return *impl_->closed;
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
    QFile file(ToQString(path_));
    if (IsFolder() || !file.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return nullptr;
    }
    return New<TextInputStream>(SplitLines(bytes));
}

Ref<TextOutputStream> FolderItem::CreateTextFile() const {
    if (IsFolder()) {
        return nullptr;
    }
    Ref<TextOutputStream> stream = New<TextOutputStream>(path_);
    if (!stream->impl_->file.isOpen()) {
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
