// The arrows beside the axes: stepping a full scale by hand and locking it.

#include "app/main_window.h"
#include "tests/plot/plot_test_helpers.h"
#include "tests/support/kelvara_fixture.h"

#include "framework/check_box.h"
#include "framework/up_down_arrows.h"

#include <gtest/gtest.h>

namespace {

using namespace plot_test;

enum class Arrow { Up, Down };

struct AxisUnderTest {
    const char* name;
    const char* arrows;
    double MainWindow::*scale;
    const char* labels;
    const char* box;
    double MainWindow::*otherScale;
    const char* otherLabels;
    const char* otherBox;
};
constexpr AxisUnderTest kAxes[] = {
    {"voltage", "VSupdown", &MainWindow::Vscale, "YLeft", "CBAutoVolts", &MainWindow::Iscale,
     "Yright", "CBAutoCurrent"},
    {"current", "ISupdown", &MainWindow::Iscale, "Yright", "CBAutoCurrent", &MainWindow::Vscale,
     "YLeft", "CBAutoVolts"},
};

void Press(MainWindow& window, const AxisUnderTest& axis, Arrow arrow) {
    auto& arrows = testing_support::Find<fw::UpDownArrows>(window, axis.arrows);
    Click(arrow == Arrow::Up ? arrows.UpButton() : arrows.DownButton());
}

bool BoxChecked(MainWindow& window, const char* box) {
    return testing_support::Find<fw::CheckBox>(window, box).Value();
}

TEST(ScaleArrowsTest, StepToTheNeighbouringFullScaleAndLock) {
    constexpr double kUnset = 0;
    struct Row {
        double fullScale; // before the press; kUnset: no scale yet
        Arrow arrow;
        double newFullScale;
        const char* topLabel;
    };
    const Row rows[] = {
        {kUnset, Arrow::Up, 0.002, "0.002"},
        {kUnset, Arrow::Down, 0.002, "0.002"},
        {8000, Arrow::Up, 10000, "10000.00"},
        {10000, Arrow::Up, 10000, "10000.00"}, // stays at the last step
        {0.004, Arrow::Down, 0.002, "0.002"},
        {0.002, Arrow::Down, 0.002, "0.002"}, // stays at the first step
        {10000, Arrow::Down, 8000, "8000.00"},
        {8000, Arrow::Down, 4000, "4000.00"},
        {0.8, Arrow::Up, 1, "1.00"},
        {1, Arrow::Up, 1.6, "1.60"},
        {1, Arrow::Down, 0.8, "0.80"},
        {0.016, Arrow::Down, 0.01, "0.01"},
        {0.008, Arrow::Up, 0.01, "0.01"},
    };
    MainWindow& window = testing_support::StartKelvara();
    for (const AxisUnderTest& axis : kAxes) {
        for (const Row& row : rows) {
            SCOPED_TRACE(::testing::Message() << axis.name << " axis from " << row.fullScale
                                              << (row.arrow == Arrow::Up ? " up" : " down"));
            window.*axis.scale = row.fullScale == kUnset ? 0 : 400 / row.fullScale;
            window.*axis.otherScale = 0;
            testing_support::Find<fw::CheckBox>(window, axis.box).SetValue(true);

            Press(window, axis, row.arrow);

            EXPECT_EQ(window.*axis.scale, 400 / row.newFullScale);
            EXPECT_EQ(LabelText(window, axis.labels, 0), "0.00");
            EXPECT_EQ(LabelText(window, axis.labels, 8), row.topLabel);
            EXPECT_FALSE(BoxChecked(window, axis.box));
            // The other axis is untouched.
            EXPECT_EQ(window.*axis.otherScale, 0);
            EXPECT_EQ(LabelText(window, axis.otherLabels, 8), "0");
            EXPECT_TRUE(BoxChecked(window, axis.otherBox));
        }
        window.*axis.scale = 0;
        testing_support::Find<fw::CheckBox>(window, axis.box).SetValue(true);
        for (int k = 0; k < 9; ++k) {
            testing_support::Find<fw::StaticText>(window, axis.labels, k).SetText("0");
        }
    }
}

TEST(ScaleArrowsTest, EveryStepOfTheTableIsReachedInTurn) {
    MainWindow& window = testing_support::StartKelvara();
    const double steps[] = {0.002, 0.004, 0.008, 0.01, 0.016, 0.02, 0.04, 0.08, 0.1,
                            0.16,  0.2,   0.4,   0.8,  1,     1.6,  2,    4,    8,
                            10,    16,    20,    40,   80,    100,  160,  200,  400,
                            800,   1000,  1600,  2000, 4000,  8000, 10000};
    for (const AxisUnderTest& axis : kAxes) {
        SCOPED_TRACE(axis.name);
        for (double step : steps) {
            Press(window, axis, Arrow::Up);
            EXPECT_EQ(window.*axis.scale, 400 / step) << "up to " << step;
        }
        for (int i = static_cast<int>(std::size(steps)) - 2; i >= 0; --i) {
            Press(window, axis, Arrow::Down);
            EXPECT_EQ(window.*axis.scale, 400 / steps[i]) << "down to " << steps[i];
        }
    }
}

TEST(ScaleArrowsTest, ALockedScaleHoldsUntilTheBoxIsCheckedAgain) {
    MainWindow& window = testing_support::StartKelvara();
    PressPlot(window);
    ASSERT_EQ(window.Vscale, 50); // full scale 8

    Press(window, kAxes[0], Arrow::Up);
    ASSERT_EQ(window.Vscale, 40); // full scale 10, locked
    PressPlot(window);
    EXPECT_EQ(window.Vscale, 40);
    EXPECT_EQ(LabelText(window, "YLeft", 8), "10.00");
    EXPECT_EQ(window.Iscale, 50); // the current axis still chooses

    Click(testing_support::Find<fw::CheckBox>(window, "CBAutoVolts").NativeWidget());
    ASSERT_TRUE(BoxChecked(window, "CBAutoVolts"));
    PressPlot(window);
    EXPECT_EQ(window.Vscale, 50);
    EXPECT_EQ(LabelText(window, "YLeft", 8), "8.00");
}

} // namespace
