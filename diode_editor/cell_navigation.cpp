// The editor's table behaves like a small grid: a click opens a cell for
// editing, the arrows and Tab move the editing from cell to cell, and no row
// ever stays selected.

#include "app/main_window.h"
#include "diode_editor/editor_modes.h"
#include "diode_editor/vi_window.h"
#include "prefs/preferences_format.h"

#include "framework/listbox.h"
#include "framework/runtime.h"
#include "framework/text.h"
#include "framework/text_field.h"

#include <optional>

using diode_editor::kCurrentColumn;
using diode_editor::kVoltageColumn;

namespace {

// Selects the whole text of any cell up to this many characters, so that the
// first key typed replaces the value.
constexpr int kCellSelectionLength = 99;

constexpr int kFirstRow = 0;
constexpr int kLastRow = MainWindow::kDiodePoints - 1;

// Codes of the keys that move the editing, as the cell editor reports them.
constexpr int kTab = 9;
constexpr int kLeftArrow = 28;
constexpr int kRightArrow = 29;
constexpr int kUpArrow = 30;
constexpr int kDownArrow = 31;

struct Cell {
    int row;
    int column;
};

// One rule of the key table: a key, the cells it applies to, and the cell it
// moves the editing to.
struct CellMove {
    int key;
    bool (*appliesTo)(Cell from);
    Cell (*target)(Cell from);
};

// Tried from the top; the first rule that applies moves the editing. The
// arrows stop at the edges of the table; Tab walks the cells in reading
// order and wraps from the last cell to the first.
// clang-format off
constexpr CellMove kMoves[] = {
    {kLeftArrow,  [](Cell c) { return c.column == kCurrentColumn; },
                  [](Cell c) { return Cell{c.row, kVoltageColumn}; }},
    {kRightArrow, [](Cell c) { return c.column == kVoltageColumn; },
                  [](Cell c) { return Cell{c.row, kCurrentColumn}; }},
    {kUpArrow,    [](Cell c) { return c.row > kFirstRow; },
                  [](Cell c) { return Cell{c.row - 1, c.column}; }},
    {kDownArrow,  [](Cell c) { return c.row < kLastRow; },
                  [](Cell c) { return Cell{c.row + 1, c.column}; }},
    {kTab,        [](Cell c) { return c.column == kVoltageColumn; },
                  [](Cell c) { return Cell{c.row, kCurrentColumn}; }},
    {kTab,        [](Cell c) { return c.column != kVoltageColumn && c.row < kLastRow; },
                  [](Cell c) { return Cell{c.row + 1, kVoltageColumn}; }},
    {kTab,        [](Cell c) { return c.column != kVoltageColumn && c.row == kLastRow; },
                  [](Cell)   { return Cell{kFirstRow, kVoltageColumn}; }},
};
// clang-format on

std::optional<Cell> CellAfterKey(Cell from, int key) {
    for (const CellMove& move : kMoves) {
        if (move.key == key && move.appliesTo(from)) {
            return move.target(from);
        }
    }
    return std::nullopt;
}

} // namespace

void VIwindow::OpenCell(int row, int column) {
    auto& table = fw::ControlByName<fw::Listbox>(*this, "VIListbox");
    table.EditCell(row, column);
    // A point's texts are fields of the saved diode row: a separator typed or
    // pasted into one would split the row and shift the later points.
    table.ActiveCell().SetRefusedCharacters(prefs::kFieldSeparator);
    table.ActiveCell().SetBold(true);
    table.ActiveCell().SetSelStart(0);
    table.ActiveCell().SetSelLength(kCellSelectionLength);
}

// The click is not consumed, so the list goes on with its own handling.
bool VIwindow::VIListbox_CellClick(int row, int column, int /*x*/, int /*y*/) {
    OpenCell(row, column);
    return false;
}

// The table is only ever edited through its cell editor, so whatever row a
// click or a key selected is deselected at once. Only selected rows are
// touched, so the deselection raises no further change of its own.
void VIwindow::VIListbox_Change() {
    auto& table = fw::ControlByName<fw::Listbox>(*this, "VIListbox");
    for (int row = 0; row < table.ListCount(); ++row) {
        if (table.Selected(row)) {
            table.SetSelected(row, false);
        }
        fw::RuntimeBackgroundTask();
    }
}

// A key that moves the editing is consumed; every other key, and an arrow at
// the edge it points to, goes on to the cell editor unchanged.
bool VIwindow::VIListbox_CellKeyDown(int row, int column, const std::string& key) {
    const std::optional<Cell> next = CellAfterKey({row, column}, fw::Asc(key));
    if (!next) {
        return false;
    }
    OpenCell(next->row, next->column);
    return true;
}
