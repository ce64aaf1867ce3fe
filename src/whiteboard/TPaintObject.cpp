#include "whiteboard/TPaintObject.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "whiteboard/ImageCodec.h"
#include "whiteboard/PaintCodec.h"
#include "wire/VCTools.h"

namespace veltrin::wb {

namespace {

std::int32_t truncPoint(double v) {
    if (!std::isfinite(v)) return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::trunc(std::clamp(v, lo, hi)));
}

std::int32_t absDiff(std::int32_t a, std::int32_t b) {
    const std::int64_t d = std::llabs(static_cast<std::int64_t>(a) - b);
    return static_cast<std::int32_t>(std::min<std::int64_t>(d, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

TPaintObject::TPaintObject(std::int32_t userId, std::int32_t objectId, std::int32_t boardIndex)
    : FBorardIndex(boardIndex), FObjectID(objectId), FUserID(userId) {}

IntRect TPaintObject::normalizedRect() const {
    return {std::min(FX, FX2), std::min(FY, FY2), absDiff(FX2, FX), absDiff(FY2, FY)};
}

void TPaintObject::normalizeCoordinates() {
    if (FX2 < FX) std::swap(FX, FX2);
    if (FY2 < FY) std::swap(FY, FY2);
}

void TPaintObject::encodeBody(Bytes& md, bool streamForm, bool saveImage, std::int32_t imageDataType) const {
    auto color = [&](const PaintColor& c) {
        VCTools::writeByteMD(md, PaintCodec::colorComponent(c.red));
        VCTools::writeByteMD(md, PaintCodec::colorComponent(c.green));
        VCTools::writeByteMD(md, PaintCodec::colorComponent(c.blue));
        VCTools::writeByteMD(md, streamForm ? PaintCodec::colorComponent(c.alpha) : 0);
    };
    VCTools::writeIntMD(md, FObjectID);
    VCTools::writeIntMD(md, FUserID);
    VCTools::writeIntMD(md, FTyp);
    VCTools::writeIntMD(md, FX);
    VCTools::writeIntMD(md, FY);
    VCTools::writeIntMD(md, FX2);
    VCTools::writeIntMD(md, FY2);
    VCTools::writeBooleanMD(md, FTransparent);
    VCTools::writeIntMD(md, FPenWidth);
    VCTools::writeUTF8IntStringMD(md, FText);
    PaintCodec::writeFontMD(md, FFont, streamForm);
    VCTools::writeIntMD(md, FRndRectRadius);
    VCTools::writeBooleanMD(md, FFrame);
    color(FColor);
    color(FBackColor);
    VCTools::writeIntMD(md, FQuadrant);
    VCTools::writeBooleanMD(md, FMultiLine);
    if (isStroke()) {
        VCTools::writeIntMD(md, FNumHandPoints());
        for (const HandPoint& p : FHandPoints) {
            VCTools::writeIntMD(md, truncPoint(p.x));
            VCTools::writeIntMD(md, truncPoint(p.y));
        }
    }
    Bytes image;
    std::int32_t dataType = imageDataType == -1 ? FImageType : imageDataType;
    if (saveImage && hasImage()) image = ImageCodec::encode(FObjectImage, dataType);
    // An image that cannot be encoded is sent as none rather than as an empty block a receiver
    // would fail to decode.
    VCTools::writeBooleanMD(md, !image.empty());
    if (!image.empty()) {
        VCTools::writeIntMD(md, dataType);
        VCTools::writeIntMD(md, static_cast<std::int32_t>(image.size()));
        md.insert(md.end(), image.begin(), image.end());
    }
}

void TPaintObject::SaveToMD(Bytes& md, bool saveImage, std::int32_t imageDataType) const {
    encodeBody(md, false, saveImage, imageDataType);
}

bool TPaintObject::SaveToStream(OutputStream& os, bool saveImage, std::int32_t imageDataType) const {
    Bytes bytes;
    encodeBody(bytes, true, saveImage, imageDataType);
    return VCTools::writeToStream(os, bytes.data(), bytes.size());
}

Bytes TPaintObject::bodyBytes(bool saveImage, std::int32_t imageDataType) const {
    Bytes md;
    SaveToMD(md, saveImage, imageDataType);
    return md;
}

bool TPaintObject::LoadFromStream(InputStream& is) {
    FObjectID = VCTools::readInt(is);
    FUserID = VCTools::readInt(is);
    FTyp = VCTools::readInt(is);
    FX = VCTools::readInt(is);
    FY = VCTools::readInt(is);
    FX2 = VCTools::readInt(is);
    FY2 = VCTools::readInt(is);
    FTransparent = VCTools::readBoolean(is);
    FPenWidth = VCTools::readInt(is);
    FText = VCTools::readStringIntSize(is);
    FFont = VeltrinFont{};
    PaintCodec::readVeltrinFont(is, FFont);
    FRndRectRadius = VCTools::readInt(is);
    FFrame = VCTools::readBoolean(is);
    FColor = PaintCodec::readColor(is);
    if (FTyp == kText) FColor = FFont.fontColor;
    FBackColor = PaintCodec::readColor(is);
    FQuadrant = VCTools::readInt(is);
    FMultiLine = VCTools::readBoolean(is);
    if (isStroke()) {
        FHandPoints.clear();
        const std::int32_t count = VCTools::readInt(is);
        if (count > kMaxHandPoints) {
            is.markUnusable();
            return false;
        }
        // Grown as the points arrive: the count alone is not trusted for allocation.
        FHandPoints.reserve(static_cast<std::size_t>(std::clamp(count, 0, 4096)));
        for (std::int32_t i = 0; i < count && VCTools::checkIS(is); ++i) {
            const std::int32_t x = VCTools::readInt(is);
            const std::int32_t y = VCTools::readInt(is);
            if (!VCTools::checkIS(is)) break;
            FHandPoints.push_back({static_cast<double>(x), static_cast<double>(y)});
        }
    }
    if (!VCTools::checkIS(is)) return false;
    if (!VCTools::readBoolean(is)) return VCTools::checkIS(is);
    VCTools::readInt(is);  // the sender's data type; the bytes say what they are
    const std::int32_t length = VCTools::readInt(is);
    if (!VCTools::checkIS(is)) return false;
    if (length < 0 || static_cast<std::size_t>(length) > ImageCodec::kMaxEncodedBytes) {
        is.markUnusable();
        FObjectImage = QImage();
        return false;
    }
    Bytes encoded;
    const ReadStatus status = VCTools::readPayload(is, static_cast<std::uint64_t>(length), encoded,
                                                   ImageCodec::kMaxEncodedBytes);
    std::optional<QImage> image =
        status == ReadStatus::Complete ? ImageCodec::decode(encoded) : std::nullopt;
    FObjectImage = image ? std::move(*image) : QImage();
    return status == ReadStatus::Complete;
}

TPaintObjectHeader TPaintObject::header(std::int32_t updateType, std::int32_t bodySize) const {
    TPaintObjectHeader h;
    h.UserId = FUserID;
    h.UpdateType = updateType;
    h.BoardIndex = FBorardIndex;
    h.LocalIndex = FObjectID;
    h.isImage = FTyp == kImage;
    h.ObjectSize = bodySize;
    return h;
}

}  // namespace veltrin::wb
