// The three traces and the source reference dot in the waveform picture,
// "Clear", and the canvas showing the picture.

#include "app/main_window.h"
#include "tests/plot/plot_test_helpers.h"
#include "tests/support/kelvara_fixture.h"

#include "framework/canvas.h"
#include "framework/up_down_arrows.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

using namespace plot_test;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kNoRow = -1;

enum class Trace { LoadVoltage, Current, DiodeVoltage };

struct TraceRow {
    const char* what;
    Trace trace;
    double value;
    double scale;
    int row; // where the segment ends, or kNoRow when nothing is drawn
};

double& LastRow(MainWindow& w, Trace trace) {
    switch (trace) {
    case Trace::LoadVoltage:
        return w.LastYV;
    case Trace::Current:
        return w.LastYI;
    case Trace::DiodeVoltage:
        return w.LastYD;
    }
    return w.LastYV;
}

fw::Color Colour(Trace trace) {
    switch (trace) {
    case Trace::LoadVoltage:
        return kGreen;
    case Trace::Current:
        return kRed;
    case Trace::DiodeVoltage:
        return kBlue;
    }
    return kGreen;
}

// Draws one sample of a trace with its scale; the reference dot, which the
// load-voltage routine also draws, is kept out of the way in row 200.
void DrawSample(MainWindow& w, Trace trace, double value, double scale) {
    w.Phase = 0;
    w.CapI = 0;
    w.Es = 1;
    switch (trace) {
    case Trace::LoadVoltage:
        w.Vscale = scale;
        w.AddDataPointV(value);
        break;
    case Trace::Current:
        w.Iscale = scale;
        w.AddDataPointI(value);
        break;
    case Trace::DiodeVoltage:
        w.Vscale = scale;
        w.AddDataPointD(value);
        break;
    }
}

TEST(TracesTest, EachSampleJoinsThePreviousRowToItsOwn) {
    MainWindow& window = testing_support::StartKelvara();
    fw::Picture& picture = Picture(window);
    const TraceRow rows[] = {
        {"load voltage", Trace::LoadVoltage, 4, 50, 200},
        {"load voltage of 0", Trace::LoadVoltage, 0, 50, 400},
        {"negative load voltage", Trace::LoadVoltage, -3, 50, 400},
        {"load voltage above full scale", Trace::LoadVoltage, 9, 50, 0},
        {"infinite load voltage", Trace::LoadVoltage, kInf, 50, 0},
        {"load voltage, no scale yet", Trace::LoadVoltage, 5, 0, 400},
        {"load voltage not a number", Trace::LoadVoltage, kNaN, 50, kNoRow},
        {"infinite load voltage, no scale yet", Trace::LoadVoltage, kInf, 0, kNoRow},
        {"current", Trace::Current, 2, 50, 300},
        {"no current", Trace::Current, 0, 50, 399},
        {"negative current", Trace::Current, -1, 50, 399},
        {"current above full scale", Trace::Current, 100, 50, 0},
        {"current, no scale yet", Trace::Current, 3, 0, 399},
        {"current not a number", Trace::Current, kNaN, 50, kNoRow},
        {"diode voltage", Trace::DiodeVoltage, 1.5, 50, 325},
        {"no diode voltage", Trace::DiodeVoltage, 0, 50, 399},
        {"negative infinite diode voltage", Trace::DiodeVoltage, -kInf, 50, 399},
        {"diode voltage, no scale yet", Trace::DiodeVoltage, 2, 0, 399},
        {"diode voltage not a number", Trace::DiodeVoltage, kNaN, 50, kNoRow},
    };
    constexpr int kPreviousRow = 250;
    int column = 10;
    for (const TraceRow& row : rows) {
        SCOPED_TRACE(row.what);
        window.NumSamples = column;
        LastRow(window, row.trace) = kPreviousRow;

        DrawSample(window, row.trace, row.value, row.scale);

        const fw::Color colour = Colour(row.trace);
        EXPECT_EQ(picture.Transparent(), 1);
        if (row.row == kNoRow) {
            EXPECT_TRUE(std::isnan(LastRow(window, row.trace)));
            EXPECT_FALSE(ColumnHasColour(picture, column, 0, 499, colour));
            EXPECT_FALSE(ColumnHasColour(picture, column + 1, 0, 499, colour));
        } else {
            EXPECT_EQ(LastRow(window, row.trace), row.row);
            ASSERT_FALSE(picture.IsBlank(column, kPreviousRow));
            EXPECT_EQ(picture.Pixel(column, kPreviousRow), colour);
            ASSERT_FALSE(picture.IsBlank(column + 1, row.row));
            EXPECT_EQ(picture.Pixel(column + 1, row.row), colour);
        }
        column += 20;
    }
}

TEST(TracesTest, LastRowKeepsTheUnroundedRow) {
    MainWindow& window = testing_support::StartKelvara();
    window.NumSamples = 5;
    window.LastYV = 300;
    DrawSample(window, Trace::LoadVoltage, 4.25, 50); // 400 - 212.5
    EXPECT_EQ(window.LastYV, 187.5);
}

TEST(TracesTest, EveryPassStartsItsTracesOnTheZeroLine) {
    MainWindow& window = testing_support::StartKelvara();
    fw::Picture& picture = Picture(window);
    for (Trace trace : {Trace::LoadVoltage, Trace::Current, Trace::DiodeVoltage}) {
        SCOPED_TRACE(static_cast<int>(trace));
        window.NumSamples = 0;
        LastRow(window, trace) = 123; // left from an earlier pass
        DrawSample(window, trace, 2, 50);
        EXPECT_EQ(picture.Pixel(0, 400), Colour(trace));
        EXPECT_EQ(picture.Pixel(1, 300), Colour(trace));
        EXPECT_FALSE(ColumnHasColour(picture, 0, 123, 123, Colour(trace)));
    }
}

TEST(TracesTest, FirstSegmentOfARunStartsAtTheZeroLine) {
    MainWindow& window = testing_support::StartKelvara();
    PressPlot(window);
    fw::Picture& picture = Picture(window);
    // Column 0 holds the start of each trace on row 400, the diode-voltage
    // trace drawn last, and in the visible rows only the reference dot: the
    // run starts at the phase of one sample, not at 0, so the dot lies just
    // above the middle row.
    ASSERT_FALSE(picture.IsBlank(0, 400));
    EXPECT_EQ(picture.Pixel(0, 400), kBlue);
    int drawnRows = 0;
    for (int row = 0; row < 400; ++row) {
        if (!picture.IsBlank(0, row)) {
            ++drawnRows;
            EXPECT_EQ(picture.Pixel(0, row), kGrey);
            EXPECT_GE(row, 196);
            EXPECT_LE(row, 197);
        }
    }
    EXPECT_EQ(drawnRows, 1);
}

TEST(TracesTest, ReferenceDotFollowsTheLineAndTheSeriesDrop) {
    MainWindow& window = testing_support::StartKelvara();
    fw::Picture& picture = Picture(window);
    struct Row {
        const char* what;
        double phase;
        double capI;
        double seriesR;
        double es;
        int row; // kNoRow: no dot anywhere in the column
    };
    constexpr double kQuarter = std::numbers::pi / 2;
    const Row rows[] = {
        {"crest, no current", kQuarter, 0, 0.2, 5, 100},
        {"trough, no current", 3 * kQuarter, 0, 0.2, 5, 300},
        {"crest, half the source across the series resistance", kQuarter, 10, 0.2, 4, 150},
        {"no source, no current", kQuarter, 0, 0.2, 0, kNoRow},
        {"no source, some current", kQuarter, 1, 0.2, 0, kNoRow},
        {"far below the picture", kQuarter, 1e6, 1, 1, kNoRow},
        {"far above the picture", 3 * kQuarter, 1e6, 1, 1, kNoRow},
        {"beyond any row number", kQuarter, 1e300, 1, 1, kNoRow},
        {"infinitely far", kQuarter, 1e300, 1, 1e-300, kNoRow},
    };
    int column = 10;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        window.NumSamples = column;
        window.Phase = row.phase;
        window.CapI = row.capI;
        window.SeriesR = row.seriesR;
        window.Es = row.es;
        window.AddDataPointV(kNaN); // no segment, only the dot
        if (row.row == kNoRow) {
            EXPECT_FALSE(ColumnHasColour(picture, column, 0, 499, kGrey));
        } else {
            ASSERT_FALSE(picture.IsBlank(column, row.row));
            EXPECT_EQ(picture.Pixel(column, row.row), kGrey);
        }
        // The dot of sample n is in column n, not n + 1.
        EXPECT_FALSE(ColumnHasColour(picture, column + 1, 0, 499, kGrey));
        column += 20;
    }
}

// Phase of sample n with a start phase of 0: the run starts one sample in.
double SamplePhase(int n) {
    return (n + 1) * 0.031415926535;
}

bool NegativeHalf(int n) {
    return std::sin(SamplePhase(n)) < 0;
}

TEST(TracesTest, HalfWaveCarriesNoCurrentOnNegativeHalfCycles) {
    struct Row {
        const char* circuit;
        int type;
        bool currentOnNegativeHalf;
    };
    const Row rows[] = {{"Half Wave", 2, false}, {"Bridge", 0, true}};
    MainWindow& window = testing_support::StartKelvara();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.circuit);
        PressClear(window);
        ChooseCircuit(window, row.type);
        PressPlot(window);
        const fw::Picture& picture = Picture(window);

        int negativeColumns = 0;
        int columnsWithCurrent = 0;
        for (int n = 2; n < 800; ++n) {
            // Samples n - 2 to n all on the negative half: every segment
            // that reaches column n lies there.
            if (!(NegativeHalf(n - 2) && NegativeHalf(n - 1) && NegativeHalf(n))) {
                continue;
            }
            ++negativeColumns;
            const bool current = ColumnHasColour(picture, n, 0, 398, kRed) ||
                                 ColumnHasColour(picture, n, 0, 398, kBlue);
            columnsWithCurrent += current ? 1 : 0;
            if (!row.currentOnNegativeHalf) {
                // Current and diode voltage on the baseline, the diode's on top.
                EXPECT_FALSE(ColumnHasColour(picture, n, 0, 499, kRed)) << "column " << n;
                EXPECT_EQ(picture.Pixel(n, 399), kBlue) << "column " << n;
                // No current: the dot is the line voltage itself.
                const int dotRow = static_cast<int>(200 - 100 * std::sin(SamplePhase(n)));
                EXPECT_TRUE(ColumnHasColour(picture, n, dotRow - 1, dotRow + 1, kGrey))
                    << "column " << n;
            }
        }
        EXPECT_GT(negativeColumns, 300);
        if (row.currentOnNegativeHalf) {
            EXPECT_GT(columnsWithCurrent, 0);
        } else {
            EXPECT_EQ(columnsWithCurrent, 0);
        }
    }
}

// Rows of the load-voltage trace between two voltages at a scale, with one
// row of slack for the conversion to a row number.
struct Band {
    int top;
    int bottom;
};
Band RowsBetween(double lowV, double highV, double scale) {
    return {static_cast<int>(400 - highV * scale) - 1, static_cast<int>(400 - lowV * scale) + 1};
}

TEST(TracesTest, TracesLieWhereTheirValuesAre) {
    MainWindow& window = testing_support::StartKelvara();
    PressPlot(window);
    ASSERT_EQ(window.Vscale, 50); // full scale 8 V
    ASSERT_EQ(window.Iscale, 50); // full scale 8 A
    const fw::Picture& picture = Picture(window);

    // After the start-up charge the load voltage stays between 4.19 and 4.84 V.
    // Later drawing (the dot, the current) may cover a pixel of the load
    // voltage here and there, but nothing green lies outside its band.
    const Band band = RowsBetween(4.19, 4.84, window.Vscale);
    int columnsWithLoadVoltage = 0;
    int columnsWithCurrent = 0;
    int columnsWithDiodeVoltage = 0;
    for (int column = 603; column < 800; ++column) {
        columnsWithLoadVoltage +=
            ColumnHasColour(picture, column, band.top, band.bottom, kGreen) ? 1 : 0;
        EXPECT_FALSE(ColumnHasColour(picture, column, 0, band.top - 1, kGreen)) << column;
        EXPECT_FALSE(ColumnHasColour(picture, column, band.bottom + 1, 499, kGreen)) << column;
        // The peak current of the steady state is below 5.01 A.
        EXPECT_FALSE(ColumnHasColour(picture, column, 0, 148, kRed)) << column;
        columnsWithCurrent += ColumnHasColour(picture, column, 150, 398, kRed) ? 1 : 0;
        // Two conducting diodes drop 1 to 2.8 V; 0 lies on row 399.
        columnsWithDiodeVoltage += ColumnHasColour(picture, column, 259, 398, kBlue) ? 1 : 0;
    }
    EXPECT_GT(columnsWithLoadVoltage, 180);
    EXPECT_GT(columnsWithCurrent, 10);
    EXPECT_GT(columnsWithDiodeVoltage, 10);
}

TEST(TracesTest, RunsAccumulateUntilClearErasesTheVisibleRows) {
    MainWindow& window = testing_support::StartKelvara();
    PressPlot(window);
    ASSERT_EQ(window.Vscale, 50);
    // One step up locks the voltage scale at 10 V for the second run.
    Click(testing_support::Find<fw::UpDownArrows>(window, "VSupdown").UpButton());
    PressPlot(window);
    ASSERT_EQ(window.Vscale, 40);
    const fw::Picture& picture = Picture(window);

    const Band first = RowsBetween(4.19, 4.84, 50);
    const Band second = RowsBetween(4.19, 4.84, 40);
    int columnsWithBoth = 0;
    for (int column = 603; column < 800; ++column) {
        columnsWithBoth +=
            ColumnHasColour(picture, column, first.top, first.bottom, kGreen) &&
                    ColumnHasColour(picture, column, second.top, second.bottom, kGreen)
                ? 1
                : 0;
    }
    EXPECT_GT(columnsWithBoth, 150);
    const std::string figures = LabelText(window, "LoadVt");

    PressClear(window);

    for (int column = 0; column < 800; ++column) {
        for (int row = 0; row < 400; ++row) {
            ASSERT_TRUE(picture.IsBlank(column, row)) << column << "," << row;
        }
    }
    EXPECT_FALSE(picture.IsBlank(0, 400)); // rows below the plot are kept
    EXPECT_EQ(picture.Transparent(), 1);
    EXPECT_EQ(window.Vscale, 40);
    EXPECT_EQ(LabelText(window, "YLeft", 8), "10.00");
    EXPECT_EQ(LabelText(window, "LoadVt"), figures);
}

QImage CanvasOnScreen(MainWindow& window) {
    return testing_support::Find<fw::Canvas>(window, "Canvas1").NativeWidget()->grab().toImage();
}

TEST(TracesTest, CanvasShowsThePictureOverItsBackdrop) {
    MainWindow& window = testing_support::StartKelvara();
    const QImage backdropAlone = CanvasOnScreen(window);

    PressPlot(window);
    testing_support::ProcessEvents();
    const QImage withTraces = CanvasOnScreen(window);
    const fw::Picture& picture = Picture(window);
    int tracePixels = 0;
    for (int column = 0; column < 800; column += 7) {
        for (int row = 0; row < 400; ++row) {
            if (picture.IsBlank(column, row)) {
                continue;
            }
            const fw::Color colour = picture.Pixel(column, row);
            const QColor shown = withTraces.pixelColor(column, row);
            EXPECT_EQ(shown, QColor(colour.red, colour.green, colour.blue)) << column << "," << row;
            ++tracePixels;
        }
    }
    EXPECT_GT(tracePixels, 100);

    PressClear(window);
    testing_support::ProcessEvents();
    EXPECT_EQ(CanvasOnScreen(window), backdropAlone);
}

} // namespace
