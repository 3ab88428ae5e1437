#pragma once

#include "app/main_window.h"

#include <string>

// The two axes of the plot: the voltage axis at the left (load voltage and
// diode voltage) and the current axis at the right (charging current). Each
// has a scale in pixels per unit, nine labels and an "Auto Scale" box.
namespace plot {

struct Axis {
    double MainWindow::*scale; // pixels per volt or per ampere; 0 while unset
    const char* labels;        // the control array of its labels, index 0 at the bottom
    const char* autoScaleBox;  // checked: each run chooses the full scale
};

inline constexpr Axis kVoltageAxis{&MainWindow::Vscale, "YLeft", "CBAutoVolts"};
inline constexpr Axis kCurrentAxis{&MainWindow::Iscale, "Yright", "CBAutoCurrent"};

inline constexpr int kAxisLabelCount = 9; // labels 0 to 8, 50 rows apart
inline constexpr int kAxisDivisions = 8;  // label k shows k / 8 of the full scale

// The text of label k for a full scale: k x fullScale / 8 by "###.00###".
std::string AxisLabelText(double fullScale, int k);

// Writes all labels of the axis for a full scale, from index 0 up.
void WriteAxisLabels(MainWindow& window, const Axis& axis, double fullScale);

} // namespace plot
