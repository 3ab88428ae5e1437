#include "diode_editor/vi_window.h"

#include "app/main_window.h"
#include "diode_editor/editor_modes.h"

#include "framework/application.h"
#include "framework/listbox.h"
#include "framework/popup_menu.h"
#include "framework/runtime.h"
#include "framework/text_field.h"

using diode_editor::kCurrentColumn;
using diode_editor::kVoltageColumn;

namespace {

// Puts the insertion point after the last character of any name.
constexpr int kPastAnyName = 999;

} // namespace

VIwindow::VIwindow() {
    InstallEventHandler("Layout", fw::Delegate(this, &VIwindow::Layout));
    InstallEventHandler("CreateControls", fw::Delegate(this, &VIwindow::CreateControls));
    InstallEventHandler("Activate", fw::Delegate(this, &VIwindow::Event_Activate));
    InstallEventHandler("MouseDown", fw::Delegate(this, &VIwindow::Event_MouseDown));
}

VIwindow& VIwindow::Instance() {
    return fw::ImplicitInstance<VIwindow>();
}

// Every activation, also a return from another window, prepares the editor
// afresh by its mode, so what was typed and not saved is discarded. A newly
// built editor is visible before the button's handler sets the mode, but its
// activation is delivered by the event loop afterwards and sees the mode.
void VIwindow::Event_Activate() {
    if (Action == diode_editor::kModeNew) {
        PrepareForNewDiode();
    } else if (Action == diode_editor::kModeEdit) {
        PrepareForEditedDiode();
    } else {
        fw::Beep();
    }
}

void VIwindow::PrepareForNewDiode() {
    auto& table = fw::ControlByName<fw::Listbox>(*this, "VIListbox");
    for (int row = 0; row < MainWindow::kDiodePoints; ++row) {
        table.SetCell(row, kVoltageColumn, "");
        table.SetCell(row, kCurrentColumn, "");
        fw::RuntimeBackgroundTask();
    }
    auto& name = fw::ControlByName<fw::TextField>(*this, "EFNewDiode");
    name.SetText(diode_editor::kNewDiodeName);
    name.SetFocus();
    name.SelectAll();
}

// Shows the diode selected in the main window, with the points its
// characteristic table holds now. With an empty library there is no diode to
// show: the editor then opens with an empty name and an empty table, and a
// "Save" in that state changes nothing.
void VIwindow::PrepareForEditedDiode() {
    MainWindow& main = MainWindow::Instance();
    const auto& diodeMenu = fw::ControlByName<fw::PopupMenu>(main, "PopupDiodeType");
    const int selected = diodeMenu.ListIndex();
    const bool hasDiode = selected >= 0;

    auto& name = fw::ControlByName<fw::TextField>(*this, "EFNewDiode");
    name.SetText(hasDiode ? diodeMenu.List(selected) : std::string());
    name.SetFocus();
    name.SetSelStart(kPastAnyName);

    const auto& characteristic = fw::ControlByName<fw::Listbox>(main, "Listbox1");
    auto& table = fw::ControlByName<fw::Listbox>(*this, "VIListbox");
    for (int row = 0; row < MainWindow::kDiodePoints; ++row) {
        for (int column : {kVoltageColumn, kCurrentColumn}) {
            table.SetCell(row, column, hasDiode ? characteristic.Cell(row, column) : std::string());
        }
        fw::RuntimeBackgroundTask();
    }
}

// A press on the window's background is left to the window's own handling.
bool VIwindow::Event_MouseDown(int /*x*/, int /*y*/) {
    return false;
}
