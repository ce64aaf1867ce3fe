#pragma once

#include <cstdint>

#include "wire/Streams.h"

namespace veltrin {

// Precedes every paint object in the object update command (158) and in board snapshots: 21 bytes.
struct TPaintObjectHeader {
    static constexpr int kSize = 21;

    // UpdateType values.
    static constexpr std::int32_t kNewObject = 0;
    static constexpr std::int32_t kChangedObject = 1;
    static constexpr std::int32_t kDeletedObject = 2;

    std::int32_t UserId = 0;      // creator of the object
    std::int32_t UpdateType = 0;
    std::int32_t BoardIndex = 0;
    std::int32_t LocalIndex = 0;  // the object's id among its creator's objects
    bool isImage = false;
    std::int32_t ObjectSize = 0;  // body bytes that follow; 0 when none

    static constexpr int getSize() { return kSize; }
    void writeToMD(Bytes& md) const;
    bool writeToStream(OutputStream& os) const;
    void readFromStream(InputStream& is);

    bool operator==(const TPaintObjectHeader&) const = default;
};

}  // namespace veltrin
