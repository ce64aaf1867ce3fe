#pragma once

#include <cstdint>

#include <QRectF>

#include "whiteboard/CanvasTypes.h"
#include "whiteboard/TPaintObject.h"

namespace veltrin::wb {

// How far around an object's rectangle a click still selects it, and how far the eraser reaches.
inline constexpr std::int32_t kSelectionWidening = 10;
inline constexpr std::int32_t kEraserWidening = 2;

// The 10 x 10 board-unit square of a size handle (codes 2-9) around `object`'s normalised rectangle.
QRectF handleSquare(const TPaintObject& object, std::int32_t handle);

// The handle whose square contains the board point (min <= p < max), the highest code winning;
// kNoHandle when none does.
std::int32_t handleAt(const TPaintObject& object, double x, double y);

}  // namespace veltrin::wb
