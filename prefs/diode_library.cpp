// The diode library and the diode menu stay aligned: row i of the menu shows
// the name of library element i. The characteristic table shows the points
// of the selected diode.

#include "app/main_window.h"
#include "prefs/preferences_format.h"

#include "framework/listbox.h"
#include "framework/popup_menu.h"
#include "framework/runtime.h"
#include "framework/text.h"

void MainWindow::FillCharacteristicTable(std::string_view diodeRow) {
    auto& table = fw::ControlByName<fw::Listbox>(*this, "Listbox1");
    for (int point = 0; point < kDiodePoints; ++point) {
        table.SetCell(
            point, 0,
            fw::NthField(diodeRow, prefs::kFieldSeparator, prefs::DiodeVoltageField(point)));
        table.SetCell(
            point, 1,
            fw::NthField(diodeRow, prefs::kFieldSeparator, prefs::DiodeCurrentField(point)));
        fw::RuntimeBackgroundTask();
    }
}

// Choosing a diode only shows its points; the simulation takes them up the
// next time it reads its inputs.
void MainWindow::PopupDiodeType_Change() {
    const int chosen = fw::ControlByName<fw::PopupMenu>(*this, "PopupDiodeType").ListIndex();
    if (chosen < 0) {
        return;
    }
    FillCharacteristicTable(Prefs.at(static_cast<std::size_t>(chosen)));
}
