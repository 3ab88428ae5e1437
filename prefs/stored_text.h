#pragma once

// What the preferences file may hold. A field with the separator in it would
// split its row, a line break would split the file's lines, and a control
// character would make the whole file unreadable as text at the next start;
// so such characters never reach the file, whatever put them into a control.

#include <string>
#include <string_view>

namespace prefs {

// The field without separators, line breaks and control characters but tab;
// the rest of it, and so every other field of its row, keeps its place.
std::string StorableField(std::string_view text);

// A whole row (its separators are its own) without line breaks and control
// characters but tab.
std::string StorableRow(std::string_view row);

} // namespace prefs
