// The plot's backdrop picture, installed beside the program.

#include "tests/support/kelvara_fixture.h"

#include "app/canvas_background.h"

#include "framework/canvas.h"
#include "framework/picture.h"

#include <gtest/gtest.h>

TEST(CanvasBackground, IsReadOnceFromTheResourcesFolderAndBacksThePlot) {
    fw::Ref<fw::Picture> backdrop = CanvasBackground();
    ASSERT_TRUE(backdrop);
    EXPECT_EQ(backdrop->Width(), 800);
    EXPECT_EQ(backdrop->Height(), 400);
    EXPECT_FALSE(backdrop->IsBlank(400, 200));
    EXPECT_EQ(CanvasBackground(), backdrop) << "the same picture, not a second reading";

    MainWindow& window = testing_support::StartKelvara();
    EXPECT_EQ(testing_support::Find<fw::Canvas>(window, "Canvas1").Backdrop(), backdrop);
}
