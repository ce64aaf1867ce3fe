#include "whiteboard/BoardRenderer.h"

#include <QPainter>

#include "whiteboard/PaintObjectRenderer.h"

namespace veltrin::wb {

QColor BoardRenderer::backdropColor() { return QColor(255, 249, 232); }

bool BoardRenderer::CacheKey::sameExceptList(const CacheKey& other) const {
    CacheKey copy = other;
    copy.listRevision = listRevision;
    return copy == *this;
}

std::size_t BoardRenderer::paintObjects(QPainter& p, const BoardPlacement& placement, const PaintObjectList& objects,
                                        std::size_t first) {
    const double offX = placement.offsetX();
    const double offY = placement.offsetY();
    const PaintObjectPtr selected = objects.selected();
    std::size_t drawn = 0;
    objects.forEachObjectFrom(first, [&](const TPaintObject& o) {
        ++drawn;
        p.save();
        PaintObjectRenderer::drawObject(p, o, offX, offY, placement.scaleX, placement.scaleY);
        p.restore();
        if (selected.get() == &o) {
            p.save();
            PaintObjectRenderer::drawSelection(p, o, offX, offY, placement.scaleX, placement.scaleY);
            p.restore();
        }
    });
    return first + drawn;
}

std::size_t BoardRenderer::paintFinished(QPainter& p, const QSize& viewSize, const BoardPlacement& placement,
                                         const BoardAppearance& a, const PaintObjectList& objects) {
    p.fillRect(QRect(QPoint(0, 0), viewSize), backdropColor());
    p.fillRect(placement.scaledRect, toQColor(a.backgroundColor));
    if (!a.backgroundImage.isNull() && a.hasBgImage && a.boardLoaded) {
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.setOpacity(1.0);
        p.drawImage(placement.scaledRect, a.backgroundImage);
        p.restore();
    }
    if (!a.markupVisible) return 0;
    return paintObjects(p, placement, objects, 0);
}

void BoardRenderer::paintInProgress(QPainter& p, const BoardPlacement& placement, const TPaintObject* inProgress) {
    // Strokes and text being made are shown by the canvas as they are drawn or typed.
    if (!inProgress || inProgress->FTyp == kText || inProgress->isStroke()) return;
    p.save();
    PaintObjectRenderer::drawObject(p, *inProgress, placement.offsetX(), placement.offsetY(), placement.scaleX,
                                    placement.scaleY);
    p.restore();
}

BoardPlacement BoardRenderer::paintDirect(QPainter& p, const QSize& viewSize, const BoardAppearance& a,
                                          const PaintObjectList& objects, const TPaintObject* inProgress) {
    const BoardPlacement placement = placeBoard(QSizeF(viewSize), a.originalW, a.originalH, a.scaleType, a.dxOfset,
                                                a.dyOfset);
    paintFinished(p, viewSize, placement, a, objects);
    paintInProgress(p, placement, inProgress);
    return placement;
}

void BoardRenderer::setCaching(bool enabled) {
    caching_ = enabled;
    if (!enabled) {
        cache_ = QImage();
        cacheValid_ = false;
    }
}

BoardPlacement BoardRenderer::paint(QPainter& p, const QSize& viewSize, const BoardAppearance& a,
                                    const PaintObjectList& objects, const TPaintObject* inProgress) {
    if (!caching_) return paintDirect(p, viewSize, a, objects, inProgress);
    const BoardPlacement placement = placeBoard(QSizeF(viewSize), a.originalW, a.originalH, a.scaleType, a.dxOfset,
                                                a.dyOfset);
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    const CacheKey key{viewSize,     dpr,          placement,           a.backgroundColor,  a.hasBgImage,
                       a.boardLoaded, a.markupVisible, a.backgroundRevision, objects.revision()};
    if (cacheValid_ && !(key == key_) && key.sameExceptList(key_) && objects.onlyAppendedSince(key_.listRevision)) {
        if (a.markupVisible) {
            QPainter cp(&cache_);
            cachedObjects_ = paintObjects(cp, placement, objects, cachedObjects_);
        }
        key_ = key;
        ++extensions_;
    } else if (!cacheValid_ || !(key == key_)) {
        cache_ = QImage(viewSize * dpr, QImage::Format_ARGB32_Premultiplied);
        cache_.setDevicePixelRatio(dpr);
        cache_.fill(Qt::transparent);
        QPainter cp(&cache_);
        cachedObjects_ = paintFinished(cp, viewSize, placement, a, objects);
        cp.end();
        key_ = key;
        cacheValid_ = true;
        ++rebuilds_;
    }
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPointF(0, 0), cache_);
    p.restore();
    paintInProgress(p, placement, inProgress);
    return placement;
}

}  // namespace veltrin::wb
