// Reading the preferences when the main window opens and writing them when it
// closes. Nothing else touches the file.

#include "app/main_window.h"
#include "prefs/library_merge.h"
#include "prefs/preferences_format.h"
#include "prefs/stored_text.h"

#include "framework/file_lock.h"
#include "framework/files.h"
#include "framework/listbox.h"
#include "framework/popup_menu.h"
#include "framework/radio_button.h"
#include "framework/runtime.h"
#include "framework/text.h"
#include "framework/text_field.h"

#include <chrono>
#include <cmath>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

struct StoredPreferences {
    std::string settingsRow;
    std::vector<std::string> diodeRows;
};

// How long closing waits for another copy of the program that is saving.
constexpr std::chrono::milliseconds kLockWait{5000};

fw::Ref<fw::FolderItem> PreferencesFile() {
    fw::Ref<fw::FolderItem> folder = fw::SpecialFolder::Preferences();
    if (!folder) {
        return nullptr;
    }
    return fw::GetFolderItem(folder->AbsolutePath() + prefs::kFileName);
}

// The file's lines: the settings row, then every further line as a diode
// row, an empty line included. None when the file is missing or cannot be
// read as text (a pipe, a device, a huge or binary file), which counts as a
// first start.
std::optional<StoredPreferences> ReadPreferencesFile(const fw::Ref<fw::FolderItem>& file) {
    if (!file || !file->Exists()) {
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

// The closing program cannot show a message any more; standard error is
// where the user or a launcher finds out that the settings were not kept.
void ReportSaveFailure(const std::string& path, const std::string& reason) {
    std::cerr << "Kelvara: the preferences could not be saved to " << path << ": " << reason
              << "\n";
}

// The settings row: the selected diode's name, the nine input texts and the
// circuit type. What a control holds is stored without the characters the
// file cannot keep, however it got into the control.
std::string SettingsRowOf(const MainWindow& window) {
    std::string row =
        prefs::StorableField(fw::ControlByName<fw::PopupMenu>(window, "PopupDiodeType").Text());
    for (const char* name : prefs::kInputFieldsInRowOrder) {
        row += prefs::kFieldSeparator;
        row += prefs::StorableField(fw::ControlByName<fw::TextField>(window, name).Text());
    }
    row += prefs::kFieldSeparator;
    row += fw::Str(window.RectType);
    return row;
}

} // namespace

void MainWindow::GetPrefs() {
    std::optional<StoredPreferences> stored = ReadPreferencesFile(PreferencesFile());
    PrefsAsRead = stored ? stored->diodeRows : std::vector<std::string>();
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

// The file is rewritten whole, under a lock against other copies of the
// program: the diode rows that another copy saved since this one started are
// read again and kept, with this copy's own changes applied on top; the
// settings row is this copy's, so the last to close sets the circuit.
void MainWindow::SavePrefs() {
    fw::Ref<fw::FolderItem> file = PreferencesFile();
    if (!file) {
        ReportSaveFailure(prefs::kFileName, "there is no preferences folder");
        return;
    }
    const std::string path = file->AbsolutePath();
    fw::FileLock lock(path);
    if (!lock.TryLock(kLockWait)) {
        // Saving anyway keeps this copy's changes; only a copy saving at the
        // very same moment could then lose its own.
        std::cerr << "Kelvara: saving " << path << " without the lock: " << lock.ErrorText()
                  << "\n";
    }
    const std::optional<StoredPreferences> onDisk = ReadPreferencesFile(file);
    const prefs::DiodeRows diodeRows =
        prefs::MergeDiodeRows(PrefsAsRead, Prefs, onDisk ? onDisk->diodeRows : prefs::DiodeRows());

    // A failed write leaves the previous file whole.
    fw::Ref<fw::TextOutputStream> stream = file->CreateTextFile();
    if (!stream) {
        ReportSaveFailure(path, file->LastErrorText());
        return;
    }
    stream->WriteLine(SettingsRowOf(*this));
    for (const std::string& diodeRow : diodeRows) {
        stream->WriteLine(prefs::StorableRow(diodeRow));
        fw::RuntimeBackgroundTask();
    }
    if (!stream->Close()) {
        ReportSaveFailure(path, stream->ErrorText());
    }
}
