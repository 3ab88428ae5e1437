// The diode and capacitor physics of one time step: the forward voltage of a
// diode at a current, and the current that charges the filter capacitor.

#include "app/main_window.h"
#include "sim/sim_constants.h"

#include "framework/runtime.h"

#include <algorithm>
#include <cmath>

// Linear interpolation in the diode characteristic. Below the first point
// the first point's voltage holds, above the last point the last point's:
// nothing is extrapolated. A row whose current is 0 (after the first row)
// ends the curve.
double MainWindow::FromIV(double x) {
    auto volts = [this](int row) { return DiodeVI[row][0]; };
    auto amps = [this](int row) { return DiodeVI[row][1]; };

    // Also true for a current that is not a number.
    if (!(x > amps(0))) {
        return volts(0);
    }
    for (int k = 0; k + 1 < kDiodePoints; ++k) {
        if (amps(k + 1) == 0) {
            return volts(k);
        }
        // The test is strict, so a current equal to I(k+1) passes on to the
        // next interval and gets V(k+1).
        if (x < amps(k + 1)) {
            // V = V(k) + (x - I(k)) / (I(k+1) - I(k)) * (V(k+1) - V(k))
            return volts(k) + ((x - amps(k)) / (amps(k + 1) - amps(k))) * (volts(k + 1) - volts(k));
        }
        fw::RuntimeBackgroundTask();
    }
    return volts(kDiodePoints - 1);
}

// Finds by bisection the current I that charges the capacitor in one step:
// the capacitor's rise I t / C matches what the source has left after the
// diode drop and the drop across the series resistance,
//     I t / C = Es - NumDiodes * FromIV(I) - I * SeriesR - Vc.
// The bisection stops once two successive midpoints differ by no more than
// the number C itself, in amperes.
void MainWindow::ComputeCapI(double vc) {
    // A negative capacitance cannot be charged, and its stop test could never
    // be met: no current flows. DiodeV is the drop at no current, as for a
    // capacitor already above the source.
    if (C < 0) {
        CapI = 0;
        DiodeV = NumDiodes * FromIV(0);
        return;
    }

    // The upper bound lifts the capacitor in one step to the source less the
    // smallest diode drop: I = C (Es - DVlow - Vc) / t, and 0 when negative.
    double iHigh = std::max(C * ((Es - DVlow) - vc) / t, 0.0);
    double iLow = 0;
    double iPrev = 0;
    double iMid = (iHigh + iLow) / 2;
    double drop = NumDiodes * FromIV(iMid);
    double availV = ((Es - drop) - iMid * SeriesR) - vc; // what the source leaves at iMid
    double stepV = (iMid * t) / C;                       // the capacitor's rise at iMid

    for (int step = 0; C < std::abs(iMid - iPrev) && step < sim::kBisectionStepLimit; ++step) {
        // When either value is not a number the comparison fails and the
        // upper bound moves.
        if (stepV < availV) {
            iLow = iMid; // the capacitor could take more current
        } else {
            iHigh = iMid;
        }
        iPrev = iMid;
        iMid = (iHigh + iLow) / 2;
        drop = NumDiodes * FromIV(iMid);
        availV = std::max(((Es - drop) - iMid * SeriesR) - vc, 0.0);
        stepV = (iMid * t) / C;
        fw::RuntimeBackgroundTask();
    }

    CapI = iMid;
    DiodeV = drop;
}
