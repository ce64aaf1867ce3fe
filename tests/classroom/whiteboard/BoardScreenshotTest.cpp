// A screenshot onto the current board, against whatever X server DISPLAY names (Xvfb in CI). When
// Qt itself draws on that display, a window of a known colour is put on screen first.

#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "classroom/ClassroomView.h"
#include "classroom/whiteboard/WhiteboardFeature.h"
#include "platform/screen/ScreenCapture.h"
#include "tests/classroom/FakeShell.h"
#include "tests/support/ServerProcess.h"
#include "whiteboard/TActivePaintBox.h"

namespace veltrin::testing {
namespace {

using platform::ScreenCapture;

bool isMagenta(const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() > 200; }

TEST(BoardScreenshot, TheDisplayLandsOnTheBoardScaledToTwoThirdsOfItsWidth) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display";
    const std::vector<platform::DisplayInfo> displays = ScreenCapture::listDisplays();
    ASSERT_FALSE(displays.empty());

    std::unique_ptr<QWidget> marker;
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        marker = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        QPalette palette;
        palette.setColor(QPalette::Window, Qt::magenta);
        marker->setPalette(palette);
        marker->setAutoFillBackground(true);
        marker->setGeometry(QRect(displays[0].geometry.topLeft(), QSize(400, 300)));
        marker->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(marker.get()));
        ASSERT_TRUE(waitUntil([&] {
            const auto shot = ScreenCapture::captureDisplay(displays[0]);
            return shot && isMagenta(shot->pixelColor(200, 150));
        }));
    }
    // Each capture is a client of its own; an X server that resets when its last client leaves (Xvfb
    // without -noreset) refuses a capture now and then while it does, so captures are retried.
    std::optional<QImage> direct;
    ASSERT_TRUE(waitUntil([&] { return (direct = ScreenCapture::captureDisplay(displays[0])).has_value(); }));

    FakeShell shell;
    ClassroomView view;
    WhiteboardLinks links;
    links.boardAllowed = [] { return true; };
    WhiteboardFeature feature(links, shell.settings, view);
    feature.resetForJoin(101);
    feature.applyControls(false, true);
    ASSERT_EQ(feature.boards().board().OriginalW, 1024);

    ASSERT_TRUE(waitUntil([&] {
        if (feature.boards().objects().size() == 0u && !feature.screenshotPending())
            feature.acScreenShotOK({0, false, false, false, {}});
        return feature.boards().objects().size() == 1u;
    }));
    const wb::PaintObjectPtr shot = feature.boards().objects().objects()[0];
    const double factor = 1024 * 0.66 / direct->width();
    const QSize expected = QSizeF(direct->width() * factor, direct->height() * factor).toSize();
    EXPECT_EQ(shot->FTyp, wb::kImage);
    EXPECT_EQ(QPoint(shot->FX, shot->FY), QPoint(10, 10));
    EXPECT_EQ(shot->FObjectImage.size(), expected);
    EXPECT_EQ(QSize(shot->FX2 - shot->FX, shot->FY2 - shot->FY), expected);
    // The middle of the known window, scaled like the rest.
    if (marker) {
        EXPECT_TRUE(isMagenta(shot->FObjectImage.pixelColor(int(200 * factor), int(150 * factor))));
    }
    const QImage scaled = direct->scaled(expected, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QPoint middle(expected.width() / 2, expected.height() / 2);
    EXPECT_EQ(shot->FObjectImage.pixelColor(middle), scaled.pixelColor(middle));

    // A new board needs the room; without a connection nothing is sent and nothing placed.
    feature.acScreenShotOK({0, false, false, true, QStringLiteral("Shot")});
    ASSERT_TRUE(waitUntil([&] { return !feature.screenshotPending(); }));
    EXPECT_EQ(feature.boards().objects().size(), 1u);
    // A display that is not in the list captures nothing.
    feature.acScreenShotOK({int(displays.size()), false, false, false, {}});
    EXPECT_FALSE(feature.screenshotPending());
}

}  // namespace
}  // namespace veltrin::testing
