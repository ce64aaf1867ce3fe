#pragma once

#include <cstdint>

#include "whiteboard/TPaintObject.h"

namespace veltrin::wb {

// Moves one edge or corner of `object` to the board point (x, y) by the rule of `handle` (2-9).
// An edge stops at the opposite edge instead of passing it, so an object is never flipped.
void resizeByHandle(TPaintObject& object, std::int32_t handle, double x, double y);

// Shifts the corners (truncated) and every stroke point by (dx, dy) board units.
void shiftObject(TPaintObject& object, double dx, double dy);

}  // namespace veltrin::wb
