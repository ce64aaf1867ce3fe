#pragma once

#include <cstdint>
#include <string>

#include "whiteboard/PaintColor.h"

namespace veltrin::wb {

// The font of a text object. A received font carries its style in the name as well ("-Bold",
// "-Italic" suffixes are appended on reading), and the name is sent back as held.
struct VeltrinFont {
    std::string fontName;
    std::int32_t fontSize = 0;  // points
    bool isBold = false;
    bool isItalic = false;
    PaintColor fontColor = PaintColor::blackColor();

    bool operator==(const VeltrinFont&) const = default;
};

}  // namespace veltrin::wb
