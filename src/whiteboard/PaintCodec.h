#pragma once

#include <cstdint>

#include "whiteboard/PaintColor.h"
#include "whiteboard/VeltrinFont.h"
#include "wire/Streams.h"

namespace veltrin::wb {

// Colour and font encodings of whiteboard payloads and board files.
//
// The two colour writers differ in the fourth byte only: command payloads (the MD form) carry 0,
// board files (the stream form) carry the alpha. Readers ignore that byte and answer opaque colours.
class PaintCodec {
public:
    PaintCodec() = delete;

    static std::uint8_t colorComponent(double component);
    static void writeColorMD(Bytes& md, const PaintColor& color);
    static bool writeColor(OutputStream& os, const PaintColor& color);
    static PaintColor readColor(InputStream& is);

    // The height the font record carries: -trunc(size x 96 / 72) in integer arithmetic.
    static std::int32_t fontHeight(std::int32_t fontSize);
    // `streamForm` selects the colour's fourth byte as above.
    static void writeFontMD(Bytes& md, const VeltrinFont& font, bool streamForm = false);
    static bool writeFont(OutputStream& os, const VeltrinFont& font);
    // Fills `font` (whose other fields stay as given) and appends the style suffixes to the name.
    static void readVeltrinFont(InputStream& is, VeltrinFont& font);
};

}  // namespace veltrin::wb
