#pragma once

#include <optional>
#include <vector>

#include <QImage>
#include <QRect>
#include <QString>

namespace veltrin::platform {

// A display the user can capture: one screen of the X server the client runs on.
struct DisplayInfo {
    QString name;     // shown in the screenshot panel
    int screen = 0;   // the X screen number
    QRect geometry;   // in pixels
};

// Whole-display screenshots through X11 (XGetImage of the root window). Each call opens its own
// connection to the X server named by DISPLAY, so it can be used without any other X set-up.
class ScreenCapture {
public:
    ScreenCapture() = delete;

    // Empty when there is no X server to talk to.
    static std::vector<DisplayInfo> listDisplays();
    // The display's picture at its pixel size; nothing when it cannot be read.
    static std::optional<QImage> captureDisplay(const DisplayInfo& display);
};

}  // namespace veltrin::platform
