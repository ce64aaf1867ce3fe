#pragma once

#include <cstdint>

#include <QRect>
#include <QRectF>
#include <QSizeF>

namespace veltrin::wb {

// How a board is fitted into the canvas view.
enum ScaleType : std::int32_t { kNoScaling = 0, kFitBoard = 1, kFitWidth = 2 };

// Where the board lies in the view and at what scale, recomputed on every paint and then read by
// input handling and the pointer overlay.
struct BoardPlacement {
    QRectF scaledRect;
    double scaleX = 1.0;  // view points per board unit, quantised to hundredths
    double scaleY = 1.0;

    // The object offset in board units; 0 along an axis whose scale is 0 (a view too small to
    // show anything), where the division would be meaningless.
    double offsetX() const;
    double offsetY() const;
    bool operator==(const BoardPlacement&) const = default;
};

// `source` fitted into `destination` keeping its aspect, centred along the spare axis, then
// widened to the smallest rectangle with integral edges that contains it.
QRectF aspectFit(const QRectF& source, const QRectF& destination);

// A board of originalW x originalH units in a view of `view` points. Pan offsets apply in type 0
// (both) and type 2 (vertical). A board without area is placed empty at scale 1.
BoardPlacement placeBoard(const QSizeF& view, std::int32_t originalW, std::int32_t originalH, std::int32_t scaleType,
                          double dxOfset, double dyOfset);

// The 24 x 24 frame of the remote pointer whose position is in board units.
QRect pointerFrame(const BoardPlacement& placement, std::int32_t pointerX, std::int32_t pointerY);

}  // namespace veltrin::wb
