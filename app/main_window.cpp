#include "app/main_window.h"

#include "app/help_tags.h"
#include "plot/plot_geometry.h"

#include "framework/application.h"
#include "framework/canvas.h"
#include "framework/check_box.h"
#include "framework/radio_button.h"

MainWindow::MainWindow() {
    InstallEventHandler("Layout", fw::Delegate(this, &MainWindow::Layout));
    InstallEventHandler("CreateControls", fw::Delegate(this, &MainWindow::CreateControls));
    InstallEventHandler("Open", fw::Delegate(this, &MainWindow::Event_Open));
    InstallEventHandler("Close", fw::Delegate(this, &MainWindow::Event_Close));
    InstallEventHandler("Activate", fw::Delegate(this, &MainWindow::Event_Activate));
    InstallEventHandler("Deactivate", fw::Delegate(this, &MainWindow::Event_Deactivate));
    InstallEventHandler("Minimize", fw::Delegate(this, &MainWindow::Event_Minimize));
}

MainWindow& MainWindow::Instance() {
    return fw::ImplicitInstance<MainWindow>();
}

void MainWindow::Event_Open() {
    const int depth = fw::Screen(0)->Depth();
    WavePict = fw::NewPicture(plot::kPictureWidth, plot::kPictureHeight, depth);
    WavePict->Graphics().SetUseOldRenderer(true);
    fw::ControlByName<fw::Canvas>(*this, "Canvas1").Graphics().SetUseOldRenderer(true);
    WavePict->SetTransparent(1);
    GetPrefs();
    UpdateNow();
    Setup();
    SetSystemHelpTagsDisplayed(false);
    // Taken after Setup, which may mark an unusable rating in its field: the
    // row this copy would save if the user changes nothing.
    SettingsRowAtStart = SettingsRow();
}

void MainWindow::Event_Close() {
    SavePrefs();
    fw::Quit(0);
}

// Editing one of these four fields re-reads the circuit at once; the other
// inputs take effect at the next "Plot", which always reads them first.
void MainWindow::EFCapacitor_TextChange() {
    Setup();
}
void MainWindow::EFVoltsIn_TextChange() {
    Setup();
}
void MainWindow::EFLoadR_TextChange() {
    Setup();
}
void MainWindow::EFLineFreq_TextChange() {
    Setup();
}

void MainWindow::CktTypeBTN_Action(fw::RadioButton& sender) {
    RectType = sender.Index();
}

// The characteristic table only shows the chosen diode; it is changed through
// the diode menu and the diode editor, never by clicking into it.
bool MainWindow::Listbox1_CellClick(int /*row*/, int /*column*/, int /*x*/, int /*y*/) {
    return true;
}

void MainWindow::CBHelpTag_Action(fw::CheckBox& sender) {
    SetSystemHelpTagsDisplayed(sender.Value());
}

// Nothing in the system depends on the window being active or minimised.
void MainWindow::Event_Activate() {}
void MainWindow::Event_Deactivate() {}
void MainWindow::Event_Minimize() {}
