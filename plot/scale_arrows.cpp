// The arrows beside each axis: one press steps the axis's full scale to the
// neighbouring entry of the table and locks it there, so that the following
// runs keep it.

#include "plot/axis.h"
#include "plot/plot_geometry.h"
#include "plot/scale_steps.h"

#include "framework/check_box.h"
#include "framework/runtime.h"

#include <algorithm>

namespace {

enum class Step { Up, Down };

// The table index after one press on an axis with this scale. Every scale
// that is set is 400 / e for an entry e, so the first entry whose scale is
// smaller is the next larger full scale; an unset scale starts at the first.
int SteppedIndex(double scale, Step step) {
    if (!(scale > 0)) {
        return 0;
    }
    for (int f = 0; f <= plot::kLastScaleStep; ++f) {
        if (plot::kFullScaleRows / plot::kScaleSteps[f] < scale) {
            return step == Step::Up ? f : std::max(f - 2, 0);
        }
        fw::RuntimeBackgroundTask();
    }
    // The full scale is already the largest.
    return step == Step::Up ? plot::kLastScaleStep : plot::kLastScaleStep - 1;
}

void PressArrow(MainWindow& window, const plot::Axis& axis, Step step) {
    double& scale = window.*axis.scale;
    scale = plot::kFullScaleRows / plot::kScaleSteps[SteppedIndex(scale, step)];
    plot::WriteAxisLabels(window, axis, plot::kFullScaleRows / scale);
    fw::ControlByName<fw::CheckBox>(window, axis.autoScaleBox).SetValue(false);
}

} // namespace

void MainWindow::VSupdown_Up() {
    PressArrow(*this, plot::kVoltageAxis, Step::Up);
}
void MainWindow::VSupdown_Down() {
    PressArrow(*this, plot::kVoltageAxis, Step::Down);
}
void MainWindow::ISupdown_Up() {
    PressArrow(*this, plot::kCurrentAxis, Step::Up);
}
void MainWindow::ISupdown_Down() {
    PressArrow(*this, plot::kCurrentAxis, Step::Down);
}
