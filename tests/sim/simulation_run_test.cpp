// "Plot" pressed on the real main window, headless: the reference figures of
// the built-in default circuit for each circuit type, the result texts, and
// runs with inputs that make no physical sense.

#include "app/main_window.h"
#include "prefs/preferences_format.h"
#include "sim/run_result.h"
#include "tests/plot/plot_test_helpers.h"
#include "tests/support/kelvara_fixture.h"

#include "framework/canvas.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTest>
#include <QWidget>

#include <cmath>
#include <string>
#include <vector>

namespace {

using plot_test::ChooseCircuit;
using plot_test::LabelText;
using plot_test::PressPlot;
using plot_test::SetField;

// A figure cut after its fourth decimal, as the reference table prints it.
double Cut4(double value) {
    return std::trunc(value * 10000) / 10000;
}

struct ReferenceRow {
    const char* name;
    int circuit;
    const char* startPhase;
    double startRadians;                           // the phase of the first sample
    double minV, maxV, minI, maxI, maxDiodeI, piv; // cut after four decimals
    const char* loadVoltageText;
    const char* loadCurrentText;
    const char* pivText;
    const char* peakText;
};

void PrintTo(const ReferenceRow& row, std::ostream* out) {
    *out << row.name;
}

class ReferenceFigures : public ::testing::TestWithParam<ReferenceRow> {};

TEST_P(ReferenceFigures, PlotReportsThem) {
    const ReferenceRow& row = GetParam();
    MainWindow& window = testing_support::StartKelvara();
    ChooseCircuit(window, row.circuit);
    ASSERT_EQ(window.RectType, row.circuit);
    SetField(window, "EFLinePhase", row.startPhase);

    PressPlot(window);

    const sim::RunResult& result = sim::LastRunResult();
    EXPECT_DOUBLE_EQ(Cut4(result.minV), row.minV);
    EXPECT_DOUBLE_EQ(Cut4(result.maxV), row.maxV);
    EXPECT_DOUBLE_EQ(Cut4(result.minI), row.minI);
    EXPECT_DOUBLE_EQ(Cut4(result.maxI), row.maxI);
    EXPECT_DOUBLE_EQ(Cut4(result.maxDiodeI), row.maxDiodeI);
    EXPECT_DOUBLE_EQ(Cut4(result.diodePiv), row.piv);
    EXPECT_EQ(LabelText(window, "LoadVt"), row.loadVoltageText);
    EXPECT_EQ(LabelText(window, "LoadIt"), row.loadCurrentText);
    EXPECT_EQ(LabelText(window, "Dpivt"), row.pivText);
    EXPECT_EQ(LabelText(window, "DIpkt"), row.peakText);
    EXPECT_EQ(window.NumSamples, 800); // one sample per column of the plot
    // Every sample advances the phase by one step from where the pass began.
    EXPECT_NEAR(window.Phase, row.startRadians + 800 * 0.031415926535, 1e-11);
}

// Output 5 V RMS, ratings 120 V and 5 V, 51 and 0.2 ohms, 60 Hz, 12 ohms,
// 3300 uF, "1N4004", a plot 800 samples wide. A bridge diode blocks the
// secondary's peak, the others twice the peak of their winding.
INSTANTIATE_TEST_SUITE_P(
    DefaultCircuit, ReferenceFigures,
    ::testing::Values(
        ReferenceRow{"Bridge", 0, "0", 0.031415926535, 4.1949, 4.8393, 0.3495, 0.4032, 5.0098,
                     7.0710, "Load V (min/max) =\r4.195/4.839", "Load I (min/max) =\r0.35/0.403",
                     "Diode PIV =7.07", "Diode Ipk =5.01"},
        ReferenceRow{"FullWave", 1, "0", 0.031415926535, 2.2069, 2.5653, 0.1839, 0.2137, 3.0748,
                     7.0710, "Load V (min/max) =\r2.207/2.565", "Load I (min/max) =\r0.184/0.214",
                     "Diode PIV =7.07", "Diode Ipk =3.07"},
        ReferenceRow{"HalfWave", 2, "0", 0.031415926535, 4.0036, 5.6219, 0.3336, 0.4684, 5.8703,
                     14.1421, "Load V (min/max) =\r4.004/5.622", "Load I (min/max) =\r0.334/0.468",
                     "Diode PIV =14.14", "Diode Ipk =5.87"},
        ReferenceRow{"Doubler", 3, "0", 0.031415926535, 7.2762, 9.2113, 0.6063, 0.7676, 6.5526,
                     14.1421, "Load V (min/max) =\r7.276/9.211", "Load I (min/max) =\r0.606/0.768",
                     "Diode PIV =14.14", "Diode Ipk =6.55"},
        // The first charge of the empty capacitor starts at the crest, 90
        // degrees at 3.141592654 / 180 radians each.
        ReferenceRow{"BridgeAtTheCrest", 0, "90", 1.570796327, 4.1949, 4.8393, 0.3495, 0.4032,
                     13.6117, 7.0710, "Load V (min/max) =\r4.195/4.839",
                     "Load I (min/max) =\r0.35/0.403", "Diode PIV =7.07", "Diode Ipk =13.61"}),
    [](const ::testing::TestParamInfo<ReferenceRow>& info) { return info.param.name; });

TEST(SimulationRunTest, ReturnPressesPlot) {
    MainWindow& window = testing_support::StartKelvara();
    QTest::keyClick(window.NativeWidget(), Qt::Key_Return);
    EXPECT_EQ(LabelText(window, "LoadVt"), "Load V (min/max) =\r4.195/4.839");
    EXPECT_EQ(LabelText(window, "DIpkt"), "Diode Ipk =5.01");
}

TEST(SimulationRunTest, ReadsTheInputsAsTheyStandWhenPressed) {
    MainWindow& window = testing_support::StartKelvara();
    PressPlot(window);
    const double firstPeak = sim::LastRunResult().maxDiodeI;
    // The secondary resistance calls nothing when edited: only the run reads it.
    SetField(window, "EFSecR", "1");
    PressPlot(window);
    EXPECT_LT(sim::LastRunResult().maxDiodeI, firstPeak);
    EXPECT_DOUBLE_EQ(window.SeriesR, 1 + 51.0 / 576);
    // Pressing again with the same inputs gives the same figures.
    const sim::RunResult second = sim::LastRunResult();
    PressPlot(window);
    EXPECT_EQ(sim::LastRunResult().maxV, second.maxV);
    EXPECT_EQ(sim::LastRunResult().minV, second.minV);
    EXPECT_EQ(sim::LastRunResult().maxDiodeI, second.maxDiodeI);
}

// The plot's width sets the number of samples, and the load figures count
// only from sample 601 on, after the start-up charge.
TEST(SimulationRunTest, LoadFiguresCountFromTheSampleAfterTheStartUpCharge) {
    struct Row {
        int width;
        bool anySampleCounts;
    };
    const Row rows[] = {{601, false}, {602, true}, {650, true}, {300, false}};
    MainWindow& window = testing_support::StartKelvara();
    QWidget* canvas = testing_support::Find<fw::Canvas>(window, "Canvas1").NativeWidget();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.width);
        canvas->resize(row.width, canvas->height());

        PressPlot(window);

        EXPECT_EQ(window.NumSamples, row.width);
        const sim::RunResult& result = sim::LastRunResult();
        if (row.anySampleCounts) {
            EXPECT_GT(result.minV, 4.0);
            EXPECT_LT(result.maxV, 5.0);
            EXPECT_EQ(result.minI, result.minV / 12);
            EXPECT_EQ(result.maxI, result.maxV / 12);
        } else {
            EXPECT_EQ(LabelText(window, "LoadVt"), "Load V (min/max) =\rINF/0");
            EXPECT_EQ(LabelText(window, "LoadIt"), "Load I (min/max) =\rINF/0");
            // Nothing to fit: the smallest voltage scale.
            EXPECT_EQ(window.Vscale, 200000);
        }
    }
    // A single counted sample is both the minimum and the maximum.
    canvas->resize(602, canvas->height());
    PressPlot(window);
    EXPECT_EQ(sim::LastRunResult().minV, sim::LastRunResult().maxV);
}

// Inputs that make the arithmetic meaningless: every run completes and
// writes its four texts, and a negative capacitance charges nothing.
struct DegenerateRow {
    const char* name;
    const char* field;
    const char* text;
    const char* loadVoltageText;
    const char* loadCurrentText;
    const char* pivText;
    const char* peakText;
};

void PrintTo(const DegenerateRow& row, std::ostream* out) {
    *out << row.name;
}

class DegenerateInputs : public ::testing::TestWithParam<DegenerateRow> {};

TEST_P(DegenerateInputs, RunCompletesAndWritesItsTexts) {
    const DegenerateRow& row = GetParam();
    MainWindow& window = testing_support::StartKelvara();
    SetField(window, row.field, row.text);

    PressPlot(window);

    EXPECT_EQ(window.NumSamples, 800);
    EXPECT_EQ(LabelText(window, "LoadVt"), row.loadVoltageText);
    EXPECT_EQ(LabelText(window, "LoadIt"), row.loadCurrentText);
    EXPECT_EQ(LabelText(window, "Dpivt"), row.pivText);
    EXPECT_EQ(LabelText(window, "DIpkt"), row.peakText);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, DegenerateInputs,
    ::testing::Values(
        DegenerateRow{"NoCapacitance", "EFCapacitor", "0", "Load V (min/max) =\rNAN/NAN",
                      "Load I (min/max) =\rNAN/NAN", "Diode PIV =7.07", "Diode Ipk =0"},
        DegenerateRow{"NoLoad", "EFLoadR", "0", "Load V (min/max) =\rNAN/NAN",
                      "Load I (min/max) =\rNAN/NAN", "Diode PIV =7.07", "Diode Ipk =0"},
        DegenerateRow{"NoFrequency", "EFLineFreq", "0", "Load V (min/max) =\rNAN/NAN",
                      "Load I (min/max) =\rNAN/NAN", "Diode PIV =7.07", "Diode Ipk =0"},
        DegenerateRow{"NegativeCapacitance", "EFCapacitor", "-3300", "Load V (min/max) =\r0/0",
                      "Load I (min/max) =\r0/0", "Diode PIV =7.07", "Diode Ipk =0"},
        DegenerateRow{"NoSourceVoltage", "EFVoltsIn", "0", "Load V (min/max) =\r0/0",
                      "Load I (min/max) =\r0/0", "Diode PIV =0", "Diode Ipk =0"}),

    [](const ::testing::TestParamInfo<DegenerateRow>& info) { return info.param.name; });

// Loads that can empty the capacitor within one sample: a sample lasts longer
// than LoadR C (LoadR C / 2 for the doubler's two capacitors in series).
struct DrainRow {
    const char* name;
    const char* settings; // the settings row of the preferences file
    double minV, maxV, minI, maxI, maxDiodeI;
    double tolerance; // 0: exactly these figures
};

void PrintTo(const DrainRow& row, std::ostream* out) {
    *out << row.name;
}

class FastDrainingLoads : public ::testing::TestWithParam<DrainRow> {};

TEST_P(FastDrainingLoads, NeverDriveTheCapacitorPastEmpty) {
    const DrainRow& row = GetParam();
    std::vector<std::string> lines{row.settings};
    lines.insert(lines.end(), prefs::kDefaultDiodeRows.begin(), prefs::kDefaultDiodeRows.end());
    testing_support::WritePreferencesFile(lines);
    MainWindow& window = testing_support::StartKelvara();

    PressPlot(window);

    const sim::RunResult& result = sim::LastRunResult();
    EXPECT_LE(0, result.minV);
    EXPECT_LE(result.minV, result.maxV);
    EXPECT_LE(result.maxV, window.Doubler ? 2 * window.Epk : window.Epk);
    EXPECT_TRUE(std::isfinite(result.maxDiodeI));
    EXPECT_NEAR(result.minV, row.minV, row.tolerance);
    EXPECT_NEAR(result.maxV, row.maxV, row.tolerance);
    EXPECT_NEAR(result.minI, row.minI, row.tolerance);
    EXPECT_NEAR(result.maxI, row.maxI, row.tolerance);
    EXPECT_NEAR(result.maxDiodeI, row.maxDiodeI, row.tolerance);
}

// Settings rows: diode, Hz, start phase, load ohms, output V RMS, primary and
// secondary ratings, primary and secondary ohms, uF, circuit type. The first
// four last 3.0, 3.0, 2.1 and 2.2 times as long as they may; their figures come
// from a separate model of the same time steps, to within 1e-9.
INSTANTIATE_TEST_SUITE_P(
    Designs, FastDrainingLoads,
    ::testing::Values(DrainRow{"Bridge", "1N4004,50,0,1.5,18,230,18,12.4,.27,22,0", 0,
                               21.46948534265, 0, 14.31299022843, 4.72328677538, 1e-9},
                      DrainRow{"FullWave", "1N4004,50,0,1,30,230,30,8.2,.12,33,1", 0,
                               19.14041777959, 0, 19.14041777959, 6.31633786726, 1e-9},
                      DrainRow{"HalfWave",
                               "SS2H9 (Sch),50,90,3.426,7.908,120,12,.4057,.04894,13.93,2", 0,
                               10.43946343182, 0, 3.04712884758, 1.45497811150, 1e-9},
                      DrainRow{"Doubler", "1N4004,50,0,1.15,35.61,120,12,42.97,.1089,79.83,3",
                               1.15807381419, 42.19921778004, 1.00702070799, 36.69497198264,
                               11.27717495654, 1e-9},
                      // 0.99 and 0.99 times as long as they may: the figures the run gave
                      // before it limited the drain, copied from its output, exactly.
                      DrainRow{"BridgeJustBelow", "1N4004,50,0,2,12,120,12,20,.2,50.5,0",
                               3.8721835566856952e-09, 12.075578974734965, 1.9360917783428476e-09,
                               6.0377894873674824, 6.0378231264239943, 0},
                      DrainRow{"DoublerJustBelow", "1N4004,50,0,2,12,120,12,20,.2,101,3",
                               0.21087590254801269, 13.321099877370173, 0.10543795127400635,
                               6.6605499386850866, 4.4755743598157949, 0}),
    [](const ::testing::TestParamInfo<DrainRow>& info) { return info.param.name; });

// Large supplies: the minimum is a sample's, however high the load voltage
// lies, and a figure too long for its label turns to exponent form, while one
// that still shows whole keeps every digit.
struct LargeSupplyRow {
    const char* name;
    const char* outputVoltage;
    const char* loadVoltageText;
    const char* pivText;
};

void PrintTo(const LargeSupplyRow& row, std::ostream* out) {
    *out << row.name;
}

class LargeSupplies : public ::testing::TestWithParam<LargeSupplyRow> {};

TEST_P(LargeSupplies, ReportFiguresThatShowWhole) {
    const LargeSupplyRow& row = GetParam();
    MainWindow& window = testing_support::StartKelvara();
    SetField(window, "EFVoltsIn", row.outputVoltage);

    PressPlot(window);

    EXPECT_EQ(LabelText(window, "LoadVt"), row.loadVoltageText);
    EXPECT_EQ(LabelText(window, "Dpivt"), row.pivText);
    for (const char* name : {"LoadVt", "LoadIt", "Dpivt", "DIpkt"}) {
        const QWidget& label = *testing_support::Find<fw::StaticText>(window, name).NativeWidget();
        const QString text = QString::fromStdString(LabelText(window, name)).replace('\r', '\n');
        for (const QString& line : text.split('\n')) {
            EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(line),
                      label.contentsRect().width())
                << name << " cuts off " << line.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    OutputVoltages, LargeSupplies,
    ::testing::Values(
        LargeSupplyRow{"AboveAMillionVolts", "2e6", "Load V (min/max) =\r2291429.319/2658372.525",
                       "Diode PIV =2828427.12"},
        LargeSupplyRow{"LongestWholeLoadFigures", "1e28",
                       "Load V (min/max) =\r11457158461571565218810560512/"
                       "13291876117438856429316341760",
                       "Diode PIV =14142135600000000495150170112"},
        LargeSupplyRow{"LoadFiguresTooLong", "1e29", "Load V (min/max) =\r1.146e+29/1.329e+29",
                       "Diode PIV =141421356000000004951501701120"},
        LargeSupplyRow{"LongestWholeDiodeFigure", "1e57", "Load V (min/max) =\r1.146e+57/1.329e+57",
                       "Diode PIV =1414213560000000155178971813340596156191481472603805188096"},
        LargeSupplyRow{"DiodeFigureTooLong", "1e58", "Load V (min/max) =\r1.146e+58/1.329e+58",
                       "Diode PIV =1.41e+58"},
        // 9.998e60 volts, whose mantissa rounds up to the next power of ten.
        LargeSupplyRow{"MantissaRoundsUp", "7.07e60", "Load V (min/max) =\r8.1e+60/9.397e+60",
                       "Diode PIV =1e+61"},
        LargeSupplyRow{"LargestVoltage", "1e308", "Load V (min/max) =\rNAN/NAN",
                       "Diode PIV =1.41e+308"}),
    [](const ::testing::TestParamInfo<LargeSupplyRow>& info) { return info.param.name; });

// A capacitor charges only while the source stands above it by the first
// point's voltage of every diode in the path. The smallest voltage of this
// table lies below that point, after the end of its curve, so the solver
// alone would let a trickle through.
TEST(SimulationRunTest, TheConductionTestTakesTheFirstPointOfEveryDiodeInThePath) {
    struct Row {
        int circuit;
        bool charges;
    };
    // A crest of 7.07 V (3.54 V on the full wave's half winding) against
    // 3.6 V a diode: two diodes of the bridge block it, one diode does not.
    const Row rows[] = {{0, false}, {1, false}, {2, true}, {3, true}};
    // Rows 0 and 1, then the end of the curve; row 9 holds 0.1 V at 0 A.
    const std::string steep = "Steep,3.6,0,3.8,1" + std::string(14, ',') + ",.1,0";
    testing_support::WritePreferencesFile({"Steep,60,0,12,5,120,5,51,.2,3300,0", steep});
    MainWindow& window = testing_support::StartKelvara();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.circuit);
        ChooseCircuit(window, row.circuit);

        PressPlot(window);

        EXPECT_EQ(sim::LastRunResult().maxDiodeI > 0, row.charges);
        EXPECT_EQ(sim::LastRunResult().maxV > 0, row.charges);
    }
}

} // namespace
