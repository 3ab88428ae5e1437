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

// Why the place at `folder` is no folder that can be used, in words. Every
// look is a system call that reports its failure, so no path the user
// controls (a link loop, a folder this user may not search) can throw.
std::string NoFolderText(const std::string& folder, const std::error_code& makeError) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        const int cause = errno;
        return cause == ENOENT ? folder + " cannot be made: " + makeError.message()
                               : folder + " cannot be examined: " + std::strerror(cause);
    }
    if (S_ISLNK(info.st_mode)) {
        if (::stat(folder.c_str(), &info) == 0) {
            return folder + " is a link to something else, not a folder";
        }
        const int cause = errno;
        return cause == ENOENT
                   ? folder + " is a link to nothing, not a folder"
                   : folder + " is a link that cannot be followed: " + std::strerror(cause);
    }
    if (S_ISDIR(info.st_mode)) { // replaced meanwhile
        return folder + " cannot be examined: " + makeError.message();
    }
    return folder + " is " + (S_ISREG(info.st_mode) ? "a file" : "something else") +
           ", not a folder";
}

} // namespace

// A place that is no folder and cannot be made one, or that cannot even be
// examined, gives none, so that the built-in settings are shown and no file
// is ever written beside it, or in its place.
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
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        PreferencesProblemText() = NoFolderText(path, error);
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
