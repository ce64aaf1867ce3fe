#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/screen/ScreenCapture.h"

namespace veltrin::platform {
namespace {

// Runs against whatever X server DISPLAY names (Xvfb in CI); without one there is nothing to test.
TEST(ScreenCaptureTest, ListsAndCapturesTheDisplays) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display";
    const std::vector<DisplayInfo> displays = ScreenCapture::listDisplays();
    ASSERT_FALSE(displays.empty());
    EXPECT_FALSE(displays[0].name.isEmpty());
    const auto image = ScreenCapture::captureDisplay(displays[0]);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), displays[0].geometry.size());

    DisplayInfo missing = displays[0];
    missing.screen = 99;
    EXPECT_FALSE(ScreenCapture::captureDisplay(missing));
}

}  // namespace
}  // namespace veltrin::platform
