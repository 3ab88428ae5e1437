#pragma once

// Helpers for tests that drive the real program headless: starting it as its
// start-up does, finding controls, and the preferences file on disk (in the
// per-process configuration folder that the test main sets up).

#include "app/main_window.h"

#include "framework/window.h"

#include <Qt>

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

// The control of the window that has the keyboard focus (itself or a widget
// inside it, such as a list's cell editor), as "name" or "name(index)"; "?"
// when none has.
std::string FocusedControl(const fw::Window& window);
// Presses the key `count` times, each time where the focus is, and returns
// the control that has the focus after each press.
std::vector<std::string> PressAndFollowTheFocus(const fw::Window& window, int key,
                                                Qt::KeyboardModifiers modifiers, int count);

// Lets queued events (paints, activations, deferred deletions) happen.
void ProcessEvents(int milliseconds = 0);

} // namespace testing_support
