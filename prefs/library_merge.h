#pragma once

// Two copies of the program may run on one preferences file. Each rewrites
// the file when it closes, so a copy must not write back its own stale view
// of the diode library over what another copy saved meanwhile: it writes
// back only what it changed itself, on top of what the file holds now.

#include <cstddef>
#include <string>
#include <vector>

namespace prefs {

using DiodeRows = std::vector<std::string>;

// For each of `from`'s rows, the index of the same row in `to`, or -1 where
// `to` no longer has it: the rows kept form a longest common subsequence
// (Myers' algorithm, whose cost grows with the number of edits, so a long
// library with a few edits is cheap).
std::vector<std::ptrdiff_t> KeptRows(const DiodeRows& from, const DiodeRows& to);

// The diode rows to save: `onDisk`, what the file holds now, with this
// copy's own edits (from `read`, what it read at start, to `current`, its
// library now) applied on top. A row this copy added goes after the row it
// followed; a row it deleted or changed is taken out where the file still has
// it as read. Where both copies changed one diode, both versions are kept; a
// row both copies added alike is kept once.
DiodeRows MergeDiodeRows(const DiodeRows& read, const DiodeRows& current, const DiodeRows& onDisk);

} // namespace prefs
