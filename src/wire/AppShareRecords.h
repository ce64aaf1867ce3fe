#pragma once

#include <cstdint>
#include <string>

#include "wire/Streams.h"

namespace veltrin {

// Share description announced by a sharer (command 141), 519 bytes. Viewers keep their decoding
// state (plane size, picture buffers) next to it, not in it.
struct TAppShareStruct {
    static constexpr int kSize = 519;
    static constexpr int kShareUserNameSize = 200;
    static constexpr int kShareTitleSize = 255;

    std::int32_t ShareType = 0;
    std::int32_t ShareUserId = 0;
    std::uint8_t PixFrmt = 0;
    std::int32_t SourceX = 0;
    std::int32_t SourceY = 0;
    std::int32_t SourceWidth = 0;
    std::int32_t SourceHeight = 0;
    std::int32_t TargetWidth = 0;
    std::int32_t TargetHeight = 0;
    double ScaleFactorX = 0;
    double ScaleFactorY = 0;
    std::int32_t CompressionLevel = 0;
    std::int32_t PiecesPerLine = 0;
    bool CaptureCursor = false;
    std::int32_t FrameInterval = 0;
    std::string ShareUserName;  // fixed 200
    std::string ShareTitle;     // fixed 255

    static constexpr int getSize() { return kSize; }
    void writeToMD(Bytes& md) const;
    bool writeToStream(OutputStream& os) const;
    void readFromStream(InputStream& is);

    bool operator==(const TAppShareStruct&) const = default;
};

// Header of one screen frame (command 144), 14 bytes; FrameSize compressed body bytes follow.
struct TAppShareFrame {
    static constexpr int kSize = 14;

    std::int32_t FrameNo = 0;
    bool KeyFrame = false;
    bool XorFrame = false;
    std::int32_t FrameSize = 0;
    std::int32_t MsecsOffset = 0;

    static constexpr int getSize() { return kSize; }
    void writeToMD(Bytes& md) const;
    bool writeToStream(OutputStream& os) const;
    void readFromStream(InputStream& is);

    bool operator==(const TAppShareFrame&) const = default;
};

// One remote-control input event (command 147), 23 bytes.
struct TAppShareControlPacket {
    static constexpr int kSize = 23;

    std::uint8_t EventType = 0;  // 0 keyboard, 1 mouse
    std::int32_t Param1 = 0;
    std::int32_t Param2 = 0;
    std::int32_t Param3 = 0;
    std::int32_t Param4 = 0;
    std::int32_t Param5 = 0;
    std::uint8_t Param6 = 0;
    std::uint8_t Param7 = 0;

    static constexpr int getSize() { return kSize; }
    void writeToMD(Bytes& md) const;
    bool writeToStream(OutputStream& os) const;
    void readFromStream(InputStream& is);

    bool operator==(const TAppShareControlPacket&) const = default;
};

}  // namespace veltrin
