// The main window's design: its window properties and its 68 controls in
// creation order. Positions are pixels in the window's content area.

#include "app/canvas_background.h"
#include "app/control_layout.h"
#include "app/diode_point_table.h"
#include "app/main_window.h"
#include "app/menu_bar.h"
#include "prefs/preferences_format.h"

#include "framework/check_box.h"
#include "framework/radio_button.h"
#include "framework/text_field.h"
#include "framework/window.h"

#include <string>
#include <vector>

namespace {

using K = fw::ControlKind;
using Row = ControlRow<MainWindow>;

template <auto Method>
constexpr fw::EventHandler (*On)(MainWindow*) = &BindTo<MainWindow, Method>;

constexpr int kLeft = 0;
constexpr int kCentre = 1;
constexpr int kRight = 2;

constexpr fw::Color kBlack = fw::RGB(0, 0, 0);
constexpr fw::Color kWhite = fw::RGB(255, 255, 255);
constexpr fw::Color kRed = fw::RGB(255, 0, 0);
constexpr fw::Color kLegendGreen = fw::RGB(0, 127, 0);
constexpr fw::Color kLegendBlue = fw::RGB(0, 0, 255);
constexpr fw::Color kLegendGrey = fw::RGB(102, 102, 102);

const std::vector<fw::Property> kWindowDesign = {
    {"Placement", 0},          {"Width", 980},
    {"Height", 806},           {"MinWidth", 64},
    {"MinHeight", 64},         {"MaxWidth", 32000},
    {"MaxHeight", 32000},      {"Frame", 0},
    {"Composite", false},      {"HasBackColor", false},
    {"BackColor", kWhite},     {"Title", std::string("Kelvara")},
    {"Visible", true},         {"FullScreen", false},
    {"MenuBarVisible", true},  {"CloseButton", true},
    {"Resizeable", false},     {"LiveResize", false},
    {"MaximizeButton", false}, {"MinimizeButton", false},
    {"MacProcID", 0},
};

const std::vector<fw::Property> kInputField = {{"TextColor", kBlack}, {"BackColor", kWhite}};
const std::vector<fw::Property> kMultiline = {{"Multiline", true}};
const std::vector<fw::Property> kNoFocus = {{"AcceptFocus", false}};
const std::vector<fw::Property> kChecked = {{"State", 1}, {"Value", true}};
const std::vector<fw::Property> kUnchecked = {{"State", 0}, {"Value", false}};

const char* const kCircuitNote =
    "Keep in mind that for a full wave, a bridge, or a full wave doubler, one diode (or pair of "
    "diodes if a bridge) conducts for one half cycle and the other diode (or pair) conducts "
    "during the other half cycle. ";

namespace help {
const char* const kListbox = "The voltage-current characteristics of the chosen diode. You can "
                             "edit this table by clicking the New or Edit buttons above.";
const char* const kCapacitor = "Filter capacitor, in microfarads. For a doubler this is the "
                               "value of each of the two capacitors.";
const char* const kVoltsIn = "Enter the secondary voltage from the transformer. Adjust this "
                             "value up and down to simulate high & low line voltages.";
const char* const kSecR = "Secondary resistance of the transformer.";
const char* const kLineFreq = "Enter the frequency of your source voltage supply.";
const char* const kLinePhase = "The phase angle (in degrees) of where the first cycle is to start.";
const char* const kVoltScale = "Changes the voltage scale and locks it at the chosen value.";
const char* const kCurrentScale = "Changes the current scale and locks it at the chosen value.";
const char* const kDiodeType = "Choose a diode from this popup menu.";
const char* const kNewDiode = "Create a new diode to be added to the menu.";
const char* const kEditDiode = "Edit an existing diode type name or its V-I characteristics.";
const char* const kAutoVolts = "Allows automatic scale selection when checked. Locks the "
                               "voltage scale when UNchecked. ";
const char* const kAutoCurrent = "Allows automatic scale selection when checked. Locks the "
                                 "current scale when UNchecked. ";
const char* const kNp = "The primary voltage rating of the transformer.";
const char* const kNs = "The secondary voltage rating of the transformer.";
const char* const kPriR = "Primary resistance of the transformer.";
const char* const kHelpTag = "When checked, brief info is displayed for most of the text entry "
                             "fields when you hover your mouse over a field.";
} // namespace help

// Axis label k stands 50 pixels above label k - 1, centred 3 pixels above
// the plot row 400 - 50k that it marks.
constexpr int AxisLabelTop(int k) {
    return 690 - 50 * k;
}

std::vector<Row> BuildControlTable() {
    const std::vector<fw::Property> canvas = {
        {"TabStop", true},       {"AcceptFocus", false},  {"AcceptTabs", false},
        {"UseFocusRing", false}, {"DoubleBuffer", false}, {"EraseBackground", true},
    };

    // clang-format off
    std::vector<Row> rows = {
        // 1 to 15: circuit type frame, plot, diode block, top row of inputs.
        {.kind = K::GroupBox, .name = "GroupBox1", .box = {668, 38, 123, 137}, .text = "Circuit Type", .fontSize = 10, .tabIndex = 106},
        {.kind = K::Canvas, .name = "Canvas1", .box = {81, 303, 800, 400}, .tabIndex = 17, .more = canvas,
         .events = {{"Paint", On<&MainWindow::Canvas1_Paint>}}, .backdrop = CanvasBackground},
        {.kind = K::StaticText, .name = "StaticText1", .index = 0, .box = {846, 10, 80, 20}, .text = "Diode Type", .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 38},
        {.kind = K::Listbox, .name = "Listbox1", .box = {837, 102, 114, 189}, .tabIndex = 39, .helpTag = help::kListbox, .more = DiodePointTableDesign(),
         .events = {{"CellClick", On<&MainWindow::Listbox1_CellClick>}}},
        {.kind = K::StaticText, .name = "StaticText1", .index = 1, .box = {837, 85, 114, 20}, .text = "Diode Characteristics", .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 40},
        {.kind = K::StaticText, .name = "StaticText1", .index = 2, .box = {523, 38, 112, 20}, .text = "Capacitor Value (uF)", .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 41},
        {.kind = K::StaticText, .name = "StaticText1", .index = 3, .box = {368, 38, 114, 20}, .text = "Output Voltage(RMS)", .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 42},
        {.kind = K::TextField, .name = "EFCapacitor", .box = {523, 61, 114, 22}, .tabIndex = 49, .helpTag = help::kCapacitor, .more = kInputField,
         .events = {{"TextChange", On<&MainWindow::EFCapacitor_TextChange>}}},
        {.kind = K::TextField, .name = "EFVoltsIn", .box = {368, 61, 114, 22}, .tabIndex = 50, .helpTag = help::kVoltsIn, .more = kInputField,
         .events = {{"TextChange", On<&MainWindow::EFVoltsIn_TextChange>}}},
        {.kind = K::StaticText, .name = "StaticText1", .index = 4, .box = {487, 199, 63, 20}, .text = "Sec R", .fontSize = 10, .align = kLeft, .textColor = kBlack, .tabIndex = 51},
        {.kind = K::TextField, .name = "EFSecR", .box = {368, 197, 114, 22}, .tabIndex = 52, .helpTag = help::kSecR, .more = kInputField},
        {.kind = K::StaticText, .name = "StaticText1", .index = 5, .box = {232, 38, 80, 20}, .text = "Load R", .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 53},
        {.kind = K::TextField, .name = "EFLoadR", .box = {215, 61, 114, 22}, .tabIndex = 54, .more = kInputField,
         .events = {{"TextChange", On<&MainWindow::EFLoadR_TextChange>}}},
        {.kind = K::StaticText, .name = "StaticText1", .index = 6, .box = {81, 38, 80, 20}, .text = "Line Freq", .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 55},
        {.kind = K::TextField, .name = "EFLineFreq", .box = {64, 61, 114, 22}, .tabIndex = 56, .helpTag = help::kLineFreq, .more = kInputField,
         .events = {{"TextChange", On<&MainWindow::EFLineFreq_TextChange>}}},
    };
    // 16 to 33: the voltage axis labels at the left, the current axis labels at the right.
    for (int k = 0; k <= 8; ++k) {
        rows.push_back({.kind = K::StaticText, .name = "YLeft", .index = k, .box = {6, AxisLabelTop(k), 63, 20}, .text = "0", .align = kRight, .textColor = kBlack, .tabIndex = 57 + k});
    }
    for (int k = 0; k <= 8; ++k) {
        rows.push_back({.kind = K::StaticText, .name = "Yright", .index = k, .box = {895, AxisLabelTop(k), 65, 20}, .text = "0", .align = kLeft, .textColor = kRed, .tabIndex = 66 + k});
    }
    const std::vector<Row> rest = {
        // 34 to 50: buttons, phase field, results, legend, scale arrows, diode menu.
        {.kind = K::PushButton, .name = "PlotPB", .box = {64, 186, 80, 20}, .text = "Plot", .tabIndex = 75, .more = {{"Default", true}},
         .events = {{"Action", On<&MainWindow::PlotPB_Action>}}},
        {.kind = K::StaticText, .name = "StaticText1", .index = 7, .box = {25, 728, 80, 20}, .text = "Volt Scale", .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 77},
        {.kind = K::StaticText, .name = "StaticText1", .index = 8, .box = {862, 728, 80, 20}, .text = "Current Scale", .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 78},
        {.kind = K::StaticText, .name = "StaticText1", .index = 9, .box = {64, 98, 114, 20}, .text = "Start Phase (0-179°)", .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 79},
        {.kind = K::TextField, .name = "EFLinePhase", .box = {64, 117, 114, 22}, .tabIndex = 80, .helpTag = help::kLinePhase, .more = kInputField},
        {.kind = K::StaticText, .name = "StaticText1", .index = 10, .box = {232, 722, 500, 44}, .text = kCircuitNote, .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 81, .more = kMultiline},
        {.kind = K::StaticText, .name = "LoadVt", .box = {208, 92, 130, 35}, .text = "Load V (min/max) =", .align = kLeft, .textColor = kBlack, .tabIndex = 82, .more = kMultiline},
        {.kind = K::StaticText, .name = "Dpivt", .box = {649, 203, 135, 20}, .text = "Diode PIV =", .align = kLeft, .textColor = kBlack, .tabIndex = 83},
        {.kind = K::StaticText, .name = "DIpkt", .box = {649, 235, 135, 20}, .text = "Diode Ipk =", .align = kLeft, .textColor = kBlack, .tabIndex = 84},
        {.kind = K::PushButton, .name = "ClearPB", .box = {64, 239, 80, 20}, .text = "Clear", .tabIndex = 85,
         .events = {{"Action", On<&MainWindow::ClearPB_Action>}}},
        {.kind = K::StaticText, .name = "LoadIt", .box = {208, 139, 130, 36}, .text = "Load I (min/max) =", .align = kLeft, .textColor = kBlack, .tabIndex = 87, .more = kMultiline},
        {.kind = K::StaticText, .name = "StaticText1", .index = 11, .box = {98, 760, 141, 20}, .text = "Capacitor Voltage", .fontSize = 12, .align = kCentre, .textColor = kLegendGreen, .tabIndex = 88},
        {.kind = K::StaticText, .name = "StaticText1", .index = 12, .box = {284, 760, 141, 20}, .text = "Diode Voltage (total)", .fontSize = 12, .align = kCentre, .textColor = kLegendBlue, .tabIndex = 89},
        {.kind = K::StaticText, .name = "StaticText1", .index = 13, .box = {477, 760, 141, 20}, .text = "Diode Current", .fontSize = 12, .align = kCentre, .textColor = kRed, .tabIndex = 90},
        {.kind = K::UpDownArrows, .name = "VSupdown", .box = {20, 728, 13, 23}, .tabIndex = 91, .helpTag = help::kVoltScale, .more = kNoFocus,
         .events = {{"Up", On<&MainWindow::VSupdown_Up>}, {"Down", On<&MainWindow::VSupdown_Down>}}},
        {.kind = K::UpDownArrows, .name = "ISupdown", .box = {843, 728, 13, 23}, .tabIndex = 92, .helpTag = help::kCurrentScale, .more = kNoFocus,
         .events = {{"Up", On<&MainWindow::ISupdown_Up>}, {"Down", On<&MainWindow::ISupdown_Down>}}},
        {.kind = K::PopupMenu, .name = "PopupDiodeType", .box = {807, 32, 158, 20}, .tabIndex = 96, .helpTag = help::kDiodeType,
         .more = {{"InitialValue", std::string()}, {"ListIndex", 0}},
         .events = {{"Change", On<&MainWindow::PopupDiodeType_Change>}}},
        // 51 to 68: diode buttons, legend end, circuit type, scale boxes, transformer block.
        {.kind = K::PushButton, .name = "NewDiodePB", .box = {817, 61, 64, 19}, .text = "New", .fontSize = 10, .tabIndex = 97, .helpTag = help::kNewDiode,
         .events = {{"Action", On<&MainWindow::NewDiodePB_Action>}}},
        {.kind = K::PushButton, .name = "EditDiodePB", .box = {895, 61, 64, 19}, .text = "Edit", .fontSize = 10, .tabIndex = 98, .helpTag = help::kEditDiode,
         .events = {{"Action", On<&MainWindow::EditDiodePB_Action>}}},
        {.kind = K::StaticText, .name = "StaticText1", .index = 14, .box = {654, 760, 141, 20}, .text = "Source Waveform", .fontSize = 12, .align = kCentre, .textColor = kLegendGrey, .tabIndex = 99},
        {.kind = K::RadioButton, .name = "CktTypeBTN", .index = 0, .box = {680, 66, 100, 20}, .text = "Bridge", .fontSize = 10, .tabIndex = 102, .more = {{"Value", true}},
         .events = {{"Action", On<&MainWindow::CktTypeBTN_Action>}}},
        {.kind = K::RadioButton, .name = "CktTypeBTN", .index = 1, .box = {680, 92, 100, 20}, .text = "Full Wave", .fontSize = 10, .tabIndex = 103, .more = {{"Value", false}},
         .events = {{"Action", On<&MainWindow::CktTypeBTN_Action>}}},
        {.kind = K::RadioButton, .name = "CktTypeBTN", .index = 2, .box = {680, 118, 100, 20}, .text = "Half Wave", .fontSize = 10, .tabIndex = 104, .more = {{"Value", false}},
         .events = {{"Action", On<&MainWindow::CktTypeBTN_Action>}}},
        {.kind = K::RadioButton, .name = "CktTypeBTN", .index = 3, .box = {680, 145, 100, 20}, .text = "Doubler (FW)", .fontSize = 10, .tabIndex = 105, .more = {{"Value", false}},
         .events = {{"Action", On<&MainWindow::CktTypeBTN_Action>}}},
        {.kind = K::CheckBox, .name = "CBAutoVolts", .box = {18, 757, 80, 20}, .text = "Auto Scale", .fontSize = 10, .tabIndex = 107, .helpTag = help::kAutoVolts, .more = kChecked},
        {.kind = K::CheckBox, .name = "CBAutoCurrent", .box = {841, 757, 85, 20}, .text = "Auto Scale", .fontSize = 10, .tabIndex = 108, .helpTag = help::kAutoCurrent, .more = kChecked,
         .events = {{"Action", On<&MainWindow::CBAutoCurrent_Action>}}},
        {.kind = K::StaticText, .name = "StaticText1", .index = 15, .box = {368, 20, 114, 20}, .text = "Transformer", .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 109, .more = {{"Underline", true}}},
        {.kind = K::StaticText, .name = "StaticText1", .index = 16, .box = {385, 98, 80, 20}, .text = "Ratings", .fontSize = 10, .align = kCentre, .textColor = kBlack, .tabIndex = 110},
        {.kind = K::TextField, .name = "EFNp", .box = {368, 117, 114, 22}, .tabIndex = 111, .helpTag = help::kNp, .more = kInputField},
        {.kind = K::TextField, .name = "EFNs", .box = {368, 144, 114, 22}, .tabIndex = 112, .helpTag = help::kNs, .more = kInputField},
        {.kind = K::StaticText, .name = "StaticText1", .index = 17, .box = {487, 119, 63, 20}, .text = "Pri Volts", .fontSize = 10, .align = kLeft, .textColor = kBlack, .tabIndex = 113},
        {.kind = K::StaticText, .name = "StaticText1", .index = 18, .box = {487, 145, 63, 20}, .text = "Sec Volts", .fontSize = 10, .align = kLeft, .textColor = kBlack, .tabIndex = 114},
        {.kind = K::TextField, .name = "EFPriR", .box = {368, 171, 114, 22}, .tabIndex = 115, .helpTag = help::kPriR, .more = kInputField},
        {.kind = K::StaticText, .name = "StaticText1", .index = 19, .box = {487, 172, 63, 20}, .text = "Pri R", .fontSize = 10, .align = kLeft, .textColor = kBlack, .tabIndex = 116},
        {.kind = K::CheckBox, .name = "CBHelpTag", .box = {450, 267, 100, 20}, .text = "Help Tags", .fontSize = 10, .tabIndex = 117, .helpTag = help::kHelpTag, .more = kUnchecked,
         .events = {{"Action", On<&MainWindow::CBHelpTag_Action>}}},
    };
    // clang-format on
    rows.insert(rows.end(), rest.begin(), rest.end());
    return rows;
}

const std::vector<Row>& ControlTable() {
    static const std::vector<Row> table = BuildControlTable();
    return table;
}

// Controls 1 to 50 come from the first creation step, 51 to 68 from the second.
constexpr std::size_t kFirstStepControls = 50;

} // namespace

void MainWindow::Layout() {
    SetMenuBar(MenuBar1::Instance());
    fw::_SetProperties(*this, fw::BuildDesignRecord(K::Window, kWindowDesign));
}

void MainWindow::CreateControls() {
    _CreateControls0();
    _CreateControls1();
    // The input fields' texts make up the settings row of the preferences
    // file: a separator typed into one would split that row and shift every
    // later setting at the next start, so they refuse it.
    for (const char* name : prefs::kInputFieldsInRowOrder) {
        fw::ControlByName<fw::TextField>(*this, name).SetRefusedCharacters(prefs::kFieldSeparator);
    }
}

void MainWindow::_CreateControls0() {
    ::CreateControls(*this, std::span(ControlTable()).first(kFirstStepControls));
}

void MainWindow::_CreateControls1() {
    ::CreateControls(*this, std::span(ControlTable()).subspan(kFirstStepControls));
}
