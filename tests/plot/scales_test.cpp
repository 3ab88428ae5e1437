// Automatic full scales after the measuring pass, and the axis labels.

#include "app/main_window.h"
#include "tests/plot/plot_test_helpers.h"
#include "tests/support/kelvara_fixture.h"

#include "framework/check_box.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>

namespace {

using namespace plot_test;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// One axis as the tests drive it.
struct AxisUnderTest {
    const char* name;
    void (MainWindow::*fit)(double);
    double MainWindow::*scale;
    const char* labels;
    const char* box;
    double MainWindow::*otherScale;
    const char* otherLabels;
};
constexpr AxisUnderTest kAxes[] = {
    {"voltage", &MainWindow::SetVScale, &MainWindow::Vscale, "YLeft", "CBAutoVolts",
     &MainWindow::Iscale, "Yright"},
    {"current", &MainWindow::SetIScale, &MainWindow::Iscale, "Yright", "CBAutoCurrent",
     &MainWindow::Vscale, "YLeft"},
};

TEST(AutoScaleTest, TakesTheSmallestStepNotBelowTheMaximum) {
    struct Row {
        double max;
        double scale; // pixels per unit: 400 / full scale
        const char* topLabel;
    };
    const Row rows[] = {
        {8, 50, "8.00"},                                    // a step equal to the maximum is taken
        {8.0001, 40, "10.00"},                              // just above a step: the next one
        {0.0021, 100000, "0.004"},                          // just above the first step
        {0.002, 200000, "0.002"},                           // the first step
        {0, 200000, "0.002"},                               // nothing to fit
        {-5, 200000, "0.002"},                              // negative
        {-kInf, 200000, "0.002"},  {kNaN, 200000, "0.002"}, // not a number: the first step
        {1.0000001, 250, "1.60"},  {17, 20, "20.00"},
        {9000, 0.04, "10000.00"}, // above 8000: the last step
        {50000, 0.04, "10000.00"}, {kInf, 0.04, "10000.00"},
    };
    MainWindow& window = testing_support::StartKelvara();
    for (const AxisUnderTest& axis : kAxes) {
        for (const Row& row : rows) {
            SCOPED_TRACE(::testing::Message() << axis.name << " axis, maximum " << row.max);
            (window.*axis.fit)(row.max);
            EXPECT_EQ(window.*axis.scale, row.scale);
            EXPECT_EQ(LabelText(window, axis.labels, 0), "0.00");
            EXPECT_EQ(LabelText(window, axis.labels, 8), row.topLabel);
            // The other axis is left alone.
            EXPECT_EQ(window.*axis.otherScale, 0);
            EXPECT_EQ(LabelText(window, axis.otherLabels, 8), "0");
        }
        window.*axis.scale = 0;
        for (int k = 0; k < 9; ++k) {
            testing_support::Find<fw::StaticText>(window, axis.labels, k).SetText("0");
        }
    }
}

TEST(AutoScaleTest, LabelsShowEighthsOfTheFullScale) {
    struct Row {
        double fullScale;
        std::array<const char*, 9> labels; // index 0 at the zero line
    };
    const Row rows[] = {
        {20, {"0.00", "2.50", "5.00", "7.50", "10.00", "12.50", "15.00", "17.50", "20.00"}},
        {8, {"0.00", "1.00", "2.00", "3.00", "4.00", "5.00", "6.00", "7.00", "8.00"}},
        {1.6, {"0.00", "0.20", "0.40", "0.60", "0.80", "1.00", "1.20", "1.40", "1.60"}},
        {0.002,
         {"0.00", "0.00025", "0.0005", "0.00075", "0.001", "0.00125", "0.0015", "0.00175",
          "0.002"}},
        {10000,
         {"0.00", "1250.00", "2500.00", "3750.00", "5000.00", "6250.00", "7500.00", "8750.00",
          "10000.00"}},
    };
    MainWindow& window = testing_support::StartKelvara();
    for (const AxisUnderTest& axis : kAxes) {
        for (const Row& row : rows) {
            SCOPED_TRACE(::testing::Message()
                         << axis.name << " axis, full scale " << row.fullScale);
            (window.*axis.fit)(row.fullScale);
            for (int k = 0; k < 9; ++k) {
                EXPECT_EQ(LabelText(window, axis.labels, k), row.labels[k]) << "label " << k;
            }
        }
    }
}

// A box unchecked before the run keeps its axis as it is, while the other
// axis is still chosen from the measuring pass.
TEST(AutoScaleTest, AxesAreChosenIndependently) {
    MainWindow& window = testing_support::StartKelvara();
    for (const AxisUnderTest& axis : kAxes) {
        SCOPED_TRACE(::testing::Message() << axis.name << " box unchecked");
        // Start each axis unset and labelled "0", as after start-up.
        for (const AxisUnderTest& each : kAxes) {
            window.*each.scale = 0;
            testing_support::Find<fw::CheckBox>(window, each.box).SetValue(true);
            for (int k = 0; k < 9; ++k) {
                testing_support::Find<fw::StaticText>(window, each.labels, k).SetText("0");
            }
        }
        Click(testing_support::Find<fw::CheckBox>(window, axis.box).NativeWidget());
        ASSERT_FALSE(testing_support::Find<fw::CheckBox>(window, axis.box).Value());

        PressPlot(window);

        EXPECT_EQ(window.*axis.scale, 0);
        EXPECT_EQ(window.*axis.otherScale, 50); // 4.84 V and 5.01 A both fit 8
        for (int k = 0; k < 9; ++k) {
            EXPECT_EQ(LabelText(window, axis.labels, k), "0");
            EXPECT_EQ(LabelText(window, axis.otherLabels, k), std::to_string(k) + ".00");
        }
    }
}

TEST(AutoScaleTest, ClickingTheCurrentBoxChangesNothingAtOnce) {
    MainWindow& window = testing_support::StartKelvara();
    PressPlot(window);
    auto& box = testing_support::Find<fw::CheckBox>(window, "CBAutoCurrent");
    for (bool checked : {false, true}) {
        Click(box.NativeWidget());
        EXPECT_EQ(box.Value(), checked);
        EXPECT_EQ(window.Iscale, 50);
        EXPECT_EQ(LabelText(window, "Yright", 8), "8.00");
        EXPECT_EQ(LabelText(window, "DIpkt"), "Diode Ipk =5.01");
    }
}

} // namespace
