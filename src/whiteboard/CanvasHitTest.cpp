#include "whiteboard/CanvasHitTest.h"

namespace veltrin::wb {

QRectF handleSquare(const TPaintObject& object, std::int32_t handle) {
    const IntRect r = object.normalizedRect();
    const double minX = r.x, minY = r.y, w = r.width, h = r.height;
    const double maxX = minX + w, maxY = minY + h;
    QPointF corner;
    switch (handle) {
    case kTopLeft: corner = {minX - 10, minY - 10}; break;
    case kTopMiddle: corner = {minX + w * 0.5 - 5, minY - 10}; break;
    case kTopRight: corner = {maxX, minY - 10}; break;
    case kRightMiddle: corner = {maxX, minY + h * 0.5 - 5}; break;
    case kBottomRight: corner = {maxX, maxY}; break;
    case kBottomMiddle: corner = {minX + w * 0.5 - 5, maxY}; break;
    case kBottomLeft: corner = {minX - 10, maxY}; break;
    case kLeftMiddle: corner = {minX - 10, minY + h * 0.5 - 5}; break;
    default: return {};
    }
    return QRectF(corner, QSizeF(10, 10));
}

std::int32_t handleAt(const TPaintObject& object, double x, double y) {
    for (std::int32_t handle = kLeftMiddle; handle >= kTopLeft; --handle) {
        const QRectF s = handleSquare(object, handle);
        if (x >= s.left() && x < s.right() && y >= s.top() && y < s.bottom()) return handle;
    }
    return kNoHandle;
}

}  // namespace veltrin::wb
