#pragma once

#include <cstddef>
#include <cstdint>

#include "session/IncomingRecords.h"
#include "whiteboard/PaintObjectList.h"
#include "whiteboard/boards/BoardState.h"
#include "wire/BoardStream.h"
#include "wire/Streams.h"

namespace veltrin::wb {

// How reading one board stream ended.
struct BoardReadResult {
    // Bytes taken, counted as the wire sizes give them. With headers this is what a multi-board
    // answer is split by; without headers object bodies are not counted.
    std::size_t consumed = 0;
    BoardStreamStatus status = BoardStreamStatus::Complete;
    // Objects that arrived whole (a snapshot may announce more than it carries).
    std::size_t objectsRead = 0;
    // False when a background image was announced but could not be decoded.
    bool backgroundDecoded = true;

    bool complete() const { return status == BoardStreamStatus::Complete; }
};

// Reads and writes board streams into a canvas's board state and object list.
class BoardSnapshot {
public:
    BoardSnapshot() = delete;

    // Replaces the board's content with the stream's. As far as the stream is sound its fields are
    // taken; a cut-off or impossible snapshot leaves what arrived and says so, and a background
    // image that does not decode leaves the board without one (FHasBgImage is kept as sent, so
    // the board stays "has an image" for rotation and files, and draws none).
    static BoardReadResult readFromStream(InputStream& is, bool headersAvailable, BoardState& board,
                                          PaintObjectList& objects);

    // The board file form: no object headers, colours with their alpha, the background image as
    // PNG of the image as shown (type 2, rotation 0), objects with their images.
    static bool saveToStream(OutputStream& os, const BoardState& board, const PaintObjectList& objects);
    static Bytes fileBytes(const BoardState& board, const PaintObjectList& objects);

    // A snapshot the session layer already split out of a 79 or 159 answer.
    static BoardReadResult apply(const TBoardSnapshot& snapshot, BoardState& board, PaintObjectList& objects);
    // A received new board (156): the objects are removed and the board is loaded.
    static bool apply(const TNewBoard& created, BoardState& board, PaintObjectList& objects);

    // The background image as decoded from `encoded`, turned by the rotation index of `imageType`.
    static std::optional<QImage> decodeBackground(std::span<const std::uint8_t> encoded, std::int32_t imageType);
};

}  // namespace veltrin::wb
