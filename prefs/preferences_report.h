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
// The start's reports note in the window what they told, for the close.
void ReportUnreadableAtStart(MainWindow& window, const fw::FolderItem& file,
                             const PreferencesRead& read);
// Start-up: there is no preferences folder to read from or save to.
void ReportNoFolderAtStart(MainWindow& window, const std::string& problem);

// Why a file that is there cannot be read, as a clause of a sentence ("it
// is a folder").
std::string ProblemInWords(const fw::FolderItem& file, const PreferencesRead& read);

// What a save that failed tells the user: why, and what became of the file.
struct SaveFailure {
    std::string reason; // as a clause of a sentence
    // Where the file that stood at the path is kept, when keeping it aside
    // had to move it (the file system could not link it); empty otherwise.
    std::string keptAs;
    // False when the path holds something a save never replaces (a folder,
    // a pipe): nothing was saved, and the file on disk is no file.
    bool replacesAFile = true;
};

// Closing: the save failed. Told once the save has let go of the lock and of
// every file, so that a box left waiting holds up no other copy. Something in
// the file's place that the start's box told already goes to standard error
// alone.
void ReportSaveFailure(MainWindow& window, const std::string& path, const SaveFailure& failure);
// Closing: there is no preferences folder, so nothing was written. In a box
// too, unless the start's box told this very problem: the folder may have
// broken while the program ran.
void ReportNoFolderAtClose(MainWindow& window, const std::string& problem);

// Closing went on and saved; these are for standard error only.
void ReportSavingWithoutLock(const std::string& path, const std::string& why);
void ReportKeptAtClose(const std::string& path, const std::string& reason,
                       const fw::FolderItem& kept);

} // namespace prefs
