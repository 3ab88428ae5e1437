#pragma once

// Helpers for tests that drive the real program headless: starting it as its
// start-up does, finding controls, and the preferences file on disk (in the
// per-process configuration folder that the test main sets up).

#include "app/main_window.h"

#include "framework/window.h"

#include <Qt>

#include <functional>
#include <string>
#include <vector>

class QWidget;
class VIwindow;

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
// Its lines (or those of the file at `path`), split at line feeds, without a
// final empty line.
std::vector<std::string> ReadPreferencesFile(const std::string& path = PreferencesFilePath());
// Writes the lines, each ended by a line feed.
void WritePreferencesFile(const std::vector<std::string>& lines);

// What a user sees of the stored settings: the nine input texts in the order
// of the settings row, the selected circuit type (-1 for none), the diode
// menu's rows and selection, and the table's rows as "voltage|current".
struct WindowState {
    std::vector<std::string> fields;
    int circuit = -1;
    std::vector<std::string> menuRows;
    int selected = -1;
    std::vector<std::string> table;

    friend bool operator==(const WindowState&, const WindowState&) = default;
    friend void PrintTo(const WindowState& state, std::ostream* out);
};
WindowState StateOf(const MainWindow& window);

// The file that closing after a first start writes: the default settings
// row and the three built-in diodes.
inline const std::vector<std::string> kDefaultFile = {
    "1N4004,60,0,12,5,120,5,51,.2,3300,0",
    "1N4004,.5,0,.7,.01,.8,.12,.9,.7,1,2,1.1,3.2,1.2,5.2,1.3,7.3,1.4,10.5",
    "1N4148,.5,0,.6,.001,.7,.008,.75,.018,.8,.032,.9,.08,1,.14,1.1,.21,1.2,.3",
    "SS2H9 (Sch),.3,0,.4,.01,.5,.105,.6,.58,.7,2,.8,4.8,.9,10,1,18,1.1,27,1.2,35",
};

// The state of a first start: the built-in defaults.
WindowState DefaultState();

// Closes the main window as its close box does; that writes the file.
void CloseMainWindow();

// Opens the diode editor with "New" (row -1) or with "Edit" on that row of
// the diode menu, lets `edit` change what it shows, and presses "Save".
void SaveInTheEditor(MainWindow& window, int row, const std::function<void(VIwindow&)>& edit);

// The control of the window that has the keyboard focus (itself or a widget
// inside it, such as a list's cell editor), as "name" or "name(index)"; "?"
// when none has.
std::string FocusedControl(const fw::Window& window);
// Presses the key `count` times, each time where the focus is, and returns
// the control that has the focus after each press.
std::vector<std::string> PressAndFollowTheFocus(const fw::Window& window, int key,
                                                Qt::KeyboardModifiers modifiers, int count);

// From now on every warning box is answered with OK as soon as it shows, and
// its text is kept for WarningsShown. A box that comes up while the program
// holds a file of the configuration folder open (a lock, a file it read or
// was writing) fails the test.
void AnswerWarnings();
// The texts of the warning boxes shown since the last call, oldest first;
// posted events are let run first (RunPostedEvents), so a box due at
// start-up is among them.
std::vector<std::string> WarningsShown();

// Lets queued events (paints, activations, deferred deletions) happen.
void ProcessEvents();
// Runs the event loop until the events posted so far have run, and those
// they post in turn, `rounds` deep: each round posts a marker behind what is
// queued and waits, up to a generous bound, until it is handled. Rounds, not
// time, so a busy machine makes it slower, never wrong. False when a round
// timed out.
bool RunPostedEvents(int rounds = 3);

} // namespace testing_support
