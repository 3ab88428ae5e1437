#include "framework/internal/column_widths.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace fw::internal {
namespace {

// Wider than any screen; a wider entry in a design is taken as this.
constexpr int kWidestColumn = 1 << 16; // pixels

// A column's width in pixels, or none when it shares what the others leave.
std::optional<int> FixedWidth(std::string_view entry, int room) {
    while (!entry.empty() && entry.front() == ' ') {
        entry.remove_prefix(1);
    }
    while (!entry.empty() && entry.back() == ' ') {
        entry.remove_suffix(1);
    }
    const bool percent = !entry.empty() && entry.back() == '%';
    if (percent) {
        entry.remove_suffix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), value);
    if (entry.empty() || error != std::errc() || end != entry.data() + entry.size() || value < 0) {
        return std::nullopt;
    }
    if (percent) {
        return static_cast<int>(static_cast<long long>(room) * std::min(value, 100) / 100);
    }
    return std::min(value, kWidestColumn);
}

} // namespace

std::vector<int> ColumnWidths(std::string_view spec, int columns, int room) {
    if (columns <= 0) {
        return {};
    }
    room = std::max(room, 0);
    std::vector<std::optional<int>> fixed(static_cast<std::size_t>(columns));
    std::size_t column = 0;
    while (!spec.empty() && column < fixed.size()) {
        const std::size_t comma = spec.find(',');
        fixed[column++] = FixedWidth(spec.substr(0, comma), room);
        spec = comma == std::string_view::npos ? std::string_view() : spec.substr(comma + 1);
    }
    long long used = 0;
    int shared = 0;
    for (const auto& width : fixed) {
        if (width) {
            used += *width;
        } else {
            ++shared;
        }
    }
    const int left = static_cast<int>(std::max(room - used, 0LL));
    std::vector<int> widths;
    widths.reserve(fixed.size());
    int lastShared = -1;
    for (std::size_t i = 0; i < fixed.size(); ++i) {
        if (fixed[i]) {
            widths.push_back(*fixed[i]);
        } else {
            widths.push_back(left / shared);
            lastShared = static_cast<int>(i);
        }
    }
    // What the equal parts leave over goes to the last sharing column.
    if (lastShared >= 0) {
        widths[static_cast<std::size_t>(lastShared)] += left % shared;
    }
    return widths;
}

} // namespace fw::internal
