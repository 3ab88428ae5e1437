// The waveforms: each sample of the drawing pass adds one short segment to
// each of the three traces in the off-screen waveform picture, and one dot of
// the source reference. The canvas shows the picture when it paints.

#include "app/main_window.h"
#include "plot/plot_geometry.h"

#include "framework/canvas.h"
#include "framework/color.h"
#include "framework/graphics.h"
#include "framework/picture.h"
#include "framework/text.h"

#include <algorithm>
#include <cmath>

namespace {

struct TraceStyle {
    double lowestRow; // the load voltage may sink to the zero line, below the
                      // visible plot; current and diode voltage stay on its
                      // bottom row as a visible baseline
    fw::Color colour;
};

constexpr TraceStyle kLoadVoltageTrace{400, fw::RGB(0, 255, 0)};
constexpr TraceStyle kChargingCurrentTrace{399, fw::RGB(255, 0, 0)};
constexpr TraceStyle kDiodeVoltageTrace{399, fw::RGB(0, 0, 255)};

// The source reference: the line voltage as a sine of fixed size around the
// plot's middle row, whatever the scales.
constexpr fw::Color kReferenceColour = fw::RGB(80, 80, 80);
constexpr double kReferenceAxisRow = 200;   // rows
constexpr double kReferenceAmplitude = 100; // rows

// The row of a value: y = 400 - value x scale, held between row 0 (the full
// scale) and the trace's lowest row. The lower clamp comes first, so only a
// value that is not a number stays so.
double TraceRow(double value, double scale, const TraceStyle& style) {
    const double y = plot::kZeroRow - value * scale;
    return std::min(std::max(y, 0.0), style.lowestRow);
}

// The segment of sample n joins column n, at the previous sample's row, to
// column n + 1, at this sample's. Each pass starts its traces on the zero
// line. A segment with an end that is not a number is left out.
void DrawSegment(fw::Picture& picture, const TraceStyle& style, std::int32_t column,
                 double& lastRow, double row) {
    fw::Graphics& g = picture.Graphics();
    g.SetForeColor(style.colour);
    if (column == 0) {
        lastRow = plot::kZeroRow;
    }
    if (std::isfinite(lastRow) && std::isfinite(row)) {
        g.DrawLine(column, fw::Int32FromDouble(lastRow), column + 1, fw::Int32FromDouble(row));
    }
    lastRow = row;
}

void DrawTracePoint(fw::Picture& picture, const TraceStyle& style, std::int32_t column,
                    double& lastRow, double value, double scale) {
    const double row = TraceRow(value, scale, style);
    picture.SetTransparent(0);
    DrawSegment(picture, style, column, lastRow, row);
    picture.SetTransparent(1);
}

} // namespace

void MainWindow::AddDataPointV(double v) {
    fw::Picture& picture = *WavePict;
    const double row = TraceRow(v, Vscale, kLoadVoltageTrace);
    picture.SetTransparent(0);
    DrawSegment(picture, kLoadVoltageTrace, NumSamples, LastYV, row);

    // The dot moves toward the axis by the share of the source that drops
    // across the series resistance while the capacitor charges:
    //     y = 200 - 100 sin(phase) (1 - CapI SeriesR / Es)
    const double dotRow =
        kReferenceAxisRow - kReferenceAmplitude * std::sin(Phase) * (1 - CapI * SeriesR / Es);
    // A dot that is not a number (a source of 0 V) is left out; one far off
    // the picture is brought just outside it, where it is clipped, before it
    // becomes a row number.
    if (std::isfinite(dotRow)) {
        const std::int32_t dotY = fw::Int32FromDouble(
            std::clamp(dotRow, -1.0, static_cast<double>(plot::kPictureHeight)));
        fw::Graphics& g = picture.Graphics();
        g.SetForeColor(kReferenceColour);
        g.DrawLine(NumSamples, dotY, NumSamples, dotY);
    }
    picture.SetTransparent(1);
}

void MainWindow::AddDataPointI(double i) {
    DrawTracePoint(*WavePict, kChargingCurrentTrace, NumSamples, LastYI, i, Iscale);
}

void MainWindow::AddDataPointD(double v) {
    DrawTracePoint(*WavePict, kDiodeVoltageTrace, NumSamples, LastYD, v, Vscale);
}

// The canvas paints its backdrop, then the picture over it: blank pixels of
// the transparent picture let the backdrop show through. The context the
// event passes is not needed; the canvas's own context draws on it alike.
void MainWindow::Canvas1_Paint(fw::Graphics& /*g*/) {
    if (!WavePict) {
        return; // nothing drawn before the window opened
    }
    fw::ControlByName<fw::Canvas>(*this, "Canvas1").Graphics().DrawPicture(*WavePict, 0, 0);
}

// Erases the traces in the visible rows; scales, labels and result texts stay.
void MainWindow::ClearPB_Action() {
    auto& canvas = fw::ControlByName<fw::Canvas>(*this, "Canvas1");
    WavePict->Graphics().ClearRect(0, 0, canvas.Width(), canvas.Height());
    canvas.Refresh(true);
}
