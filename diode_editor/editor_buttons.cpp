// The main window's "New" and "Edit" buttons open the diode editor in their
// mode. The mode is set before the editor is shown, so that the activation
// that follows prepares the editor for it.

#include "app/main_window.h"
#include "diode_editor/editor_modes.h"
#include "diode_editor/vi_window.h"

void MainWindow::NewDiodePB_Action() {
    VIwindow::Instance().Action = diode_editor::kModeNew;
    VIwindow::Instance().Show();
}

void MainWindow::EditDiodePB_Action() {
    VIwindow::Instance().Action = diode_editor::kModeEdit;
    VIwindow::Instance().Show();
}
