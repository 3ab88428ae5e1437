#pragma once

// The diode editor's two modes, as the main window's buttons set them, and
// the name a new diode starts with.

namespace diode_editor {

inline constexpr const char* kModeNew = "New";
inline constexpr const char* kModeEdit = "Edit";
inline constexpr const char* kNewDiodeName = "New";

// The columns of the editor's table, the same as those of the main window's
// characteristic table; row r holds point r.
inline constexpr int kVoltageColumn = 0;
inline constexpr int kCurrentColumn = 1;

} // namespace diode_editor
