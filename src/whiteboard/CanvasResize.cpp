#include "whiteboard/CanvasResize.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "whiteboard/CanvasTypes.h"

namespace veltrin::wb {

namespace {

// Board coordinates come from clamped mouse positions or from the wire; keep them inside int32.
std::int32_t toCoordinate(double v) {
    if (!std::isfinite(v)) return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::trunc(std::clamp(v, lo, hi)));
}

}  // namespace

void resizeByHandle(TPaintObject& o, std::int32_t handle, double x, double y) {
    const double fx = o.FX, fy = o.FY, fx2 = o.FX2, fy2 = o.FY2;
    switch (handle) {
    case kTopLeft:
        o.FX = toCoordinate(std::min(fx2, x));
        o.FY = toCoordinate(std::min(fy2, y));
        break;
    case kTopMiddle:
        o.FY = toCoordinate(std::min(fy2, y));
        break;
    case kTopRight:
        o.FX2 = toCoordinate(std::max(x, fx));
        o.FY = toCoordinate(std::min(fy2, y));
        break;
    case kRightMiddle:
        o.FX2 = toCoordinate(std::max(x, fx));
        break;
    case kBottomRight:
        o.FX2 = toCoordinate(std::max(x, fx));
        o.FY2 = toCoordinate(std::max(y, fy));
        break;
    case kBottomMiddle:
        o.FY2 = toCoordinate(std::max(y, fy));
        break;
    case kBottomLeft:
        o.FX = toCoordinate(std::min(fx2, x));
        o.FY2 = toCoordinate(std::max(y, fy));
        break;
    case kLeftMiddle:
        o.FX = toCoordinate(std::min(fx2, x));
        break;
    default:
        break;
    }
}

void shiftObject(TPaintObject& o, double dx, double dy) {
    o.FX = toCoordinate(o.FX + dx);
    o.FY = toCoordinate(o.FY + dy);
    o.FX2 = toCoordinate(o.FX2 + dx);
    o.FY2 = toCoordinate(o.FY2 + dy);
    for (HandPoint& p : o.FHandPoints) {
        p.x += dx;
        p.y += dy;
    }
}

}  // namespace veltrin::wb
