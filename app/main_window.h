#pragma once

#include "framework/picture.h"
#include "framework/ref.h"
#include "framework/window.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {
class CheckBox;
class Graphics;
class RadioButton;
} // namespace fw

// The main window, "Kelvara": the owner of all working state for the life of
// the process. Its fields are the circuit parameters that the simulation
// reads and writes (SI units: volts, amperes, ohms, farads, hertz, seconds,
// radians), the diode characteristic, the diode library, the waveform picture
// and the two plot scales. Each subsystem defines its own methods of this
// class in its own folder.
class MainWindow : public fw::Window {
public:
    MainWindow();

    // The one shared instance, created and opened on first use.
    static MainWindow& Instance();

    // Number of points of a diode characteristic, and so of table rows.
    static constexpr int kDiodePoints = 10;

    // Circuit parameters and working state, in declaration order.
    double LastYV = 0;           // y of the previous load-voltage trace point, pixels
    double Interval = 0;         // phase advance of one sample, radians
    std::int32_t NumSamples = 0; // index of the current sample = its pixel column
    double LastYI = 0;           // y of the previous charging-current trace point, pixels
    double C = 0;                // filter capacitance (each doubler capacitor), farads
    double Epk = 0;              // peak source voltage, volts
    double LoadR = 0;            // load resistance, ohms
    double SeriesR = 0;          // source resistance seen from the secondary, ohms
    // Diode characteristic: row r holds {forward volts, forward amperes}.
    std::array<std::array<double, 2>, kDiodePoints> DiodeVI{};
    double CapI = 0;                // capacitor charging current of the current step, amperes
    double DiodeV = 0;              // total diode drop at CapI, volts
    double F = 0;                   // line frequency, hertz
    double Phase = 0;               // line phase of the current sample, radians
    double Es = 0;                  // source magnitude at the current sample, volts
    double LastYD = 0;              // y of the previous diode-voltage trace point, pixels
    double Vscale = 0;              // pixels per volt; 0 until a voltage scale is chosen
    double Iscale = 0;              // pixels per ampere; 0 until a current scale is chosen
    std::vector<std::string> Prefs; // diode library: element i is row i of the diode menu
    std::int32_t RectType = 0;      // 0 "Bridge", 1 "Full Wave", 2 "Half Wave", 3 "Doubler (FW)"
    double NumDiodes = 0;           // diodes in the conduction path
    double DVlow = 0;               // NumDiodes times the smallest non-zero table voltage
    double t = 0;                   // duration of one sample, seconds
    bool Doubler = false;           // the circuit is the voltage doubler

    // The diode library as this copy started with it (the built-in diodes
    // when the file held none), against which saving tells this copy's own
    // changes to the library from another copy's (prefs/).
    std::vector<std::string> PrefsAsRead;
    // The settings row as this copy showed it once it had opened; a copy
    // whose row is still this one when it closes changed nothing, and saves
    // the row another copy may have saved meanwhile instead (prefs/).
    std::string SettingsRowAtStart;
    // The problem with the preferences that the start told in a box, in
    // words; a close that meets this very problem again tells it on standard
    // error alone, so that one problem never shows two boxes (prefs/).
    std::string PrefsProblemToldAtStart;

    // Window construction (app/).
    void Layout();
    void CreateControls();
    void _CreateControls0();
    void _CreateControls1();

    // Plot area (plot/).
    void Canvas1_Paint(fw::Graphics& g);
    // Input handlers (app/).
    bool Listbox1_CellClick(int row, int column, int x, int y);
    void EFCapacitor_TextChange();
    void EFVoltsIn_TextChange();
    void EFLoadR_TextChange();
    void EFLineFreq_TextChange();
    // The simulation run (sim/).
    void PlotPB_Action();
    // Traces and scales (plot/).
    void ClearPB_Action();
    void VSupdown_Up();
    void VSupdown_Down();
    void ISupdown_Up();
    void ISupdown_Down();
    // Diode choice (prefs/).
    void PopupDiodeType_Change();
    // The diode editor's buttons (diode_editor/).
    void NewDiodePB_Action();
    void EditDiodePB_Action();
    // Circuit type, scales and help tags (app/, plot/).
    void CktTypeBTN_Action(fw::RadioButton& sender);
    void CBAutoCurrent_Action();
    void CBHelpTag_Action(fw::CheckBox& sender);
    // Window events (app/).
    void Event_Deactivate();
    void Event_Activate();
    void Event_Minimize();
    void Event_Close();
    void Event_Open();
    // Traces (plot/), preferences (prefs/), simulation (sim/), scales (plot/).
    void AddDataPointV(double v);
    void GetPrefs();
    void SavePrefs();
    // The settings row the controls stand for now (prefs/).
    std::string SettingsRow() const;
    double FromIV(double x);
    void AddDataPointI(double i);
    void AddDataPointD(double v);
    void SetVScale(double max);
    void Setup();
    void ComputeCapI(double vc);
    void SetIScale(double max);

    // Shows the points of a diode row in the characteristic table: all 20
    // cells are written, a point the row lacks as two empty cells (prefs/).
    void FillCharacteristicTable(std::string_view diodeRow);

protected:
    fw::Ref<fw::Picture> WavePict; // the 800 x 500 waveform picture

private:
    friend struct MainWindowProbe; // lets tests read the waveform picture
};
