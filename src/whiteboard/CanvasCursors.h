#pragma once

#include <cstdint>

#include <QCursor>

#include "whiteboard/CanvasTypes.h"

namespace veltrin::wb {

// The cursor over the board for a canvas mode and, in draw mode, the kind being created.
CursorChoice cursorFor(std::int32_t canvasMode, std::int32_t shapeType);

// The cursor from the resource files, or the choice's standard shape when its image is missing.
QCursor loadCursor(const CursorChoice& choice);

}  // namespace veltrin::wb
