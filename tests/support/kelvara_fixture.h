#pragma once

// Helpers for tests that drive the real program headless: starting it as its
// start-up does, finding controls, and the preferences file on disk (in the
// per-process configuration folder that the test main sets up).

#include "app/main_window.h"

#include "framework/window.h"

#include <string>
#include <vector>

class QWidget;

namespace testing_support {

// Runs the program's start-up routine: document type, application object
// with its menu bar, and the main window, opened (its Open handler has run).
MainWindow& StartKelvara();

// The control of that name (and index) in the window, of kind T.
template <class T>
T& Find(const fw::Window& window, const char* name) {
    return fw::ControlByName<T>(window, name);
}
template <class T>
T& Find(const fw::Window& window, const char* name, int index) {
    return fw::ControlByNameIndex<T>(window, name, index);
}

// The preferences file "KelvaraPrefs.txt" in the configuration folder.
std::string PreferencesFilePath();
bool PreferencesFileExists();
// Its lines, split at line feeds, without a final empty line.
std::vector<std::string> ReadPreferencesFile();
// Writes the lines, each ended by a line feed.
void WritePreferencesFile(const std::vector<std::string>& lines);

// Lets queued events (paints, activations, deferred deletions) happen.
void ProcessEvents(int milliseconds = 0);

} // namespace testing_support
