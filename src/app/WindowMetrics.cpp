#include "app/WindowMetrics.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStyle>
#include <QWidget>

namespace veltrin::VeltrinTools {
namespace {

// The window manager decorates a new window asynchronously; this long is enough for a local one.
constexpr int DecorationWaitMs = 300;

int styleTitleBarHeight() { return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight); }

int measureTitleBarHeight() {
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && platform != QLatin1String("wayland")) return styleTitleBarHeight();
    QWidget probe;
    probe.setWindowTitle(QStringLiteral("Veltrin"));
    probe.resize(100, 100);
    probe.show();
    QElapsedTimer waited;
    waited.start();
    int height = 0;
    while (waited.elapsed() < DecorationWaitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        height = probe.frameGeometry().height() - probe.geometry().height();
        if (height > 0) break;
    }
    probe.hide();
    return height > 0 ? height : styleTitleBarHeight();
}

}  // namespace

int titleBarHeight() {
    static const int height = measureTitleBarHeight();
    return height;
}

}  // namespace veltrin::VeltrinTools
