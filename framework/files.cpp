#include "framework/files.h"

#include "framework/internal/qt_bridge.h"
#include "framework/picture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>
#include <QString>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fw {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

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
namespace {

std::string& PreferencesProblemText() {
    static std::string text;
    return text;
}

// What stands at `folder` instead of a folder, in words.
std::string NotAFolderText(const std::string& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        return std::strerror(errno);
    }
    if (S_ISLNK(info.st_mode)) {
        return ::stat(folder.c_str(), &info) != 0 ? "a link to nothing"
                                                  : "a link to something else";
    }
    return S_ISREG(info.st_mode) ? "a file" : "something else";
}

} // namespace

// A place that is no folder and cannot be made one gives none, so that no
// file is ever written beside it, or in its place.
Ref<FolderItem> Preferences() {
    PreferencesProblemText().clear();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty()) {
        PreferencesProblemText() = "there is no configuration folder";
        return nullptr;
    }
    const std::string path = folder.toStdString();
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (!std::filesystem::is_directory(path)) {
        const bool taken = std::filesystem::exists(std::filesystem::symlink_status(path));
        PreferencesProblemText() = taken ? path + " is " + NotAFolderText(path) + ", not a folder"
                                         : path + " cannot be made: " + error.message();
        return nullptr;
    }
    return New<FolderItem>(path);
}

std::string PreferencesProblem() {
    return PreferencesProblemText();
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
