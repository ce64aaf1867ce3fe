#include "whiteboard/PaintCodec.h"

#include <algorithm>
#include <cmath>

#include "wire/VCTools.h"

namespace veltrin::wb {

std::uint8_t PaintCodec::colorComponent(double component) {
    if (!std::isfinite(component)) return 0;
    const double scaled = std::trunc(std::clamp(component * 255.0, -1e9, 1e9));
    return static_cast<std::uint8_t>(static_cast<std::int64_t>(scaled) & 0xff);
}

namespace {

void writeColorBytes(Bytes& md, const PaintColor& color, bool withAlpha) {
    VCTools::writeByteMD(md, PaintCodec::colorComponent(color.red));
    VCTools::writeByteMD(md, PaintCodec::colorComponent(color.green));
    VCTools::writeByteMD(md, PaintCodec::colorComponent(color.blue));
    VCTools::writeByteMD(md, withAlpha ? PaintCodec::colorComponent(color.alpha) : 0);
}

}  // namespace

void PaintCodec::writeColorMD(Bytes& md, const PaintColor& color) { writeColorBytes(md, color, false); }

bool PaintCodec::writeColor(OutputStream& os, const PaintColor& color) {
    Bytes bytes;
    writeColorBytes(bytes, color, true);
    return VCTools::writeToStream(os, bytes.data(), bytes.size());
}

PaintColor PaintCodec::readColor(InputStream& is) {
    PaintColor c;
    c.red = VCTools::readByte(is) / 255.0;
    c.green = VCTools::readByte(is) / 255.0;
    c.blue = VCTools::readByte(is) / 255.0;
    VCTools::readByte(is);
    return c;
}

std::int32_t PaintCodec::fontHeight(std::int32_t fontSize) {
    // 64-bit so that a size from the wire near the int range cannot overflow.
    const std::int64_t pixels = static_cast<std::int64_t>(fontSize) * 96 / 72;
    return static_cast<std::int32_t>(-pixels);
}

void PaintCodec::writeFontMD(Bytes& md, const VeltrinFont& font, bool streamForm) {
    VCTools::writeUTF8IntStringMD(md, font.fontName);
    VCTools::writeIntMD(md, font.fontSize);
    VCTools::writeIntMD(md, 0);
    writeColorBytes(md, font.fontColor, streamForm);
    VCTools::writeIntMD(md, fontHeight(font.fontSize));
    VCTools::writeIntMD(md, 0);
    VCTools::writeBooleanMD(md, font.isBold);
    VCTools::writeBooleanMD(md, font.isItalic);
    VCTools::writeBooleanMD(md, false);
    VCTools::writeBooleanMD(md, false);
}

bool PaintCodec::writeFont(OutputStream& os, const VeltrinFont& font) {
    Bytes bytes;
    writeFontMD(bytes, font, true);
    return VCTools::writeToStream(os, bytes.data(), bytes.size());
}

void PaintCodec::readVeltrinFont(InputStream& is, VeltrinFont& font) {
    font.fontName = VCTools::readStringIntSize(is);
    font.fontSize = VCTools::readInt(is);
    VCTools::readInt(is);
    font.fontColor = readColor(is);
    VCTools::readInt(is);
    VCTools::readInt(is);
    font.isBold = VCTools::readBoolean(is);
    font.isItalic = VCTools::readBoolean(is);
    VCTools::readBoolean(is);
    VCTools::readBoolean(is);
    if (font.isBold) font.fontName += "-Bold";
    if (font.isItalic) font.fontName += "-Italic";
}

}  // namespace veltrin::wb
