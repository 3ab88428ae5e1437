#include "framework/files.h"

#include "framework/internal/qt_bridge.h"
#include "framework/picture.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QStandardPaths>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace fw {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

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
