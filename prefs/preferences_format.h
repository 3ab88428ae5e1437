#pragma once

// The preferences file "KelvaraPrefs.txt": plain text, one record per line,
// fields separated by "," with no quoting. Line 1 is the settings row; each
// following line is one diode row, in the order of the diode menu.

#include <array>

namespace prefs {

inline constexpr const char* kFileName = "KelvaraPrefs.txt";
inline constexpr const char* kFieldSeparator = ",";

// Settings row, fields counted from 1: the selected diode's name, then the
// texts of the nine input fields in this order, then the circuit type.
inline constexpr int kDiodeNameField = 1;
inline constexpr int kFirstInputField = 2;
inline constexpr std::array<const char*, 9> kInputFieldsInRowOrder = {
    "EFLineFreq",  // line frequency, hertz
    "EFLinePhase", // start phase, degrees
    "EFLoadR",     // load resistance, ohms
    "EFVoltsIn",   // secondary output voltage, volts RMS
    "EFNp",        // transformer primary voltage rating
    "EFNs",        // transformer secondary voltage rating
    "EFPriR",      // primary winding resistance, ohms
    "EFSecR",      // secondary winding resistance, ohms
    "EFCapacitor", // filter capacitance, microfarads
};
inline constexpr int kCircuitTypeField = 11;

// Diode row: the name, then the voltage and current of point r as fields
// 2r + 2 and 2r + 3.
constexpr int DiodeVoltageField(int point) {
    return 2 * point + 2;
}
constexpr int DiodeCurrentField(int point) {
    return 2 * point + 3;
}

// What the program starts from when there is no preferences file.
inline constexpr const char* kDefaultSettingsRow = "1N4004,60,0,12,5,120,5,51,.2,3300,0";
inline constexpr std::array<const char*, 3> kDefaultDiodeRows = {
    "1N4004,.5,0,.7,.01,.8,.12,.9,.7,1,2,1.1,3.2,1.2,5.2,1.3,7.3,1.4,10.5",
    "1N4148,.5,0,.6,.001,.7,.008,.75,.018,.8,.032,.9,.08,1,.14,1.1,.21,1.2,.3",
    "SS2H9 (Sch),.3,0,.4,.01,.5,.105,.6,.58,.7,2,.8,4.8,.9,10,1,18,1.1,27,1.2,35",
};

} // namespace prefs
