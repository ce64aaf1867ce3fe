#include "platform/screen/ScreenCapture.h"

#include <cstring>
#include <memory>

// X11 last: its headers define macros (None, Bool, Status…) that collide with names in Qt's.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace veltrin::platform {

namespace {

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct ImageDestroyer {
    void operator()(XImage* image) const { XDestroyImage(image); }
};
using XImagePtr = std::unique_ptr<XImage, ImageDestroyer>;

// Refusing to fail loudly: a capture that meets an X error (a screen that went away) gives no image
// instead of ending the process, which is what Xlib's default handler would do.
int quietErrorHandler(Display*, XErrorEvent*) { return 0; }

int shiftOf(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1UL) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int scaledComponent(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    const unsigned long value = (pixel & mask) >> shiftOf(mask);
    const unsigned long max = mask >> shiftOf(mask);
    return static_cast<int>(value * 255 / max);
}

QImage toQImage(const XImage& x) {
    QImage image(x.width, x.height, QImage::Format_RGB32);
    const bool directBgr32 = x.bits_per_pixel == 32 && x.red_mask == 0xff0000 && x.green_mask == 0xff00 &&
                             x.blue_mask == 0xff && x.byte_order == LSBFirst;
    for (int row = 0; row < x.height; ++row) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(row));
        if (directBgr32) {
            std::memcpy(out, x.data + static_cast<std::ptrdiff_t>(row) * x.bytes_per_line,
                        static_cast<std::size_t>(x.width) * 4);
            for (int col = 0; col < x.width; ++col) out[col] |= 0xff000000u;
            continue;
        }
        for (int col = 0; col < x.width; ++col) {
            const unsigned long p = XGetPixel(const_cast<XImage*>(&x), col, row);
            out[col] = qRgb(scaledComponent(p, x.red_mask), scaledComponent(p, x.green_mask),
                            scaledComponent(p, x.blue_mask));
        }
    }
    return image;
}

}  // namespace

std::vector<DisplayInfo> ScreenCapture::listDisplays() {
    std::vector<DisplayInfo> displays;
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return displays;
    const int count = ScreenCount(display.get());
    for (int screen = 0; screen < count; ++screen) {
        DisplayInfo info;
        info.screen = screen;
        info.geometry = QRect(0, 0, DisplayWidth(display.get(), screen), DisplayHeight(display.get(), screen));
        info.name = QStringLiteral("Display %1 (%2 x %3)")
                        .arg(screen + 1)
                        .arg(info.geometry.width())
                        .arg(info.geometry.height());
        displays.push_back(info);
    }
    return displays;
}

std::optional<QImage> ScreenCapture::captureDisplay(const DisplayInfo& info) {
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display || info.screen < 0 || info.screen >= ScreenCount(display.get())) return std::nullopt;
    const auto previous = XSetErrorHandler(quietErrorHandler);
    const Window root = RootWindow(display.get(), info.screen);
    XWindowAttributes attributes{};
    XImagePtr image;
    if (XGetWindowAttributes(display.get(), root, &attributes) && attributes.width > 0 && attributes.height > 0) {
        image.reset(XGetImage(display.get(), root, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap));
    }
    XSync(display.get(), False);
    XSetErrorHandler(previous);
    if (!image) return std::nullopt;
    return toQImage(*image);
}

}  // namespace veltrin::platform
