#pragma once

#include <cstdint>
#include <optional>

#include <QPoint>
#include <QSize>
#include <QSizeF>

namespace veltrin::wb {

class TPaintObject;

// The arithmetic of the board controls, kept apart from any widget so that it can be checked.
namespace BoardRules {

// The rotation index a rotate control with `step` leads to from `current` (0-3): a negative step
// turns back one (0 -> 3), a non-negative step adds and wraps to 0 at 4 or more.
std::int32_t nextRotationIndex(std::int32_t current, std::int32_t step);
// The index that undoes `index` (1 <-> 3, 2 -> 2, 0 -> 0).
std::int32_t inverseRotationIndex(std::int32_t index);
// The image type with the encoding (low byte) kept and the rotation index in the second byte.
std::int32_t imageTypeWithRotation(std::int32_t imageType, std::int32_t rotationIndex);

// A screenshot placed on the current board: scaled by OriginalW x 0.66 / image width on both
// sides, at board point (10, 10).
struct ScreenshotPlacement {
    double factor = 0;
    QSizeF size;
    QPoint origin{10, 10};
};
std::optional<ScreenshotPlacement> placeScreenshot(std::int32_t boardWidth, const QSize& image);

// Where a clip-art picture `pictureWidth` wide goes: (10, 10) without a selection, else just right
// of the selected object at its top, or below it at the left edge when that reaches the board's
// right edge.
QPoint clipArtPosition(std::int32_t boardWidth, std::int32_t pictureWidth, const TPaintObject* selected);

// The preset sizes of the new-whiteboard panel (tags 0-3); nothing for other tags.
std::optional<QSize> presetSize(int tag);

// The markup button's picture for a visibility.
const char* markupButtonImage(bool markupVisible);

}  // namespace BoardRules

}  // namespace veltrin::wb
