#pragma once

#include <cstdint>

#include <QImage>
#include <QSize>

#include "whiteboard/BoardGeometry.h"
#include "whiteboard/PaintColor.h"
#include "whiteboard/PaintObjectList.h"

class QPainter;

namespace veltrin::wb {

// What of a board, besides its objects, decides how it looks.
struct BoardAppearance {
    std::int32_t originalW = 0;
    std::int32_t originalH = 0;
    std::int32_t scaleType = kNoScaling;
    double dxOfset = 0;
    double dyOfset = 0;
    PaintColor backgroundColor = PaintColor::whiteColor();
    QImage backgroundImage;
    bool hasBgImage = false;
    bool boardLoaded = false;
    bool markupVisible = true;
    // Raised by the owner whenever backgroundImage is replaced; images are not compared.
    std::uint64_t backgroundRevision = 0;
};

// Paints a whole board: backdrop, background colour and image, the objects in list order with the
// selection decoration, and the object being drawn. The finished part is kept as a picture and
// reused while nothing it depends on changed (view size, placement, appearance, list revision),
// so that repainting an unchanged board is one image copy. Objects appended on top since the
// picture was made (a finished stroke, a remote object) are drawn onto it rather than rebuilding it.
class BoardRenderer {
public:
    static QColor backdropColor();

    // Paints onto `painter` whose device is `viewSize` points; answers the placement it used.
    // `inProgress` (may be null) is drawn on top, never cached.
    BoardPlacement paint(QPainter& painter, const QSize& viewSize, const BoardAppearance& appearance,
                         const PaintObjectList& objects, const TPaintObject* inProgress);

    // The same picture without the cache, for comparison and for export.
    static BoardPlacement paintDirect(QPainter& painter, const QSize& viewSize, const BoardAppearance& appearance,
                                      const PaintObjectList& objects, const TPaintObject* inProgress);

    void setCaching(bool enabled);
    void invalidate() { cacheValid_ = false; }
    // How many times the finished part was drawn afresh (for tests and benchmarks).
    std::uint64_t cacheRebuilds() const { return rebuilds_; }
    // How many times objects appended on top were drawn onto the kept picture instead.
    std::uint64_t cacheExtensions() const { return extensions_; }

private:
    struct CacheKey {
        QSize viewSize;
        qreal devicePixelRatio = 1;
        BoardPlacement placement;
        PaintColor backgroundColor;
        bool hasBgImage = false;
        bool boardLoaded = false;
        bool markupVisible = true;
        std::uint64_t backgroundRevision = 0;
        std::uint64_t listRevision = 0;
        bool operator==(const CacheKey&) const = default;
        bool sameExceptList(const CacheKey& other) const;
    };

    // Answers how many objects were drawn.
    static std::size_t paintFinished(QPainter& painter, const QSize& viewSize, const BoardPlacement& placement,
                                     const BoardAppearance& appearance, const PaintObjectList& objects);
    // Draws the objects from position `first` on, each with its decoration when selected.
    static std::size_t paintObjects(QPainter& painter, const BoardPlacement& placement, const PaintObjectList& objects,
                                    std::size_t first);
    static void paintInProgress(QPainter& painter, const BoardPlacement& placement, const TPaintObject* inProgress);

    bool caching_ = true;
    bool cacheValid_ = false;
    CacheKey key_;
    QImage cache_;
    std::size_t cachedObjects_ = 0;
    std::uint64_t rebuilds_ = 0;
    std::uint64_t extensions_ = 0;
};

}  // namespace veltrin::wb
