#pragma once

#include "framework/control.h"

#include <string>
#include <string_view>

namespace fw {

// A pop-up menu of text rows. Events: "Change" whenever the selected row
// changes, by the user or from code.
class PopupMenu : public Control {
public:
    PopupMenu(Window& owner, std::string name, std::int32_t index);

    int ListCount() const;
    // Adds a row after the last; the selection stays as it was (no row
    // selected stays no row selected).
    void AddRow(std::string_view text);
    // Removes a row; later rows move up by one. Removing the selected row
    // leaves no row selected. An index outside the rows throws OutOfBoundsException.
    void RemoveRow(int row);
    // The text of a row, and a new text for it (the row keeps its place and
    // its selection). OutOfBoundsException outside the rows.
    std::string List(int row) const;
    void SetList(int row, std::string_view text);

    // The selected row, -1 when none. Setting -1 selects none; another index
    // outside the rows throws OutOfBoundsException.
    int ListIndex() const;
    void SetListIndex(int row);
    // The selected row's text, empty when none is selected.
    std::string Text() const;

    void ApplyDesignProperty(const Property& property) override;

protected:
    std::vector<std::pair<std::string_view, EventShape>> Events() const override;
};

} // namespace fw
