// Reading the preferences when the main window opens and writing them when it
// closes. Nothing else touches the file.

#include "app/main_window.h"
#include "prefs/library_merge.h"
#include "prefs/preferences_format.h"
#include "prefs/preferences_report.h"
#include "prefs/save_seam.h"
#include "prefs/stored_preferences.h"
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
#include <optional>
#include <string>
#include <vector>

namespace {

// How long closing waits for another copy of the program that is saving.
constexpr std::chrono::milliseconds kLockWait{5000};
// How often closing reads the file again when another copy keeps saving
// between its reading and its replacing; far more than two copies need.
constexpr int kSaveAttempts = 16;

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

// The selected diode's name, the nine input texts and the circuit type. What
// a control holds is stored without the characters the file cannot keep,
// however it got into the control.
std::string MainWindow::SettingsRow() const {
    std::string row =
        prefs::StorableField(fw::ControlByName<fw::PopupMenu>(*this, "PopupDiodeType").Text());
    for (const char* name : prefs::kInputFieldsInRowOrder) {
        row += prefs::kFieldSeparator;
        row += prefs::StorableField(fw::ControlByName<fw::TextField>(*this, name).Text());
    }
    row += prefs::kFieldSeparator;
    row += fw::Str(RectType);
    return row;
}

void MainWindow::GetPrefs() {
    const fw::Ref<fw::FolderItem> file = prefs::PreferencesFile();
    const prefs::PreferencesRead read = prefs::ReadPreferences(file);
    if (!file) {
        prefs::ReportNoFolderAtStart(*this, fw::SpecialFolder::PreferencesProblem());
    } else if (read.problem != fw::ReadProblem::None && read.problem != fw::ReadProblem::Missing) {
        prefs::ReportUnreadableAtStart(*this, *file, read);
    }
    const std::string settingsRow =
        read.stored ? read.stored->settingsRow : prefs::kDefaultSettingsRow;
    Prefs = prefs::LibraryOf(read.stored);
    PrefsAsRead = Prefs;

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

namespace {

// Writes the file under the lock; what went wrong, if anything. The lock and
// every file the save opened are let go when this returns, before any box
// can keep the user: another copy that closes meanwhile then saves under the
// lock, not after waiting for it in vain.
std::optional<prefs::SaveFailure> SaveUnderLock(const MainWindow& window,
                                                const fw::Ref<fw::FolderItem>& file,
                                                const std::string& path) {
    fw::FileLock lock(path);
    if (lock.TryLock(kLockWait)) {
        file->RemoveLeftoverWrites();
    } else {
        // Saving anyway keeps this copy's changes, and the replacing below
        // still keeps what the holder saves.
        prefs::ReportSavingWithoutLock(path, lock.ErrorText());
    }
    const std::string ownRow = window.SettingsRow();
    // Where the file that stood at the path went, once a keep moved it.
    fw::Ref<fw::FolderItem> kept;
    const auto failure = [&](std::string reason) {
        const bool moved = kept && !file->Exists();
        return prefs::SaveFailure{std::move(reason), moved ? kept->AbsolutePath() : ""};
    };
    for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
        const prefs::PreferencesRead onDisk = prefs::ReadPreferences(file);
        if (prefs::AfterRereadingForSave) {
            prefs::AfterRereadingForSave();
        }
        // A folder or a pipe in the file's place is never replaced.
        if (onDisk.problem == fw::ReadProblem::NotRegular) {
            return prefs::SaveFailure{prefs::ProblemInWords(*file, onDisk), "", false};
        }
        if (const char* suffix = prefs::KeptCopySuffix(onDisk.problem)) {
            kept = file->KeepBeside(suffix);
            if (!kept) {
                return failure("it cannot be read (" + onDisk.reason +
                               ") and could not be kept aside: " + file->LastErrorText());
            }
            prefs::ReportKeptAtClose(path, onDisk.reason, *kept);
        }
        const bool idle = ownRow == window.SettingsRowAtStart && onDisk.stored;
        const std::string& settingsRow = idle ? onDisk.stored->settingsRow : ownRow;
        const prefs::DiodeRows diodeRows =
            onDisk.stored ? prefs::MergeDiodeRows(window.PrefsAsRead, window.Prefs,
                                                  prefs::LibraryOf(onDisk.stored))
                          : window.Prefs;

        // A failed write leaves the previous file whole.
        fw::Ref<fw::TextOutputStream> stream = file->CreateTextFile();
        if (!stream) {
            return failure(file->LastErrorText());
        }
        stream->WriteLine(settingsRow);
        for (const std::string& diodeRow : diodeRows) {
            stream->WriteLine(prefs::StorableRow(diodeRow));
            fw::RuntimeBackgroundTask();
        }
        switch (stream->CloseIfUnchanged(onDisk.version)) {
        case fw::TextOutputStream::Outcome::Replaced:
            return std::nullopt;
        case fw::TextOutputStream::Outcome::Failed:
            return failure(stream->ErrorText());
        case fw::TextOutputStream::Outcome::Changed:
            break;
        }
    }
    return failure("other copies of the program kept saving it meanwhile");
}

} // namespace

// The file is rewritten whole, under a lock against other copies of the
// program. The diode rows that another copy saved since this one started are
// read again and kept, with this copy's own changes applied on top; a file
// that is missing or unreadable by then takes this copy's whole library. The
// settings row is one record: a copy that changed it saves its own, so the
// last to close after a change sets the circuit; a copy that left it as it
// started saves the row the file holds now, so that an idle copy never undoes
// another's design. Should another copy save between this one's reading and
// its replacing (it waited for the lock in vain), the replacing notices, and
// the file is read and merged again.
void MainWindow::SavePrefs() {
    const fw::Ref<fw::FolderItem> file = prefs::PreferencesFile();
    if (!file) {
        prefs::ReportNoFolderAtClose(*this, fw::SpecialFolder::PreferencesProblem());
        return;
    }
    const std::string path = prefs::PathOf(*file);
    if (const std::optional<prefs::SaveFailure> failure = SaveUnderLock(*this, file, path)) {
        prefs::ReportSaveFailure(*this, path, *failure);
    }
}
