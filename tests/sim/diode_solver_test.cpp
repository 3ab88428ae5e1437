// The diode lookup and the charging-current solver, on the main window that
// start-up opened with the built-in "1N4004" diode and default circuit.

#include "app/main_window.h"
#include "tests/support/kelvara_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using Characteristic = std::array<std::array<double, 2>, MainWindow::kDiodePoints>;

// Ten points, every row filled.
constexpr Characteristic kTenPoints = {{{0.3, 0.0},
                                        {0.4, 0.1},
                                        {0.5, 0.2},
                                        {0.6, 0.3},
                                        {0.7, 0.4},
                                        {0.8, 0.5},
                                        {0.9, 0.6},
                                        {1.0, 0.7},
                                        {1.1, 0.8},
                                        {1.2, 0.9}}};
// A curve that ends at its first point.
constexpr Characteristic kOnePoint = {{{0.6, 0.0}, {0.9, 0.0}, {1.0, 5.0}}};
// Three points, then the end.
constexpr Characteristic kThreePoints = {{{0.2, 0.0}, {0.4, 1.0}, {0.8, 2.0}}};

TEST(FromIVTest, InterpolatesTheBuiltInDiode) {
    MainWindow& window = testing_support::StartKelvara();
    ASSERT_DOUBLE_EQ(window.DiodeVI[8][0], 1.4); // the 1N4004 table is loaded
    ASSERT_EQ(window.DiodeVI[9][1], 0.0);

    struct Row {
        double amps;
        double volts;
    };
    const Row rows[] = {
        {0.0, 0.5},                              // at the first point
        {-1.0, 0.5},                             // below it: nothing extrapolated
        {kNaN, 0.5},                             // not a number counts as below
        {0.005, 0.6},                            // half way from (0.5 V, 0 A) to (0.7 V, 0.01 A)
        {0.01, 0.7},                             // equal to a point's current: that point's voltage
        {0.7, 0.9},   {1.35, 0.95}, {10.5, 1.4}, // the last point; row 9 ends the curve
        {50.0, 1.4},                             // above the last point: nothing extrapolated
        {kInf, 1.4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.amps);
        EXPECT_NEAR(window.FromIV(row.amps), row.volts, 1e-12);
    }
}

TEST(FromIVTest, HonoursTheEndOfEachCurve) {
    MainWindow& window = testing_support::StartKelvara();
    struct Row {
        const char* what;
        Characteristic table;
        double amps;
        double volts;
    };
    const Row rows[] = {
        {"ten points, above the tenth", kTenPoints, 5.0, 1.2},
        {"ten points, at the tenth", kTenPoints, 0.9, 1.2},
        {"ten points, between the ninth and tenth", kTenPoints, 0.85, 1.15},
        {"row 1 ends the curve, no current", kOnePoint, 0.0, 0.6},
        {"row 1 ends the curve, some current", kOnePoint, 3.0, 0.6},
        {"row 1 ends the curve, a large current", kOnePoint, 1000.0, 0.6},
        {"equal to the last point's current", kThreePoints, 2.0, 0.8},
        {"above the last point", kThreePoints, 7.0, 0.8},
        {"in the last interval", kThreePoints, 1.5, 0.6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        window.DiodeVI = row.table;
        EXPECT_NEAR(window.FromIV(row.amps), row.volts, 1e-12);
    }
}

// The balance that the solver settles: what the source leaves at a current
// less the capacitor's rise at that current. Positive below the solution.
double Surplus(MainWindow& w, double vc, double amps) {
    const double availV = w.Es - w.NumDiodes * w.FromIV(amps) - amps * w.SeriesR - vc;
    return availV - amps * w.t / w.C;
}

TEST(ComputeCapITest, BracketsTheChargingCurrentWithinC) {
    MainWindow& window = testing_support::StartKelvara();
    ASSERT_DOUBLE_EQ(window.C, 0.0033);
    ASSERT_DOUBLE_EQ(window.DVlow, 1.0);
    struct Row {
        double es;
        double vc;
    };
    // The crest of the default source into an empty capacitor, and smaller
    // steps of a capacitor that is part charged.
    const Row rows[] = {{7.0710678, 0.0}, {7.0710678, 4.5}, {6.0, 4.9}, {3.0, 0.5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "Es " << row.es << " Vc " << row.vc);
        window.Es = row.es;
        window.ComputeCapI(row.vc);
        const double iHigh = window.C * (row.es - window.DVlow - row.vc) / window.t;
        EXPECT_GT(window.CapI, 0.0);
        EXPECT_LE(window.CapI, iHigh);
        // The solution lies within C amperes of the result.
        EXPECT_GT(Surplus(window, row.vc, window.CapI - window.C), 0.0);
        EXPECT_LT(Surplus(window, row.vc, window.CapI + window.C), 0.0);
        EXPECT_DOUBLE_EQ(window.DiodeV, window.NumDiodes * window.FromIV(window.CapI));
    }
    // The first charge of the empty capacitor at the crest of the line.
    window.Es = 7.0710678;
    window.ComputeCapI(0.0);
    EXPECT_NEAR(window.CapI, 13.6117127, 1e-6);
    EXPECT_NEAR(window.DiodeV, 2.8, 1e-12);
}

TEST(ComputeCapITest, SettlesEdgeCasesAndAlwaysReturns) {
    MainWindow& window = testing_support::StartKelvara();
    const double defaultC = window.C;
    const double defaultT = window.t;
    struct Row {
        const char* what;
        double c;
        double t;
        double es;
        double vc;
        double capI;   // expected; NaN: any value that is not negative
        double diodeV; // expected; NaN: not checked
    };
    const Row rows[] = {
        // The capacitor is at or above the source less the smallest drop: no
        // current, and the drop at no current, not 0.
        {"capacitor above the source", defaultC, defaultT, 5.0, 4.5, 0.0, 1.0},
        {"capacitor at the source less the drop", defaultC, defaultT, 5.0, 4.0, 0.0, 1.0},
        // The first bound is 0.00396 A; its half is within C, so no bisection.
        {"bracket within C at once", defaultC, defaultT, 1.0001, 0.0, 0.00198, 1.0792},
        {"no capacitance", 0.0, defaultT, 7.0710678, 0.0, 0.0, 1.0},
        {"negative capacitance", -0.0033, defaultT, 7.0710678, 0.0, 0.0, 1.0},
        {"negative capacitance, charged", -1.0, defaultT, 7.0710678, 3.0, 0.0, 1.0},
        {"capacitance not a number", kNaN, defaultT, 7.0710678, 0.0, kNaN, kNaN},
        {"infinite source", defaultC, defaultT, kInf, 0.0, kNaN, kNaN},
        {"no time step", defaultC, 0.0, 7.0710678, 0.0, kNaN, kNaN},
        {"infinite time step", defaultC, kInf, 7.0710678, 0.0, 0.0, 1.0},
        {"capacitor voltage not a number", defaultC, defaultT, 7.0710678, kNaN, kNaN, kNaN},
        {"capacitor voltage far below 0", defaultC, defaultT, 7.0710678, -1e300, kNaN, kNaN},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        window.C = row.c;
        window.t = row.t;
        window.Es = row.es;
        window.CapI = -99;
        window.ComputeCapI(row.vc); // returning at all is the first check
        if (std::isnan(row.capI)) {
            EXPECT_FALSE(window.CapI < 0) << window.CapI;
        } else {
            EXPECT_NEAR(window.CapI, row.capI, 1e-12);
        }
        if (!std::isnan(row.diodeV)) {
            EXPECT_NEAR(window.DiodeV, row.diodeV, 1e-12);
        }
    }
}

} // namespace
