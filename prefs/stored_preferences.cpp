#include "prefs/stored_preferences.h"

#include "prefs/preferences_format.h"
#include "prefs/stored_text.h"

#include "framework/runtime.h"

#include <utility>

namespace prefs {

fw::Ref<fw::FolderItem> PreferencesFile() {
    fw::Ref<fw::FolderItem> folder = fw::SpecialFolder::Preferences();
    if (!folder) {
        return nullptr;
    }
    return folder->Child(kFileName);
}

std::string PathOf(const fw::FolderItem& file) {
    std::string path = file.AbsolutePath();
    if (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

PreferencesRead ReadPreferences(const fw::Ref<fw::FolderItem>& file) {
    if (!file) {
        return {std::nullopt, fw::ReadProblem::Missing, "there is no preferences folder", {}};
    }
    fw::FolderItem::TextRead read = file->ReadTextFile();
    PreferencesRead result{std::nullopt, read.problem, std::move(read.reason),
                           std::move(read.version)};
    if (!read.stream) {
        return result;
    }
    StoredPreferences stored;
    stored.settingsRow = StorableRow(read.stream->ReadLine());
    while (!read.stream->EndOfFile()) {
        stored.diodeRows.push_back(StorableRow(read.stream->ReadLine()));
        fw::RuntimeBackgroundTask();
    }
    read.stream->Close();
    result.stored = std::move(stored);
    return result;
}

DiodeRows LibraryOf(const std::optional<StoredPreferences>& stored) {
    if (stored && !stored->diodeRows.empty()) {
        return stored->diodeRows;
    }
    return {kDefaultDiodeRows.begin(), kDefaultDiodeRows.end()};
}

const char* KeptCopySuffix(fw::ReadProblem problem) {
    switch (problem) {
    case fw::ReadProblem::NotText:
        return "not-text";
    case fw::ReadProblem::TooLarge:
        return "too-large";
    case fw::ReadProblem::Unreadable:
        return "unreadable";
    case fw::ReadProblem::None:
    case fw::ReadProblem::Missing:
    case fw::ReadProblem::NotRegular:
        break;
    }
    return nullptr;
}

} // namespace prefs
