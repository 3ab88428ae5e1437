#include "tests/support/designed_window.h"

#include "framework/canvas.h"
#include "framework/check_box.h"
#include "framework/group_box.h"
#include "framework/listbox.h"
#include "framework/popup_menu.h"
#include "framework/push_button.h"
#include "framework/radio_button.h"
#include "framework/static_text.h"
#include "framework/text_field.h"
#include "framework/up_down_arrows.h"

#include <QTest>
#include <QWidget>

#include <stdexcept>

namespace kelvara_test {

std::vector<fw::Property> RowValues(const ControlRow& row) {
    std::vector<fw::Property> values = {
        {"Name", row.name},   {"Index", row.index},   {"Left", row.left},         {"Top", row.top},
        {"Width", row.width}, {"Height", row.height}, {"TabIndex", row.tabIndex},
    };
    values.insert(values.end(), row.values.begin(), row.values.end());
    return values;
}

namespace {

fw::Control& NewControlOfKind(fw::Window& window, const ControlRow& row) {
    switch (row.kind) {
    case fw::ControlKind::GroupBox:
        return window.NewControl<fw::GroupBox>(row.name, row.index);
    case fw::ControlKind::Canvas:
        return window.NewControl<fw::Canvas>(row.name, row.index);
    case fw::ControlKind::StaticText:
        return window.NewControl<fw::StaticText>(row.name, row.index);
    case fw::ControlKind::Listbox:
        return window.NewControl<fw::Listbox>(row.name, row.index);
    case fw::ControlKind::TextField:
        return window.NewControl<fw::TextField>(row.name, row.index);
    case fw::ControlKind::PushButton:
        return window.NewControl<fw::PushButton>(row.name, row.index);
    case fw::ControlKind::UpDownArrows:
        return window.NewControl<fw::UpDownArrows>(row.name, row.index);
    case fw::ControlKind::PopupMenu:
        return window.NewControl<fw::PopupMenu>(row.name, row.index);
    case fw::ControlKind::RadioButton:
        return window.NewControl<fw::RadioButton>(row.name, row.index);
    case fw::ControlKind::CheckBox:
        return window.NewControl<fw::CheckBox>(row.name, row.index);
    case fw::ControlKind::Window:
        break;
    }
    throw std::invalid_argument("a window is not a control");
}

} // namespace

fw::Control& CreateControl(fw::Window& window, const ControlRow& row) {
    fw::Control& control = NewControlOfKind(window, row);
    if (row.textSize != 0) {
        control.SetTextSize(row.textSize);
    }
    control.SetTextUnit(0);
    fw::_SetProperties(control, fw::BuildDesignRecord(row.kind, RowValues(row)));
    return control;
}

DesignedWindow::DesignedWindow(std::vector<fw::Property> windowValues, std::vector<ControlRow> rows)
    : windowValues_(std::move(windowValues))
    , rows_(std::move(rows)) {
    InstallEventHandler("Layout", fw::Delegate(this, &DesignedWindow::Layout));
    InstallEventHandler("CreateControls", fw::Delegate(this, &DesignedWindow::CreateControls));
    InstallEventHandler("Open", fw::Delegate(this, &DesignedWindow::Open));
    InstallEventHandler("Close", fw::Delegate(this, &DesignedWindow::Closed));
    InstallEventHandler("Activate", fw::Delegate(this, &DesignedWindow::Activated));
    InstallEventHandler("Deactivate", fw::Delegate(this, &DesignedWindow::Deactivated));
    InstallEventHandler("Minimize", fw::Delegate(this, &DesignedWindow::Minimized));
}

void DesignedWindow::Layout() {
    fw::_SetProperties(*this, fw::BuildDesignRecord(fw::ControlKind::Window, windowValues_));
}

void DesignedWindow::CreateControls() {
    for (const ControlRow& row : rows_) {
        CreateControl(*this, row);
    }
}

std::unique_ptr<DesignedWindow> BuildWindow(std::vector<fw::Property> windowValues,
                                            std::vector<ControlRow> rows) {
    auto window = std::make_unique<DesignedWindow>(std::move(windowValues), std::move(rows));
    window->Construct();
    return window;
}

bool ShowActive(fw::Window& window) {
    window.Show();
    return QTest::qWaitForWindowActive(window.NativeWidget());
}

QWidget* FocusedWidget(const fw::Window& window) {
    return window.NativeWidget()->focusWidget();
}

} // namespace kelvara_test
