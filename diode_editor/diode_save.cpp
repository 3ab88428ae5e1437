// "Save" carries the editor's name and points into the main window: in "New"
// mode it adds a diode type, in "Edit" mode it rewrites the selected one, or
// deletes it when the name was erased or holds nothing a stored row can keep.
// The library, the diode menu and the characteristic table stay aligned
// throughout; the preferences file takes the changes only when the main
// window closes. "Cancel" changes nothing.

#include "app/main_window.h"
#include "diode_editor/editor_modes.h"
#include "diode_editor/vi_window.h"
#include "prefs/preferences_format.h"
#include "prefs/stored_text.h"

#include "framework/listbox.h"
#include "framework/popup_menu.h"
#include "framework/runtime.h"
#include "framework/text_field.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

using diode_editor::kCurrentColumn;
using diode_editor::kVoltageColumn;

namespace {

// The texts of the ten points, row r holding the voltage and the current of
// point r, as typed but for what a stored row cannot hold (a separator or a
// line break set into a cell by other means than typing).
using PointTexts = std::array<std::array<std::string, 2>, MainWindow::kDiodePoints>;

// The editor's table, read cell by cell. The table writes every edit into
// its cell at once, so a cell still open for editing reads what it shows.
PointTexts ReadEditorPoints(const VIwindow& editor) {
    const auto& table = fw::ControlByName<fw::Listbox>(editor, "VIListbox");
    PointTexts points;
    for (int row = 0; row < MainWindow::kDiodePoints; ++row) {
        for (int column : {kVoltageColumn, kCurrentColumn}) {
            points[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] =
                prefs::StorableField(table.Cell(row, column));
        }
        fw::RuntimeBackgroundTask();
    }
    return points;
}

// A diode row always carries all ten pairs, an empty cell as an empty field:
// a name with an empty table is the name followed by twenty separators.
std::string DiodeRowOf(const std::string& name, const PointTexts& points) {
    std::string row = name;
    for (const auto& point : points) {
        row += prefs::kFieldSeparator;
        row += point[kVoltageColumn];
        row += prefs::kFieldSeparator;
        row += point[kCurrentColumn];
    }
    return row;
}

void ShowPoints(MainWindow& main, const PointTexts& points) {
    auto& characteristic = fw::ControlByName<fw::Listbox>(main, "Listbox1");
    for (int row = 0; row < MainWindow::kDiodePoints; ++row) {
        for (int column : {kVoltageColumn, kCurrentColumn}) {
            characteristic.SetCell(
                row, column,
                points[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
        }
        fw::RuntimeBackgroundTask();
    }
}

// The new diode becomes the last library element and the last menu row,
// selected.
void AddDiode(const VIwindow& editor, MainWindow& main) {
    const std::string name =
        prefs::StorableField(fw::ControlByName<fw::TextField>(editor, "EFNewDiode").Text());
    const PointTexts points = ReadEditorPoints(editor);
    main.Prefs.push_back(DiodeRowOf(name, points));
    const int added = static_cast<int>(main.Prefs.size()) - 1;
    auto& diodeMenu = fw::ControlByName<fw::PopupMenu>(main, "PopupDiodeType");
    diodeMenu.AddRow(name);
    diodeMenu.SetListIndex(added);
    ShowPoints(main, points);
}

// The diode keeps its place in the library and in the menu, and stays
// selected.
void RewriteDiode(const VIwindow& editor, MainWindow& main, int selected, const std::string& name) {
    const PointTexts points = ReadEditorPoints(editor);
    main.Prefs.at(static_cast<std::size_t>(selected)) = DiodeRowOf(name, points);
    fw::ControlByName<fw::PopupMenu>(main, "PopupDiodeType").SetList(selected, name);
    ShowPoints(main, points);
}

// The row that followed the deleted one is selected, or the new last row when
// the deleted row was the last. Deleting the only diode leaves an empty menu
// with no selection and an empty characteristic table.
void DeleteDiode(MainWindow& main, int selected) {
    auto& diodeMenu = fw::ControlByName<fw::PopupMenu>(main, "PopupDiodeType");
    diodeMenu.RemoveRow(selected);
    main.Prefs.erase(main.Prefs.begin() + selected);
    const int next = std::min(diodeMenu.ListCount() - 1, selected);
    diodeMenu.SetListIndex(next);
    main.FillCharacteristicTable(next >= 0 ? main.Prefs.at(static_cast<std::size_t>(next))
                                           : std::string());
}

// With an empty library no diode is selected, and there is nothing to change.
void ChangeSelectedDiode(const VIwindow& editor, MainWindow& main) {
    const int selected = fw::ControlByName<fw::PopupMenu>(main, "PopupDiodeType").ListIndex();
    if (selected < 0 || static_cast<std::size_t>(selected) >= main.Prefs.size()) {
        return;
    }
    // A name of nothing but what a stored row cannot hold is stored as an
    // empty one, so it deletes the diode as an erased name does.
    const std::string name =
        prefs::StorableField(fw::ControlByName<fw::TextField>(editor, "EFNewDiode").Text());
    if (name.empty()) {
        DeleteDiode(main, selected);
    } else {
        RewriteDiode(editor, main, selected, name);
    }
}

} // namespace

void VIwindow::SavePB_Action() {
    if (Action == diode_editor::kModeNew) {
        AddDiode(*this, MainWindow::Instance());
    } else if (Action == diode_editor::kModeEdit) {
        ChangeSelectedDiode(*this, MainWindow::Instance());
    }
    Hide();
}

// The editor keeps its texts; its next activation prepares it afresh anyway.
void VIwindow::CancelPB_Action() {
    Hide();
}
