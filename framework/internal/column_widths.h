#pragma once

// Framework-internal: the column widths of a list. Never included outside
// framework/.

#include <string_view>
#include <vector>

namespace fw::internal {

// The widths of `columns` columns that share `room` pixels, from a design's
// ColumnWidths text: comma-separated entries, each a width in pixels ("40"),
// a share of the room ("30%") or "*" (an equal part of what the others
// leave). Columns without an entry count as "*"; an empty text shares the
// room equally. Sharing columns fill the room exactly whenever the others
// leave any; columns of fixed widths alone may leave room beside them.
std::vector<int> ColumnWidths(std::string_view spec, int columns, int room);

} // namespace fw::internal
