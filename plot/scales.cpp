// The automatic choice of a full scale after the measuring pass, and the
// axis labels.

#include "plot/axis.h"
#include "plot/plot_geometry.h"
#include "plot/scale_steps.h"

#include "framework/check_box.h"
#include "framework/runtime.h"
#include "framework/static_text.h"
#include "framework/text.h"

namespace plot {

namespace {

constexpr const char* kLabelMask = "###.00###"; // at least two decimals, five at most

// The smallest full scale not below the maximum; the largest one for any
// maximum above it, and the smallest for a maximum that is not a number.
int FittingStep(double max) {
    int i = 0;
    while (kScaleSteps[i] < max && i < kLastScaleStep) {
        ++i;
        fw::RuntimeBackgroundTask();
    }
    return i;
}

// Fits the axis to the maximum while its "Auto Scale" box is checked; an
// unchecked box keeps the scale and labels it has.
void FitAxis(MainWindow& window, const Axis& axis, double max) {
    if (!fw::ControlByName<fw::CheckBox>(window, axis.autoScaleBox).Value()) {
        return;
    }
    const double fullScale = kScaleSteps[FittingStep(max)];
    window.*axis.scale = kFullScaleRows / fullScale;
    WriteAxisLabels(window, axis, fullScale);
}

} // namespace

std::string AxisLabelText(double fullScale, int k) {
    return fw::Format(k * fullScale / kAxisDivisions, kLabelMask);
}

void WriteAxisLabels(MainWindow& window, const Axis& axis, double fullScale) {
    for (int k = 0; k < kAxisLabelCount; ++k) {
        fw::ControlByNameIndex<fw::StaticText>(window, axis.labels, k)
            .SetText(AxisLabelText(fullScale, k));
        fw::RuntimeBackgroundTask();
    }
}

} // namespace plot

void MainWindow::SetVScale(double max) {
    plot::FitAxis(*this, plot::kVoltageAxis, max);
}

void MainWindow::SetIScale(double max) {
    plot::FitAxis(*this, plot::kCurrentAxis, max);
}

// A box's state counts only when the next run chooses its scales.
void MainWindow::CBAutoCurrent_Action() {}
