#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "wire/PaintObjectHeader.h"
#include "wire/Streams.h"

namespace veltrin {

// The board stream: one whiteboard's snapshot as the server answers commands 79 and 159 (objects
// with headers) and as board files hold it (objects without headers). This is the part of the
// format that needs no image or object decoding, shared by the server, which writes snapshots, and
// the client, which reads them.
struct TBoardStreamHead {
    std::int32_t Index = 0;
    std::int32_t PresentationId = 0;
    std::int32_t SlideNo = 0;
    bool BoardLoaded = true;  // the wire carries the negation ("not loaded")
    std::string BoardId;      // UTF-8
    std::string Title;        // UTF-8
    std::int32_t UserId = 0;
    std::int32_t OriginalW = 0;
    std::int32_t OriginalH = 0;
    std::uint8_t Color[4] = {255, 255, 255, 0};  // red, green, blue and a fourth byte readers ignore
    bool MarkupVisible = true;
    bool HasBgImage = false;
    // Present on the wire only when loaded with a background image.
    std::int32_t ImageType = 0;  // low byte encoding (1 JPEG, 2 PNG), second byte rotation index
    Bytes Image;                 // the encoded background image
    std::int32_t ObjectCount = 0;

    bool imageBlockFollows() const { return BoardLoaded && HasBgImage; }
    bool operator==(const TBoardStreamHead&) const = default;
};

// One object of a snapshot with headers: the 21-byte header and the undecoded body.
struct TBoardStreamObject {
    TPaintObjectHeader Header;
    Bytes Body;
    bool operator==(const TBoardStreamObject&) const = default;
};

enum class BoardStreamStatus {
    Complete,   // every field arrived
    Truncated,  // the stream ended first; the fields read so far are kept
    Invalid,    // a size claimed more than the caller allows; the stream is marked unusable
};

class BoardStream {
public:
    BoardStream() = delete;

    // Background images and object bodies above this size are refused as impossible.
    static constexpr std::size_t kMaxBlockBytes = 64u << 20;
    // Board ids and titles above this size are refused as impossible.
    static constexpr std::size_t kMaxTextBytes = 1u << 20;

    // Writes the head through the object count. The image block is written exactly when the head
    // says it follows; ObjectCount is written as held.
    static void writeHeadMD(Bytes& md, const TBoardStreamHead& head);
    // A whole snapshot with object headers: the head (its ObjectCount replaced by the number of
    // objects) and each object's header, its ObjectSize set from the body, then the body.
    static void writeSnapshotMD(Bytes& md, TBoardStreamHead head, std::span<const TBoardStreamObject> objects);

    // Reads the head through the object count. `consumed` grows by the bytes the fields took, as
    // the sizes on the wire give them (a string adds 4 plus its UTF-8 byte count).
    static BoardStreamStatus readHead(InputStream& is, TBoardStreamHead& head, std::size_t& consumed);
    // One object with its header; a body is read only when ObjectSize is above 0. `consumed` grows
    // by 21 plus the body size.
    static BoardStreamStatus readObject(InputStream& is, TBoardStreamObject& object, std::size_t& consumed);
};

}  // namespace veltrin
