#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QImage>

#include "whiteboard/PaintColor.h"
#include "whiteboard/VeltrinFont.h"
#include "wire/PaintObjectHeader.h"
#include "wire/Streams.h"

namespace veltrin::wb {

// Object kinds as the wire numbers them. The list may only be appended to: the numbers travel in
// every object body and board file.
enum PaintKind : std::int32_t {
    kLine = 0,
    kRectangle = 1,
    kOval = 2,
    kText = 3,
    kImage = 5,
    kPencil = 7,
    kHighlighter = 8,
    kFilledRectangle = 10,
    kFilledOval = 11,
    kNone = 12,
    kGrid = 13,
    kTriangle = 14,
    kPentagon = 15,
    kHexagon = 16,
    kDiamond = 17,
    kParallelogram = 18,
    kTrapezium = 19,
    kCylinder = 20,
    kCone = 21,
};

struct HandPoint {
    double x = 0;
    double y = 0;
    bool operator==(const HandPoint&) const = default;
};

struct IntRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const IntRect&) const = default;
};

// One drawable object of a board, in board units. Data and wire codec only: drawing lives in the
// renderer. Identity on a board is (FUserID, FObjectID).
class TPaintObject {
public:
    // A stroke with more points than this is cut there when read; no drawing needs more.
    static constexpr std::int32_t kMaxHandPoints = 1 << 22;

    TPaintObject() = default;
    TPaintObject(std::int32_t userId, std::int32_t objectId, std::int32_t boardIndex);

    std::int32_t FBorardIndex = 0;  // travels in the header, never in the body
    std::int32_t FObjectID = 0;
    std::int32_t FUserID = 0;
    std::int32_t FTyp = kNone;
    std::int32_t FX = 0, FY = 0, FX2 = 0, FY2 = 0;
    bool FTransparent = true;
    std::int32_t FPenWidth = 1;
    std::string FText = "Text";
    VeltrinFont FFont;
    std::int32_t FRndRectRadius = 15;
    bool FFrame = false;
    PaintColor FColor = PaintColor::blackColor();
    std::vector<HandPoint> FHandPoints;  // FNumHandPoints is its size
    bool FMultiLine = false;
    PaintColor FBackColor = PaintColor::whiteColor();
    std::int32_t FQuadrant = 0;
    std::int32_t FImageType = 2;  // how the image is encoded when sent: 1 JPEG, 2 PNG
    QImage FObjectImage;          // null when the object has none

    std::int32_t FNumHandPoints() const { return static_cast<std::int32_t>(FHandPoints.size()); }
    bool hasImage() const { return !FObjectImage.isNull(); }
    bool isStroke() const { return FTyp == kPencil || FTyp == kHighlighter; }

    IntRect normalizedRect() const;
    void normalizeCoordinates();

    // Body writers. `imageDataType` -1 means the object's own FImageType. They differ only in the
    // fourth byte of colours (0 here, alpha on the stream).
    void SaveToMD(Bytes& md, bool saveImage, std::int32_t imageDataType) const;
    bool SaveToStream(OutputStream& os, bool saveImage, std::int32_t imageDataType) const;
    Bytes bodyBytes(bool saveImage, std::int32_t imageDataType) const;

    // Reads a body into this object. Without an image in the body the object keeps the image it
    // had. Answers false when the stream ended or failed before the body did; the fields read so
    // far are kept.
    bool LoadFromStream(InputStream& is);

    // The header of an update of this object with a body of `bodySize` bytes.
    TPaintObjectHeader header(std::int32_t updateType, std::int32_t bodySize) const;

private:
    void encodeBody(Bytes& md, bool streamForm, bool saveImage, std::int32_t imageDataType) const;
};

}  // namespace veltrin::wb
