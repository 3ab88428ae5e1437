// The diode editor's design: its window properties and its five controls in
// creation order. Positions are pixels in the window's content area.

#include "app/control_layout.h"
#include "app/diode_point_table.h"
#include "app/main_window.h"
#include "diode_editor/vi_window.h"
#include "prefs/preferences_format.h"

#include "framework/text_field.h"
#include "framework/window.h"

#include <string>
#include <vector>

namespace {

using K = fw::ControlKind;
using Row = ControlRow<VIwindow>;

template <auto Method>
constexpr fw::EventHandler (*On)(VIwindow*) = &BindTo<VIwindow, Method>;

constexpr int kLeft = 0;
constexpr fw::Color kBlack = fw::RGB(0, 0, 0);
constexpr fw::Color kWhite = fw::RGB(255, 255, 255);

// A resizable document window; the controls keep their places when it is
// resized. It shows the application's menus and sets none of its own.
const std::vector<fw::Property> kWindowDesign = {
    {"Placement", 0},          {"Width", 361},
    {"Height", 452},           {"MinWidth", 64},
    {"MinHeight", 64},         {"MaxWidth", 32000},
    {"MaxHeight", 32000},      {"Frame", 0},
    {"Composite", false},      {"HasBackColor", false},
    {"BackColor", kWhite},     {"Title", std::string("Add New Diode")},
    {"Visible", true},         {"FullScreen", false},
    {"MenuBarVisible", true},  {"CloseButton", true},
    {"Resizeable", true},      {"LiveResize", true},
    {"MaximizeButton", false}, {"MinimizeButton", true},
    {"MacProcID", 0},
};

const char* const kInstructions =
    "Enter a new diode type in the field below. Then enter the voltage-current characteristics "
    "for this diode (from the diode datasheet). You may input up to 10 V-I points. Deleting a "
    "diode's name from the field below will remove it from the list of diodes.";

std::vector<Row> BuildControlTable() {
    const std::vector<fw::Property> nameField = {
        {"Border", true},      {"Password", false},     {"UseFocusRing", true},
        {"TextColor", kBlack}, {"BackColor", kWhite},   {"ReadOnly", false},
        {"LimitText", 0},      {"Mask", std::string()}, {"Alignment", 0},
    };

    // clang-format off
    return {
        {.kind = K::PushButton, .name = "SavePB", .box = {196, 412, 80, 20}, .text = "Save", .tabIndex = 0, .more = {{"Default", false}},
         .events = {{"Action", On<&VIwindow::SavePB_Action>}}},
        {.kind = K::PushButton, .name = "CancelPB", .box = {85, 412, 80, 20}, .text = "Cancel", .tabIndex = 1, .more = {{"Cancel", true}},
         .events = {{"Action", On<&VIwindow::CancelPB_Action>}}},
        {.kind = K::Listbox, .name = "VIListbox", .box = {125, 182, 114, 189}, .tabIndex = 2, .more = DiodePointTableDesign(),
         .events = {{"CellClick", On<&VIwindow::VIListbox_CellClick>},
                    {"Change", On<&VIwindow::VIListbox_Change>},
                    {"CellKeyDown", On<&VIwindow::VIListbox_CellKeyDown>}}},
        {.kind = K::TextField, .name = "EFNewDiode", .box = {125, 145, 114, 22}, .text = "New", .tabIndex = 3, .more = nameField},
        {.kind = K::StaticText, .name = "StaticText1", .box = {25, 15, 316, 118}, .text = kInstructions, .align = kLeft, .textColor = kBlack, .tabIndex = 4,
         .more = {{"Multiline", true}}},
    };
    // clang-format on
}

const std::vector<Row>& ControlTable() {
    static const std::vector<Row> table = BuildControlTable();
    return table;
}

} // namespace

void VIwindow::Layout() {
    fw::_SetProperties(*this, fw::BuildDesignRecord(K::Window, kWindowDesign));
}

void VIwindow::CreateControls() {
    _CreateControls0();
    // The name is field 1 of the saved diode row: a separator in it would
    // split the row and shift every point when the library is read back.
    fw::ControlByName<fw::TextField>(*this, "EFNewDiode")
        .SetRefusedCharacters(prefs::kFieldSeparator);
}

void VIwindow::_CreateControls0() {
    ::CreateControls(*this, std::span(ControlTable()));
}
