#pragma once

#include <functional>

namespace prefs {

// Runs, when set, each time closing has read the preferences file again and
// before it replaces it. Tests stop a copy of the program there, as a slow
// disk or a stopped process would, to show that no other copy's save that
// comes meanwhile is lost.
inline std::function<void()> AfterRereadingForSave;

} // namespace prefs
