#include "app/diode_point_table.h"

#include "app/main_window.h"

#include <string>

namespace {

// The headings, then one row of blank cells per point; rows end in a
// carriage return, cells are separated by a tab.
std::string InitialRows() {
    std::string rows = "Vf  @\tIf\r";
    for (int point = 0; point < MainWindow::kDiodePoints; ++point) {
        rows += " \t \r";
    }
    return rows;
}

} // namespace

std::vector<fw::Property> DiodePointTableDesign() {
    return {
        {"Border", true},
        {"ColumnCount", 2},
        {"ColumnWidths", std::string()},
        {"HasHeading", true},
        {"UseFocusRing", false},
        {"InitialValue", InitialRows()},
        {"HeadingIndex", -1},
        {"ScrollbarHorizontal", false},
        {"ScrollBarVertical", false},
        {"GridLinesHorizontal", 3},
        {"GridLinesVertical", 3},
        {"DefaultRowHeight", -1},
        {"_ScrollWidth", -1},
        {"Hierarchical", false},
        {"EnableDrag", false},
        {"EnableDragReorder", false},
        {"RequiresSelection", false},
        {"SelectionType", 0},
        {"ColumnsResizable", false},
        {"AutoHideScrollbars", true},
    };
}
