#include <QApplication>
#include <QStyle>
#include <gtest/gtest.h>

#include "app/WindowMetrics.h"

namespace veltrin {
namespace {

TEST(WindowMetricsTest, TitleBarHeightFallsBackToTheStyleWithoutAWindowManager) {
    const int height = VeltrinTools::titleBarHeight();
    EXPECT_GT(height, 0);
    EXPECT_LT(height, 200);
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        EXPECT_EQ(height, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
    }
}

}  // namespace
}  // namespace veltrin
