#pragma once

#include <cstdint>

#include "wire/Streams.h"

namespace veltrin {

// A participant's live status: microphone, video, board and screen-sharing flags and the current
// motion (raised hand, smile, ...). 15 bytes.
struct TClientStatusPack {
    static constexpr int kSize = 15;

    std::int32_t UID = 0;
    std::int32_t OnlineStatus = 0;  // a byte on the wire
    std::int32_t Mike_Status = 0;   // a byte on the wire
    std::int32_t Video_Status = 0;  // a byte on the wire
    bool Board_BoardAllowed = false;
    bool Board_NowDrawing = false;
    std::int32_t MotionStatus = 0;
    bool AppShare_Allowed = false;
    bool AppShare_NowSharing = false;

    // Kept by the participant list, not on the wire.
    std::int32_t AppShareStatus = 0;
    std::int32_t MotionIndex = 0;

    static constexpr int getSize() { return kSize; }
    // Motions. A raised hand is 1; values above 1000 are raised hands too (they carry the hand's
    // position in the queue).
    bool isHand() const { return MotionStatus == 1 || MotionStatus > 1000; }
    bool isSmiling() const { return MotionStatus == 2; }
    bool isClapping() const { return MotionStatus == 4; }
    bool isYES() const { return MotionStatus == 8; }
    bool isNO() const { return MotionStatus == 16; }

    void readFromStream(InputStream& is);
    bool writeToStream(OutputStream& os) const;
    void writeToMD(Bytes& md) const;

    bool operator==(const TClientStatusPack&) const = default;
};

}  // namespace veltrin
