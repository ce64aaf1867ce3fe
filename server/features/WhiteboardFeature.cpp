#include <algorithm>
#include <cstdint>
#include <vector>

#include "server/core/Client.h"
#include "server/core/Relay.h"
#include "server/core/Room.h"
#include "server/core/Server.h"
#include "server/features/Features.h"
#include "server/features/RoomBoards.h"
#include "wire/PaintObjectHeader.h"
#include "wire/Streams.h"
#include "wire/VCTools.h"

namespace veltrin::server {

void installBoardSetFeature(Server& server);

namespace {

void relay(CommandContext& ctx, Room& room) {
    ctx.server.counters().relayed += sendToRoom(room, relayedFrame(ctx.client, ctx.command, ctx.payload), &ctx.client);
}

void onUpdateObject(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || ctx.command.Result != 0 || ctx.payload.size() < static_cast<std::size_t>(TPaintObjectHeader::kSize)) {
        return;
    }
    MemoryInputStream in(ctx.payload);
    TPaintObjectHeader header;
    header.readFromStream(in);
    const std::size_t bodySize = ctx.payload.size() - TPaintObjectHeader::kSize;
    const bool withBody = header.UpdateType == TPaintObjectHeader::kNewObject ||
                          header.UpdateType == TPaintObjectHeader::kChangedObject;
    // A body that disagrees with its header would be framed differently by every receiver.
    if (withBody && (header.ObjectSize < 0 || static_cast<std::size_t>(header.ObjectSize) != bodySize)) return;

    // Objects of a board the room does not have are passed on but not kept.
    ServerBoard* board = room->extensions().get<RoomBoards>().board(header.BoardIndex);
    if (!board) {
        relay(ctx, *room);
        return;
    }
    auto& objects = board->objects;
    auto it = board->find(header.UserId, header.LocalIndex);
    if (withBody) {
        Bytes body(ctx.payload.begin() + TPaintObjectHeader::kSize, ctx.payload.end());
        if (it == objects.end()) {
            objects.push_back({header.UserId, header.LocalIndex, header.isImage, std::move(body)});
        } else {
            it->isImage = header.isImage;
            it->body = std::move(body);
        }
    } else if (header.UpdateType == TPaintObjectHeader::kDeletedObject && it != objects.end()) {
        objects.erase(it);
    }
    relay(ctx, *room);
}

void onReorder(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || ctx.command.Result != 0 || ctx.payload.size() < 16) return;
    MemoryInputStream in(ctx.payload);
    const std::int32_t boardIndex = VCTools::readInt(in);
    const std::int32_t localIndex = VCTools::readInt(in);
    const std::int32_t position = VCTools::readInt(in);
    const std::int32_t owner = VCTools::readInt(in);
    if (ServerBoard* board = room->extensions().get<RoomBoards>().board(boardIndex)) {
        auto& objects = board->objects;
        auto it = board->find(owner, localIndex);
        if (it != objects.end()) {
            StoredObject moved = std::move(*it);
            objects.erase(it);
            if (position < 0) {
                objects.push_back(std::move(moved));
            } else {
                objects.insert(objects.begin(), std::move(moved));
            }
        }
    }
    relay(ctx, *room);
}

// The pointer carries no state worth keeping; it is checked for size and passed on.
void onPointer(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || ctx.payload.size() < 17) return;
    relay(ctx, *room);
}

}  // namespace

void installWhiteboardFeature(Server& server) {
    HandlerRegistry& r = server.mainChannel();
    r.on(158, onUpdateObject);
    r.on(161, onReorder);
    r.on(56, onPointer);
    installBoardSetFeature(server);
}

}  // namespace veltrin::server
