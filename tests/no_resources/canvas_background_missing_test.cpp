// This program runs where no Resources folder stands beside its folder.

#include "tests/support/kelvara_fixture.h"

#include "app/canvas_background.h"

#include "framework/canvas.h"
#include "framework/runtime.h"

#include <gtest/gtest.h>

TEST(CanvasBackgroundMissing, ThePlotOpensPlainAndNothingIsReported) {
    EXPECT_FALSE(CanvasBackground());
    MainWindow& window = testing_support::StartKelvara();
    EXPECT_EQ(window.Controls().size(), 68u);
    EXPECT_FALSE(testing_support::Find<fw::Canvas>(window, "Canvas1").Backdrop());
    EXPECT_EQ(fw::UnhandledExceptionCount(), 0);
}
