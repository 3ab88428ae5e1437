// This program runs from a folder with no "Resources" folder beside it.

#include "framework/files.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

TEST(NoResourcesTest, ThereIsNoResourcesFolder) {
    EXPECT_FALSE(_GetApplicationBundleResources());
}

} // namespace
} // namespace fw
