#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "wire/BoardStream.h"
#include "wire/Streams.h"

namespace veltrin::server {

// One object of a board as the server keeps it: its identity and its latest body, undecoded.
struct StoredObject {
    std::int32_t userId = 0;
    std::int32_t localIndex = 0;
    bool isImage = false;
    Bytes body;
};

// One board of a room: what its snapshot says about it and its objects in drawing order (first =
// bottom), kept up to date from 158 and 161 so that a board can be handed to a participant who
// was not there when it was drawn.
struct ServerBoard {
    TBoardStreamHead head;
    std::vector<StoredObject> objects;

    std::vector<StoredObject>::iterator find(std::int32_t uid, std::int32_t localIndex) {
        return std::find_if(objects.begin(), objects.end(), [&](const StoredObject& o) {
            return o.userId == uid && o.localIndex == localIndex;
        });
    }
};

// A room's board set. Board 1, the default whiteboard, exists from the start and is never removed;
// new boards take the next index, which is never given out twice in a room's life.
struct RoomBoards {
    static constexpr std::int32_t kDefaultBoard = 1;

    std::map<std::int32_t, ServerBoard> boards;
    std::int32_t active = kDefaultBoard;
    std::int32_t nextIndex = kDefaultBoard + 1;

    RoomBoards() {
        ServerBoard& board = boards[kDefaultBoard];
        board.head.Index = kDefaultBoard;
        board.head.BoardId = "wb-1";
        board.head.Title = "Whiteboard";
        board.head.OriginalW = 1024;
        board.head.OriginalH = 768;
    }

    ServerBoard* board(std::int32_t index) {
        auto it = boards.find(index);
        return it == boards.end() ? nullptr : &it->second;
    }

    // The board's snapshot with object headers, as 79 and 159 carry it.
    static void writeSnapshot(Bytes& md, const ServerBoard& board) {
        std::vector<TBoardStreamObject> entries;
        entries.reserve(board.objects.size());
        for (const StoredObject& o : board.objects) {
            TBoardStreamObject e;
            e.Header.UserId = o.userId;
            e.Header.UpdateType = TPaintObjectHeader::kNewObject;
            e.Header.BoardIndex = board.head.Index;
            e.Header.LocalIndex = o.localIndex;
            e.Header.isImage = o.isImage;
            e.Body = o.body;
            entries.push_back(std::move(e));
        }
        BoardStream::writeSnapshotMD(md, board.head, entries);
    }
};

}  // namespace veltrin::server
