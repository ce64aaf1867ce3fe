#include "whiteboard/CanvasCursors.h"

#include <QPixmap>

#include "app/core/Resources.h"

namespace veltrin::wb {

CursorChoice cursorFor(std::int32_t canvasMode, std::int32_t shapeType) {
    switch (canvasMode) {
    case kArrowMode:
        return {true, {}, {}, Qt::ArrowCursor};
    case kEraserMode:
        return {true, QStringLiteral("cr_16x16_rubber.png"), {3, 3}, Qt::CrossCursor};
    case kPointerMode:
        return {false, {}, {}, Qt::ArrowCursor};
    default:
        break;
    }
    switch (shapeType) {
    case kText:
        return {true, {}, {}, Qt::IBeamCursor};
    case kPencil:
        return {true, QStringLiteral("cr_16x16_pencil.png"), {0, 0}, Qt::CrossCursor};
    case kHighlighter:
        return {true, QStringLiteral("cr_16x16_highliter.png"), {0, 16}, Qt::CrossCursor};
    case kImage:
    case 6:
    case 9:
    case kNone:
        return {true, {}, {}, Qt::PointingHandCursor};
    default:
        if (shapeType > kCone) return {true, {}, {}, Qt::PointingHandCursor};
        return {true, QStringLiteral("cr_16x16_cross.png"), {5, 5}, Qt::CrossCursor};
    }
}

QCursor loadCursor(const CursorChoice& choice) {
    if (!choice.imageName.isEmpty()) {
        const QString path = resourcePath(ResourceFolder::Cursors, choice.imageName);
        QPixmap pixmap;
        if (!path.isEmpty() && pixmap.load(path)) return QCursor(pixmap, choice.hotSpot.x(), choice.hotSpot.y());
    }
    return QCursor(choice.fallback);
}

}  // namespace veltrin::wb
