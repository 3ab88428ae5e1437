// Reading the preferences when the main window opens and writing them when it
// closes. Nothing else touches the file.

#include "app/main_window.h"
#include "prefs/preferences_format.h"

#include "framework/files.h"
#include "framework/listbox.h"
#include "framework/popup_menu.h"
#include "framework/radio_button.h"
#include "framework/runtime.h"
#include "framework/text.h"
#include "framework/text_field.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

struct StoredPreferences {
    std::string settingsRow;
    std::vector<std::string> diodeRows;
};

// The file's lines: the settings row, then every further line as a diode
// row, an empty line included. None when the file is missing or cannot be
// read, which counts as a first start.
std::optional<StoredPreferences> ReadPreferencesFile() {
    fw::Ref<fw::FolderItem> folder = fw::SpecialFolder::Preferences();
    if (!folder) {
        return std::nullopt;
    }
    fw::Ref<fw::FolderItem> file = fw::GetFolderItem(folder->AbsolutePath() + prefs::kFileName);
    if (!file->Exists()) {
        return std::nullopt;
    }
    fw::Ref<fw::TextInputStream> stream = file->OpenAsTextFile();
    if (!stream) {
        return std::nullopt;
    }
    StoredPreferences stored;
    stored.settingsRow = stream->ReadLine();
    while (!stream->EndOfFile()) {
        stored.diodeRows.push_back(stream->ReadLine());
        fw::RuntimeBackgroundTask();
    }
    stream->Close();
    return stored;
}

std::vector<std::string> DefaultDiodeRows() {
    return {prefs::kDefaultDiodeRows.begin(), prefs::kDefaultDiodeRows.end()};
}

std::string SettingsField(const std::string& settingsRow, int field) {
    return fw::NthField(settingsRow, prefs::kFieldSeparator, field);
}

// The circuit type of the settings row. Anything but a whole number from 0
// to 3 (a hand-edited file, or a "," that once split a field) selects the
// bridge, since no other circuit would be meaningful.
std::int32_t CircuitTypeFrom(const std::string& field) {
    constexpr double kLastCircuitType = 3;
    const double value = fw::Val(field);
    if (value >= 0 && value <= kLastCircuitType && value == std::floor(value)) {
        return static_cast<std::int32_t>(value);
    }
    return 0;
}

} // namespace

void MainWindow::GetPrefs() {
    std::optional<StoredPreferences> stored = ReadPreferencesFile();
    const std::string settingsRow = stored ? stored->settingsRow : prefs::kDefaultSettingsRow;
    std::vector<std::string> diodeRows = stored ? stored->diodeRows : DefaultDiodeRows();
    // A library without a single diode would leave nothing to simulate with.
    if (diodeRows.empty()) {
        diodeRows = DefaultDiodeRows();
    }
    Prefs.insert(Prefs.end(), diodeRows.begin(), diodeRows.end());

    int field = prefs::kFirstInputField;
    for (const char* name : prefs::kInputFieldsInRowOrder) {
        fw::ControlByName<fw::TextField>(*this, name).SetText(SettingsField(settingsRow, field));
        ++field;
    }

    RectType = CircuitTypeFrom(SettingsField(settingsRow, prefs::kCircuitTypeField));
    fw::ControlByNameIndex<fw::RadioButton>(*this, "CktTypeBTN", RectType).SetValue(true);

    // The diode the settings row names is selected; with several of that
    // name the last, with none the first.
    const std::string wanted = SettingsField(settingsRow, prefs::kDiodeNameField);
    auto& diodeMenu = fw::ControlByName<fw::PopupMenu>(*this, "PopupDiodeType");
    int selected = 0;
    for (std::size_t i = 0; i < Prefs.size(); ++i) {
        const std::string name = fw::NthField(Prefs[i], prefs::kFieldSeparator, 1);
        if (name == wanted) {
            selected = static_cast<int>(i);
        }
        diodeMenu.AddRow(name);
        fw::RuntimeBackgroundTask();
    }
    diodeMenu.SetListIndex(selected);
    FillCharacteristicTable(Prefs[static_cast<std::size_t>(selected)]);
}

void MainWindow::SavePrefs() {
    // Without a folder or a writable file there is nowhere to keep the
    // settings; closing goes on, and an earlier file stays as it was.
    fw::Ref<fw::FolderItem> folder = fw::SpecialFolder::Preferences();
    if (!folder) {
        return;
    }
    fw::Ref<fw::TextOutputStream> stream = folder->Child(prefs::kFileName)->CreateTextFile();
    if (!stream) {
        return;
    }
    std::string settingsRow = fw::ControlByName<fw::PopupMenu>(*this, "PopupDiodeType").Text();
    for (const char* name : prefs::kInputFieldsInRowOrder) {
        settingsRow += prefs::kFieldSeparator;
        settingsRow += fw::ControlByName<fw::TextField>(*this, name).Text();
    }
    settingsRow += prefs::kFieldSeparator;
    settingsRow += fw::Str(RectType);
    stream->WriteLine(settingsRow);
    for (const std::string& diodeRow : Prefs) {
        stream->WriteLine(diodeRow);
        fw::RuntimeBackgroundTask();
    }
    // A failed write leaves the previous file whole; there is nothing more
    // the closing program could do about it.
    static_cast<void>(stream->Close());
}
