#pragma once

#include <cstdint>
#include <string>

#include "wire/Streams.h"

namespace veltrin {

// The payload of the start-recorder request: 296 bytes. The client fills only RecorderName; the
// other fields travel as 0. It can be read back, though the server never sends one.
struct TRecorderConfiguration {
    static constexpr int kSize = 296;
    static constexpr int kRecorderNameSize = 250;

    std::string RecorderName;  // fixed 250
    bool Visible = false;
    std::int32_t RecordVideoFromUserId = 0;
    std::int32_t Option1 = 0;
    std::int32_t Option2 = 0;
    std::int32_t Option3 = 0;
    std::int32_t Option4 = 0;
    std::int32_t Option5 = 0;
    std::int32_t Option6 = 0;
    std::int32_t Option7 = 0;
    std::int32_t Option8 = 0;
    std::int32_t Option9 = 0;
    std::int32_t Option10 = 0;

    static constexpr int getSize() { return kSize; }
    void writeToMD(Bytes& md) const;
    bool writeToStream(OutputStream& os) const;
    void readFromStream(InputStream& is);

    bool operator==(const TRecorderConfiguration&) const = default;
};

}  // namespace veltrin
