#pragma once

#include <cstdint>
#include <string>

#include "wire/Streams.h"

namespace veltrin {

// A poll question or answer (221 bytes).
struct TPingPacket {
    static constexpr int kSize = 221;

    std::int32_t ID = 0;
    std::int32_t FromID = 0;
    std::int32_t ToID = 0;
    std::int32_t PingType = 0;  // a word on the wire
    bool MustReply = false;
    bool MultipleAnswers = false;
    std::int32_t AnswerMask = 0;
    std::string Text;  // fixed 200

    static constexpr int getSize() { return kSize; }
    void readFromStream(InputStream& is);
    // The name the poll code has always called it by.
    void readFromSrteam(InputStream& is) { readFromStream(is); }
    bool writeToStream(OutputStream& os) const;
    void writeToMD(Bytes& md) const;

    bool operator==(const TPingPacket&) const = default;
};

}  // namespace veltrin
