// Reading the circuit inputs into the circuit parameters.

#include "tests/support/kelvara_fixture.h"

#include "framework/listbox.h"
#include "framework/text_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using testing_support::Find;
using testing_support::StartKelvara;

namespace {

void SetField(MainWindow& window, const char* name, const std::string& text) {
    Find<fw::TextField>(window, name).SetText(text);
}

} // namespace

struct CircuitCase {
    int rectType;
    double epk;
    double seriesR;
    double numDiodes;
    double dvLow;
    bool doubler;

    friend void PrintTo(const CircuitCase& c, std::ostream* out) { *out << "type " << c.rectType; }
};

class SetupByCircuit : public testing::TestWithParam<CircuitCase> {};

// The built-in circuit: 5 V RMS, ratings 120 and 5, 51 and 0.2 ohms, 60 Hz,
// 12 ohms, 3300 uF, the 1N4004 whose lowest voltage is 0.5 V.
TEST_P(SetupByCircuit, DerivesTheCircuitParametersFromTheDefaults) {
    const CircuitCase& c = GetParam();
    MainWindow& window = StartKelvara();
    window.RectType = c.rectType;
    window.Setup();

    EXPECT_EQ(window.F, 60);
    EXPECT_EQ(window.LoadR, 12);
    EXPECT_DOUBLE_EQ(window.Epk, c.epk);
    EXPECT_DOUBLE_EQ(window.SeriesR, c.seriesR);
    EXPECT_DOUBLE_EQ(window.C, 0.0033);
    EXPECT_DOUBLE_EQ(window.t, 1.0 / 12000);
    EXPECT_EQ(window.Interval, 0.031415926535);
    EXPECT_EQ(window.NumDiodes, c.numDiodes);
    EXPECT_EQ(window.DVlow, c.dvLow);
    EXPECT_EQ(window.Doubler, c.doubler);
    EXPECT_EQ(window.DiodeVI[0][0], 0.5);
    EXPECT_EQ(window.DiodeVI[8][1], 10.5);
    EXPECT_EQ(window.DiodeVI[9][0], 0);
    EXPECT_EQ(window.DiodeVI[9][1], 0);
    EXPECT_EQ(Find<fw::TextField>(window, "EFNs").Text(), "5");
}

INSTANTIATE_TEST_SUITE_P(Setup, SetupByCircuit,
                         testing::Values(
                             // Bridge: two diodes in the path, so the lowest drop doubles.
                             CircuitCase{0, 7.0710678, 0.2 + 51.0 / 576, 2, 1.0, false},
                             // Full Wave: the centre tap halves voltage and resistance.
                             CircuitCase{1, 3.5355339, (0.2 + 51.0 / 576) / 2, 1, 0.5, false},
                             CircuitCase{2, 7.0710678, 0.2 + 51.0 / 576, 1, 0.5, false},
                             CircuitCase{3, 7.0710678, 0.2 + 51.0 / 576, 1, 0.5, true}));

TEST(Setup, AnUnknownCircuitTypeKeepsTheLastDiodeCountAndHalvesNothing) {
    MainWindow& window = StartKelvara();
    window.RectType = 1;
    window.Setup();
    window.RectType = 7;
    window.Setup();
    EXPECT_EQ(window.NumDiodes, 1);
    EXPECT_FALSE(window.Doubler);
    EXPECT_DOUBLE_EQ(window.Epk, 7.0710678);
    EXPECT_DOUBLE_EQ(window.SeriesR, 0.2 + 51.0 / 576);
}

struct RatingCase {
    const char* ns;
    int rectType;
    double seriesR;

    friend void PrintTo(const RatingCase& c, std::ostream* out) {
        *out << "Ns \"" << c.ns << "\", type " << c.rectType;
    }
};

class UnusableSecondaryRating : public testing::TestWithParam<RatingCase> {};

TEST_P(UnusableSecondaryRating, IsMarkedAndLeavesThePrimaryOut) {
    const RatingCase& c = GetParam();
    MainWindow& window = StartKelvara();
    window.RectType = c.rectType;
    SetField(window, "EFNs", c.ns);
    window.Setup();
    EXPECT_EQ(Find<fw::TextField>(window, "EFNs").Text(), "??");
    EXPECT_DOUBLE_EQ(window.SeriesR, c.seriesR);
    EXPECT_DOUBLE_EQ(window.C, 0.0033) << "the rest is read as usual";

    window.Setup();
    EXPECT_EQ(Find<fw::TextField>(window, "EFNs").Text(), "??") << "the mark reads as 0";
    EXPECT_DOUBLE_EQ(window.SeriesR, c.seriesR);
}

INSTANTIATE_TEST_SUITE_P(Setup, UnusableSecondaryRating,
                         testing::Values(RatingCase{"0", 0, 0.2}, RatingCase{"-5", 0, 0.2},
                                         RatingCase{"abc", 0, 0.2}, RatingCase{"", 2, 0.2},
                                         RatingCase{"??", 3, 0.2}, RatingCase{"0", 1, 0.1}));

TEST(Setup, AZeroPrimaryRatingMakesTheSeriesResistanceInfinite) {
    MainWindow& window = StartKelvara();
    SetField(window, "EFNp", "0");
    window.Setup();
    EXPECT_TRUE(std::isinf(window.SeriesR));
    EXPECT_EQ(Find<fw::TextField>(window, "EFNs").Text(), "5");

    SetField(window, "EFPriR", "0");
    window.Setup();
    EXPECT_TRUE(std::isnan(window.SeriesR));
}

TEST(Setup, AZeroFrequencyMakesTheSampleTimeInfinite) {
    MainWindow& window = StartKelvara();
    SetField(window, "EFLineFreq", "0");
    EXPECT_TRUE(std::isinf(window.t)) << "the field's own change re-reads the circuit";
}

TEST(Setup, TheLowestDropCoversEveryRowOfTheTable) {
    MainWindow& window = StartKelvara();
    auto& table = Find<fw::Listbox>(window, "Listbox1");
    // Row 9 lies after the end of the curve (row 8's current is 0) yet counts.
    table.SetCell(8, 1, "0");
    table.SetCell(9, 0, ".25");
    table.SetCell(9, 1, "0");
    window.Setup();
    EXPECT_EQ(window.DVlow, 2 * 0.25);

    for (int row = 0; row < 10; ++row) {
        table.SetCell(row, 0, row % 2 == 0 ? "0" : "");
    }
    window.Setup();
    EXPECT_EQ(window.DVlow, 99999999.0) << "no voltage: nothing can ever conduct";
}

TEST(Setup, TheFourWatchedFieldsReReadTheCircuitAndTheOthersWait) {
    MainWindow& window = StartKelvara();
    SetField(window, "EFLoadR", "47");
    EXPECT_EQ(window.LoadR, 47);
    SetField(window, "EFCapacitor", "1000");
    EXPECT_DOUBLE_EQ(window.C, 0.001);
    SetField(window, "EFVoltsIn", "10");
    EXPECT_DOUBLE_EQ(window.Epk, 14.1421356);
    SetField(window, "EFLineFreq", "50");
    EXPECT_DOUBLE_EQ(window.t, 1.0 / 10000);

    const double seriesR = window.SeriesR;
    SetField(window, "EFSecR", "3");
    SetField(window, "EFNs", "0");
    EXPECT_EQ(window.SeriesR, seriesR);
    EXPECT_EQ(Find<fw::TextField>(window, "EFNs").Text(), "0") << "marked only at the next read";
}
