#pragma once

#include "framework/window.h"

#include <string>

// The "Add New Diode" window, in which the user adds a diode type to the
// library or changes or deletes the selected one. The main window's "New" and
// "Edit" buttons set its mode and show its one shared instance; every time it
// becomes the active window it prepares its name field and its ten-point table
// for that mode. "Save" carries the name and the points into the main window's
// library, diode menu and characteristic table; "Cancel" only hides it.
//
// Controls, found by name: SavePB, CancelPB, VIListbox (10 rows of voltage
// and current), EFNewDiode (the name) and StaticText1 (the instructions).
class VIwindow : public fw::Window {
public:
    VIwindow();

    // The one shared instance: the live one, or a new one built from the
    // window's design (visible from creation).
    static VIwindow& Instance();

    // The editor's mode: "New" or "Edit", set by the main window's buttons;
    // empty in a newly created editor until a button sets it.
    std::string Action;

    // Window construction.
    void Layout();
    void CreateControls();
    void _CreateControls0();

    // Saving and cancelling.
    void SavePB_Action();
    void CancelPB_Action();

    // Editing the table in place, one cell at a time.
    bool VIListbox_CellClick(int row, int column, int x, int y);
    void VIListbox_Change();
    bool VIListbox_CellKeyDown(int row, int column, const std::string& key);

    // Window events.
    void Event_Activate();
    bool Event_MouseDown(int x, int y);

private:
    // Starts editing cell (row, column): its text shows in bold and is
    // selected, so the first key typed replaces it.
    void OpenCell(int row, int column);
    void PrepareForNewDiode();
    void PrepareForEditedDiode();
};
