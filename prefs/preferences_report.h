#pragma once

// What the program tells the user about its preferences file. Every message
// goes to standard error; those the user must act on, or would otherwise
// miss (the settings they had are not shown, or their changes were not
// saved), also come up in a warning box over the main window.

#include "prefs/stored_preferences.h"

#include "framework/files.h"

#include <string>

class MainWindow;

namespace prefs {

// Start-up: the file is there but cannot be read, so the built-in settings
// are shown. Says where its bytes will be kept, or that it is left alone.
void ReportUnreadableAtStart(MainWindow& window, const fw::FolderItem& file,
                             const PreferencesRead& read);
// Start-up: there is no preferences folder to read from or save to.
void ReportNoFolderAtStart(MainWindow& window, const std::string& problem);

// Closing: the save failed and the file on disk is as it was.
void ReportSaveFailure(MainWindow& window, const std::string& path, const std::string& reason);
// Closing: there is no preferences folder, so nothing was written.
void ReportNoFolderAtClose(MainWindow& window, const std::string& problem);

// Closing went on and saved; these are for standard error only.
void ReportSavingWithoutLock(const std::string& path, const std::string& why);
void ReportKeptAtClose(const std::string& path, const std::string& reason,
                       const fw::FolderItem& kept);

} // namespace prefs
