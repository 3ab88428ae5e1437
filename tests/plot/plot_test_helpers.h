#pragma once

// Helpers for tests that run the simulation through the real main window:
// pressing its buttons, typing into its fields and reading the waveform
// picture back.

#include "app/main_window.h"
#include "tests/support/kelvara_fixture.h"

#include "framework/color.h"
#include "framework/picture.h"
#include "framework/push_button.h"
#include "framework/radio_button.h"
#include "framework/static_text.h"
#include "framework/text_field.h"

#include <QTest>
#include <QWidget>

#include <string>

// The main window's waveform picture, which only tests may read.
struct MainWindowProbe {
    static fw::Picture& WavePicture(MainWindow& window) { return *window.WavePict; }
};

namespace plot_test {

inline constexpr fw::Color kGreen{0, 255, 0};
inline constexpr fw::Color kRed{255, 0, 0};
inline constexpr fw::Color kBlue{0, 0, 255};
inline constexpr fw::Color kGrey{80, 80, 80};

inline void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

inline void PressPlot(MainWindow& window) {
    Click(testing_support::Find<fw::PushButton>(window, "PlotPB").NativeWidget());
}

inline void PressClear(MainWindow& window) {
    Click(testing_support::Find<fw::PushButton>(window, "ClearPB").NativeWidget());
}

// Clicks the circuit-type button of a type: 0 "Bridge" to 3 "Doubler (FW)".
inline void ChooseCircuit(MainWindow& window, int type) {
    Click(testing_support::Find<fw::RadioButton>(window, "CktTypeBTN", type).NativeWidget());
}

inline void SetField(MainWindow& window, const char* name, const std::string& text) {
    testing_support::Find<fw::TextField>(window, name).SetText(text);
}

inline std::string LabelText(MainWindow& window, const char* name) {
    return testing_support::Find<fw::StaticText>(window, name).Text();
}
inline std::string LabelText(MainWindow& window, const char* name, int index) {
    return testing_support::Find<fw::StaticText>(window, name, index).Text();
}

inline fw::Picture& Picture(MainWindow& window) {
    return MainWindowProbe::WavePicture(window);
}

// Whether any pixel of the column, from row `top` to row `bottom`, has the colour.
inline bool ColumnHasColour(const fw::Picture& picture, int column, int top, int bottom,
                            fw::Color colour) {
    for (int row = top; row <= bottom; ++row) {
        if (!picture.IsBlank(column, row) && picture.Pixel(column, row) == colour) {
            return true;
        }
    }
    return false;
}

} // namespace plot_test
