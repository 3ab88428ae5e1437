// Reading the circuit: the input fields and the characteristic table become
// the circuit parameters of the main window.

#include "app/main_window.h"
#include "sim/circuit_types.h"
#include "sim/sim_constants.h"

#include "framework/listbox.h"
#include "framework/runtime.h"
#include "framework/text.h"
#include "framework/text_field.h"

#include <cmath>

namespace {

// Marks a secondary voltage rating that cannot be used, in its own field.
constexpr const char* kUnusableRatingMark = "??";

double ReadField(const MainWindow& window, const char* name) {
    return fw::CDbl(fw::ControlByName<fw::TextField>(window, name).Text());
}

} // namespace

void MainWindow::Setup() {
    F = ReadField(*this, "EFLineFreq");
    LoadR = ReadField(*this, "EFLoadR");
    Epk = ReadField(*this, "EFVoltsIn") * sim::kPeakFactor;
    SeriesR = ReadField(*this, "EFSecR");

    // The primary resistance is referred to the secondary through the ratio
    // of the voltage ratings: SeriesR += Rp / (Np / Ns)^2. Without a usable
    // secondary rating the primary share is left out.
    if (!(ReadField(*this, "EFNs") > 0)) {
        fw::ControlByName<fw::TextField>(*this, "EFNs").SetText(kUnusableRatingMark);
    } else {
        const double rp = ReadField(*this, "EFPriR");
        const double np = ReadField(*this, "EFNp");
        const double ns = ReadField(*this, "EFNs");
        SeriesR = SeriesR + rp / std::pow(np / ns, 2.0);
    }

    C = ReadField(*this, "EFCapacitor") * sim::kFaradsPerMicrofarad;

    CapI = 0;
    DiodeV = 0;
    NumSamples = 0;
    LastYI = 0;
    LastYV = 0;
    Interval = sim::kPhaseStep;
    t = 1 / (F * sim::kSamplesPerCycle);

    Doubler = false;
    // An unknown circuit type keeps the diode count of the last known one.
    if (const sim::CircuitType* circuit = sim::FindCircuitType(RectType)) {
        NumDiodes = circuit->numDiodes;
        Doubler = circuit->doubler;
        if (circuit->halvesSource) {
            Epk = Epk / 2;
            SeriesR = SeriesR / 2;
        }
    }

    // DVlow: the smallest drop at which any current can flow, over every
    // non-zero voltage of the table, for all diodes in the path together.
    DVlow = sim::kNoDiodeDrop;
    auto& table = fw::ControlByName<fw::Listbox>(*this, "Listbox1");
    for (int row = 0; row < kDiodePoints; ++row) {
        DiodeVI[row][0] = fw::CDbl(table.Cell(row, 0));
        DiodeVI[row][1] = fw::CDbl(table.Cell(row, 1));
        if (DiodeVI[row][0] != 0 && NumDiodes * DiodeVI[row][0] < DVlow) {
            DVlow = NumDiodes * DiodeVI[row][0];
        }
        fw::RuntimeBackgroundTask();
    }
}
