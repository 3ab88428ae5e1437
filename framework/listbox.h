#pragma once

#include "framework/control.h"

#include <memory>
#include <string>
#include <string_view>

namespace fw {

class TextField;

// A list of text rows in columns, under optional headings, with an in-place
// cell editor. All rows are visible at once within the control's height.
//
// Events:
//   "CellClick" (row, column, x, y within the cell) for a press on a cell;
//     true consumes it: no selection, no editing, no focus change follow.
//     Otherwise the press selects the row.
//   "CellKeyDown" (row, column, key) for a key pressed in the cell editor;
//     true consumes it. The key text is the typed text, or for special keys a
//     one-character text: Tab 9, Return 13, Escape 27, left 28, right 29,
//     up 30, down 31, Backspace 8, Delete 127.
//   "Change" whenever the row selection changes.
//
// Tab and Shift+Tab move the keyboard focus to the window's next or previous
// control and leave the selection alone; in the cell editor they go to
// CellKeyDown and otherwise keep the focus in the cell.
//
// The cell editor writes every change into its cell at once, so a cell reads
// what the user sees. Return and a move of the focus away close the editor and
// keep the text; Escape closes it and restores the text the cell had when it
// was opened.
class Listbox : public Control {
public:
    Listbox(Window& owner, std::string name, std::int32_t index);
    ~Listbox() override;

    int ListCount() const;
    int ColumnCount() const;
    std::string Heading(int column) const;

    // Cells outside the table throw OutOfBoundsException.
    std::string Cell(int row, int column) const;
    void SetCell(int row, int column, std::string_view text);

    // The selected row, -1 when none (single selection).
    int ListIndex() const;
    void SetListIndex(int row);
    bool Selected(int row) const;
    void SetSelected(int row, bool selected);

    // Opens the cell for editing in place; a cell being edited before keeps
    // what was typed into it. Gives the editor the keyboard focus.
    void EditCell(int row, int column);
    // The editor of the cell being edited; NilObjectException when no cell is.
    TextField& ActiveCell();
    bool IsEditing() const;
    int EditRow() const;    // -1 when not editing
    int EditColumn() const; // -1 when not editing

    void ApplyDesignProperty(const Property& property) override;

    struct Impl;

protected:
    std::vector<std::pair<std::string_view, EventShape>> Events() const override;
    void ApplyFocusPolicy() override;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace fw
