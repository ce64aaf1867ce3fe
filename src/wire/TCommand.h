#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "wire/ByteOrder.h"

namespace veltrin {

// The 22-byte header of every command (main channel, media channels, recordings), followed on the
// wire by exactly DataSize payload bytes. Fields in wire order, little-endian, no padding.
struct TCommand {
    static constexpr int kSize = 22;

    std::uint16_t CommandID = 0;
    std::uint32_t UserID = 0;     // the sender; the client's own UID on what it sends, 0 before log-on
    std::uint16_t RoomIndex = 0;  // the low 16 bits of the room id
    double TimeStamp = 0;         // a day-count date; the client sends 0
    std::uint32_t DataSize = 0;
    std::uint16_t Result = 0;  // 0 success

    TCommand() = default;
    // initWithID:UID:RID: and initWithID:UID:RID:DataSize:
    TCommand(int commandId, std::uint32_t uid, int rid, std::uint32_t dataSize = 0)
        : CommandID(static_cast<std::uint16_t>(commandId)),
          UserID(uid),
          RoomIndex(static_cast<std::uint16_t>(rid)),
          DataSize(dataSize) {}

    static constexpr int getSize() { return kSize; }

    // Byte-level codec for code that already holds the frame's bytes (buffered readers, recordings).
    // Inline: the reader thread decodes every frame through these.
    void encode(std::uint8_t* out) const {  // writes exactly kSize bytes
        using namespace byteorder;
        storeLE16(out, CommandID);
        storeLE32(out + 2, UserID);
        storeLE16(out + 6, RoomIndex);
        storeLEDouble(out + 8, TimeStamp);
        storeLE32(out + 16, DataSize);
        storeLE16(out + 20, Result);
    }
    static TCommand decode(const std::uint8_t* in) {  // reads exactly kSize bytes
        using namespace byteorder;
        TCommand c;
        c.CommandID = loadLE16(in);
        c.UserID = loadLE32(in + 2);
        c.RoomIndex = loadLE16(in + 6);
        c.TimeStamp = loadLEDouble(in + 8);
        c.DataSize = loadLE32(in + 16);
        c.Result = loadLE16(in + 20);
        return c;
    }
    // Nothing when fewer than kSize bytes are given; bytes past the frame are ignored.
    static std::optional<TCommand> decode(std::span<const std::uint8_t> bytes) {
        if (bytes.size() < static_cast<std::size_t>(kSize)) return std::nullopt;
        return decode(bytes.data());
    }

    bool operator==(const TCommand&) const = default;
};

}  // namespace veltrin
