#pragma once

// Whiteboard payloads as far as the dispatcher decodes them: the board snapshot of commands 79 and
// 159 and the new board of command 156. Paint-object bodies stay bytes here: the whiteboard owns
// their format. Readers follow the wire primitives' rule: fields the payload cannot supply stay 0 or
// empty, and byte blocks never allocate ahead of the bytes that arrived.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "wire/PaintObjectHeader.h"
#include "wire/Streams.h"

namespace veltrin {

// A colour as whiteboard payloads carry it: red, green, blue and a fourth byte that readers
// ignore (it is written as 0 in command payloads).
struct TWireColor {
    static constexpr int kSize = 4;
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;

    void readFromStream(InputStream& is);
    void writeToMD(Bytes& md) const;
    bool operator==(const TWireColor&) const = default;
};

struct TBoardObjectEntry {
    TPaintObjectHeader Header;
    Bytes Body;  // the object body, undecoded; empty when ObjectSize is 0

    bool operator==(const TBoardObjectEntry&) const = default;
};

// One board stream with object headers, as the server sends it for commands 79 and 159.
struct TBoardSnapshot {
    std::int32_t Index = 0;
    std::int32_t PresentationId = 0;
    std::int32_t SlideNo = 0;
    bool BoardLoaded = false;  // the wire carries the negation ("not loaded")
    std::string BoardId;
    std::string Title;
    std::int32_t UserId = 0;
    std::int32_t OriginalW = 0;
    std::int32_t OriginalH = 0;
    TWireColor BackgroundColor;
    bool MarkupVisible = false;
    bool HasBgImage = false;
    std::int32_t ImageType = 0;  // low byte encoding (1 JPEG, 2 PNG), second byte rotation index
    Bytes BackgroundImage;       // present only when loaded with a background image
    std::int32_t ObjectCount = 0;
    std::vector<TBoardObjectEntry> Objects;  // present only when loaded

    // Bytes of the stream this snapshot took. Several snapshots follow each other in one payload
    // and are told apart by this count alone.
    std::size_t ConsumedBytes = 0;
    // False when the payload ended before the snapshot did.
    bool Complete = false;

    // Reads one snapshot. Object entries are read until the announced count or until the payload
    // runs out, whichever comes first.
    void readFromStream(MemoryInputStream& is);
    bool operator==(const TBoardSnapshot&) const = default;
};

// The payload of a received new board (command 156).
struct TNewBoard {
    std::int32_t Index = 0;
    std::int32_t PresentationId = 0;
    std::int32_t SlideNo = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    TWireColor Color;
    bool MarkupVisible = false;
    std::string Title;
    std::int32_t UserId = 0;  // creator
    bool HasImage = false;
    std::int32_t ImageType = 0;
    Bytes Image;

    void readFromStream(InputStream& is);
    bool operator==(const TNewBoard&) const = default;
};

}  // namespace veltrin
