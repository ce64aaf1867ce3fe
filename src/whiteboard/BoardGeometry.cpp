#include "whiteboard/BoardGeometry.h"

#include <cmath>

namespace veltrin::wb {

namespace {

double quantise(double scale) {
    if (!std::isfinite(scale)) return 1.0;
    return std::round(scale * 100.0) / 100.0;
}

}  // namespace

double BoardPlacement::offsetX() const { return scaleX == 0 ? 0 : std::round(scaledRect.x() / scaleX); }
double BoardPlacement::offsetY() const { return scaleY == 0 ? 0 : std::round(scaledRect.y() / scaleY); }

QRectF aspectFit(const QRectF& s, const QRectF& d) {
    if (s.width() <= 0 || s.height() <= 0 || d.width() <= 0 || d.height() <= 0) return {d.x(), d.y(), 0, 0};
    QRectF r;
    if (s.width() / s.height() > d.width() / d.height()) {
        const double h = s.height() * d.width() / s.width();
        r = QRectF(d.x(), d.y() + (d.height() - h) * 0.5, d.width(), h);
    } else {
        const double w = s.width() * d.height() / s.height();
        r = QRectF(d.x() + (d.width() - w) * 0.5, d.y(), w, d.height());
    }
    const double left = std::floor(r.left());
    const double top = std::floor(r.top());
    return QRectF(left, top, std::ceil(r.right()) - left, std::ceil(r.bottom()) - top);
}

BoardPlacement placeBoard(const QSizeF& view, std::int32_t originalW, std::int32_t originalH, std::int32_t scaleType,
                          double dxOfset, double dyOfset) {
    BoardPlacement p;
    if (originalW <= 0 || originalH <= 0) return p;
    const QRectF board(0, 0, originalW, originalH);
    switch (scaleType) {
    case kFitBoard:
        p.scaledRect = aspectFit(board, QRectF(QPointF(0, 0), view));
        break;
    case kFitWidth:
        p.scaledRect = QRectF(0, dyOfset, view.width(),
                              view.width() / (static_cast<double>(originalW) / static_cast<double>(originalH)));
        break;
    default:
        p.scaledRect = board.translated(dxOfset, dyOfset);
        break;
    }
    p.scaleX = quantise(p.scaledRect.width() / originalW);
    p.scaleY = quantise(p.scaledRect.height() / originalH);
    return p;
}

QRect pointerFrame(const BoardPlacement& placement, std::int32_t pointerX, std::int32_t pointerY) {
    const double px = std::round((placement.scaleX == 0 ? 0 : placement.scaledRect.x() / placement.scaleX + pointerX) *
                                 placement.scaleX);
    const double py = std::round((placement.scaleY == 0 ? 0 : placement.scaledRect.y() / placement.scaleY + pointerY) *
                                 placement.scaleY);
    return QRect(static_cast<int>(px) - 12, static_cast<int>(py) - 12, 24, 24);
}

}  // namespace veltrin::wb
