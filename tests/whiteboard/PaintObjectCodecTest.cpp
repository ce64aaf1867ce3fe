#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <string>

#include "whiteboard/ImageCodec.h"
#include "whiteboard/PaintCodec.h"
#include "whiteboard/TPaintObject.h"
#include "wire/Streams.h"
#include "wire/VCTools.h"

using namespace veltrin;
using namespace veltrin::wb;

namespace {

Bytes hex(const std::string& text) {
    Bytes out;
    std::string digits;
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    }
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        out.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    return out;
}

TPaintObject rectangle() {
    TPaintObject o(101, 1, 3);
    o.FTyp = kRectangle;
    o.FX = 10;
    o.FY = 20;
    o.FX2 = 30;
    o.FY2 = 40;
    o.FPenWidth = 3;
    o.FText = "";
    o.FFont.fontSize = 12;
    o.FColor = PaintColor::redColor();
    o.FBackColor = PaintColor::rgb(0, 1, 0.5);
    return o;
}

// The body of rectangle() as both writers must produce it, with `fourth` the colours' last byte.
std::string rectangleBody(const std::string& fourth) {
    return "01000000 65000000 01000000 0a000000 14000000 1e000000 28000000"  // id uid kind corners
           "01 03000000 00000000"                                             // transparent pen text
           "00000000 0c000000 00000000 000000" + fourth +                     // font name size 0 colour
           "f0ffffff 00000000 00 00 00 00"                                    // height -16, 0, flags
           "0f000000 00"                                                      // radius frame
           "ff0000" + fourth + "00ff7f" + fourth +                            // colour back colour
           "00000000 00"                                                      // quadrant multiline
           "00";                                                              // no image
}

TPaintObject readBody(const Bytes& body, TPaintObject into = {}) {
    MemoryInputStream in(body);
    EXPECT_TRUE(into.LoadFromStream(in));
    return into;
}

}  // namespace

TEST(PaintCodec, ColourFourthByteDependsOnWriterAndReaderMakesItOpaque) {
    const PaintColor half{1.0, 0.5, 0.2, 0.5};
    Bytes md;
    PaintCodec::writeColorMD(md, half);
    EXPECT_EQ(md, hex("ff 7f 33 00"));
    MemoryOutputStream os;
    ASSERT_TRUE(PaintCodec::writeColor(os, half));
    EXPECT_EQ(os.data(), hex("ff 7f 33 7f"));

    MemoryInputStream in(hex("ff 7f 33 7f"));
    const PaintColor back = PaintCodec::readColor(in);
    EXPECT_EQ(back, (PaintColor{1.0, 127 / 255.0, 51 / 255.0, 1.0}));
    // Every byte survives a read and a write.
    for (int b = 0; b < 256; ++b) {
        MemoryInputStream one(Bytes{static_cast<std::uint8_t>(b), 0, 0, 0});
        EXPECT_EQ(PaintCodec::colorComponent(PaintCodec::readColor(one).red), b);
    }
}

TEST(PaintCodec, FontHeightIsIntegerPixelsNegated) {
    const std::pair<std::int32_t, std::int32_t> cases[] = {{12, -16}, {10, -13}, {11, -14}, {0, 0}, {1, -1},
                                                           {2147483647, -2147483647}};
    for (auto [size, height] : cases) {
        if (size == 2147483647) {
            // The product does not fit 32 bits; the result must still be the truncated quotient.
            EXPECT_EQ(PaintCodec::fontHeight(size), static_cast<std::int32_t>(-(2147483647LL * 96 / 72))) << size;
        } else {
            EXPECT_EQ(PaintCodec::fontHeight(size), height) << size;
        }
    }
}

TEST(PaintCodec, FontRecordAndStyleSuffixesOnReading) {
    VeltrinFont font{"Helvetica", 11, true, true, PaintColor::blueColor()};
    Bytes md;
    PaintCodec::writeFontMD(md, font);
    EXPECT_EQ(md, hex("09000000 48656c766574696361 0b000000 00000000 0000ff00 f2ffffff 00000000 01 01 00 00"));

    MemoryInputStream in(md);
    VeltrinFont read;
    PaintCodec::readVeltrinFont(in, read);
    EXPECT_EQ(read.fontName, "Helvetica-Bold-Italic");
    EXPECT_EQ(read.fontSize, 11);
    EXPECT_TRUE(read.isBold);
    EXPECT_TRUE(read.isItalic);
    EXPECT_EQ(read.fontColor, PaintColor::blueColor());
    EXPECT_EQ(in.buffered(), 0u);

    // The name goes out as held, suffixes included.
    Bytes again;
    PaintCodec::writeFontMD(again, read);
    EXPECT_EQ(Bytes(again.begin(), again.begin() + 4), hex("15000000"));
}

TEST(TPaintObject, DefaultsOfANewObject) {
    const TPaintObject o(7, 3, 2);
    EXPECT_EQ(o.FUserID, 7);
    EXPECT_EQ(o.FObjectID, 3);
    EXPECT_EQ(o.FBorardIndex, 2);
    EXPECT_EQ(o.FTyp, kNone);
    EXPECT_EQ(o.FColor, PaintColor::blackColor());
    EXPECT_EQ(o.FBackColor, PaintColor::whiteColor());
    EXPECT_EQ(o.FRndRectRadius, 15);
    EXPECT_TRUE(o.FTransparent);
    EXPECT_FALSE(o.FFrame);
    EXPECT_EQ(o.FPenWidth, 1);
    EXPECT_EQ(o.FText, "Text");
    EXPECT_EQ(o.FImageType, 2);
    EXPECT_FALSE(o.hasImage());
    EXPECT_EQ(o.FFont, VeltrinFont{});
}

TEST(TPaintObject, RectangleBodyByteExactInBothWriters) {
    const TPaintObject o = rectangle();
    Bytes md;
    o.SaveToMD(md, true, 2);
    EXPECT_EQ(md, hex(rectangleBody("00")));

    MemoryOutputStream os;
    ASSERT_TRUE(o.SaveToStream(os, true, 2));
    EXPECT_EQ(os.data(), hex(rectangleBody("ff")));

    const TPaintObjectHeader h = o.header(TPaintObjectHeader::kNewObject, static_cast<std::int32_t>(md.size()));
    EXPECT_EQ(h, (TPaintObjectHeader{101, 0, 3, 1, false, static_cast<std::int32_t>(md.size())}));
}

TEST(TPaintObject, StrokePointsAreWrittenTruncatedOnlyForStrokeKinds) {
    TPaintObject stroke = rectangle();
    stroke.FTyp = kPencil;
    stroke.FHandPoints = {{1.9, -2.7}, {300.2, 4.0}};
    Bytes withPoints;
    stroke.SaveToMD(withPoints, true, 2);
    const Bytes base = hex(rectangleBody("00"));
    const std::size_t tail = base.size() - 1;  // everything before the has-image byte
    ASSERT_EQ(withPoints.size(), base.size() + 4 + 16);
    EXPECT_EQ(Bytes(withPoints.begin() + tail, withPoints.end()),
              hex("02000000 01000000 feffffff 2c010000 04000000 00"));

    stroke.FHandPoints.clear();
    Bytes noPoints;
    stroke.SaveToMD(noPoints, true, 2);
    EXPECT_EQ(Bytes(noPoints.begin() + tail, noPoints.end()), hex("00000000 00"));

    const TPaintObject back = readBody(withPoints);
    EXPECT_EQ(back.FHandPoints, (std::vector<HandPoint>{{1, -2}, {300, 4}}));
    // A negative count reads as no points and the rest of the body still lines up.
    Bytes negative = noPoints;
    negative[tail] = 0xff, negative[tail + 1] = 0xff, negative[tail + 2] = 0xff, negative[tail + 3] = 0xff;
    EXPECT_TRUE(readBody(negative).FHandPoints.empty());
}

TEST(TPaintObject, ImageTravelsAsPngAndUpdatesWithoutImageKeepTheBitmap) {
    TPaintObject image = rectangle();
    image.FTyp = kImage;
    image.FObjectImage = QImage(4, 3, QImage::Format_ARGB32);
    image.FObjectImage.fill(QColor(10, 200, 30));

    Bytes full;
    image.SaveToMD(full, true, 2);
    const std::size_t flagAt = hex(rectangleBody("00")).size() - 1;
    ASSERT_GT(full.size(), flagAt + 9);
    EXPECT_EQ(full[flagAt], 1);
    EXPECT_EQ(Bytes(full.begin() + flagAt + 1, full.begin() + flagAt + 5), hex("02000000"));
    const Bytes png(full.begin() + flagAt + 9, full.end());
    EXPECT_EQ(Bytes(png.begin(), png.begin() + 8), hex("89504e470d0a1a0a"));
    MemoryInputStream lengthIn(Bytes(full.begin() + flagAt + 5, full.begin() + flagAt + 9));
    EXPECT_EQ(static_cast<std::size_t>(VCTools::readInt(lengthIn)), png.size());

    TPaintObject received = readBody(full);
    ASSERT_TRUE(received.hasImage());
    EXPECT_EQ(received.FObjectImage.size(), QSize(4, 3));
    EXPECT_EQ(received.FObjectImage.pixelColor(2, 1), QColor(10, 200, 30));

    // Moved: the update carries no image, and the receiver keeps the one it has.
    image.FX = 50;
    Bytes moved;
    image.SaveToMD(moved, false, 2);
    EXPECT_EQ(moved.size(), flagAt + 1);
    EXPECT_EQ(moved.back(), 0);
    received = readBody(moved, received);
    EXPECT_EQ(received.FX, 50);
    EXPECT_TRUE(received.hasImage());

    // Data type -1 means the object's own preference; 1 is JPEG.
    image.FImageType = 1;
    Bytes jpeg;
    image.SaveToMD(jpeg, true, -1);
    EXPECT_EQ(Bytes(jpeg.begin() + flagAt + 1, jpeg.begin() + flagAt + 5), hex("01000000"));
    EXPECT_EQ(Bytes(jpeg.begin() + flagAt + 9, jpeg.begin() + flagAt + 11), hex("ffd8"));
    EXPECT_TRUE(readBody(jpeg).hasImage());
}

TEST(TPaintObject, TextColourComesFromTheFont) {
    TPaintObject text = rectangle();
    text.FTyp = kText;
    text.FText = "Hallo";
    text.FColor = PaintColor::redColor();
    text.FFont = {"Helvetica", 12, false, false, PaintColor::blueColor()};
    const TPaintObject back = readBody(text.bodyBytes(false, 2));
    EXPECT_EQ(back.FColor, PaintColor::blueColor());
    EXPECT_EQ(back.FText, "Hallo");

    // Other kinds keep their own colour.
    text.FTyp = kRectangle;
    EXPECT_EQ(readBody(text.bodyBytes(false, 2)).FColor, PaintColor::redColor());
}

TEST(TPaintObject, HostileBodiesEndCleanly) {
    TPaintObject stroke = rectangle();
    stroke.FTyp = kHighlighter;
    stroke.FHandPoints = {{1, 2}};
    Bytes body = stroke.bodyBytes(false, 2);
    const std::size_t countAt = hex(rectangleBody("00")).size() - 1;

    struct Case {
        const char* name;
        Bytes bytes;
    };
    Bytes hugeCount = body;
    hugeCount[countAt + 3] = 0x7f;  // 2^31 - ... points claimed, 1 present
    Bytes cut(body.begin(), body.begin() + 30);
    TPaintObject image = rectangle();
    Bytes badImage = image.bodyBytes(false, 2);
    badImage.back() = 1;
    const Bytes tail = hex("02000000 10000000 0102030405060708090a0b0c0d0e0f10");
    badImage.insert(badImage.end(), tail.begin(), tail.end());
    Bytes negativeImage = image.bodyBytes(false, 2);
    negativeImage.back() = 1;
    const Bytes negTail = hex("02000000 ffffffff");
    negativeImage.insert(negativeImage.end(), negTail.begin(), negTail.end());
    Bytes longImage = image.bodyBytes(false, 2);
    longImage.back() = 1;
    const Bytes longTail = hex("02000000 ffffff7f 89504e47");
    longImage.insert(longImage.end(), longTail.begin(), longTail.end());

    const Case cases[] = {{"huge point count", hugeCount},
                          {"cut short", cut},
                          {"negative image length", negativeImage},
                          {"image length past the end", longImage}};
    for (const Case& c : cases) {
        TPaintObject o;
        MemoryInputStream in(c.bytes);
        EXPECT_FALSE(o.LoadFromStream(in)) << c.name;
        EXPECT_FALSE(o.hasImage()) << c.name;
    }
    // Bytes that are no image leave the object without one but the body itself is whole.
    TPaintObject withOld = rectangle();
    withOld.FObjectImage = QImage(2, 2, QImage::Format_RGB32);
    MemoryInputStream in(badImage);
    EXPECT_TRUE(withOld.LoadFromStream(in));
    EXPECT_FALSE(withOld.hasImage());
}

TEST(ImageCodec, RefusesImagesWhoseDeclaredSizeIsImplausible) {
    // A PNG header declaring 100000 x 100000 pixels, followed by nothing decodable.
    const Bytes header = hex("89504e470d0a1a0a 0000000d 49484452 000186a0 000186a0 08 06 000000 a8520bc8");
    EXPECT_FALSE(ImageCodec::decode(header).has_value());
    EXPECT_FALSE(ImageCodec::decode(Bytes{}).has_value());
}
