#include <cstdint>
#include <string>

#include "server/core/Client.h"
#include "server/core/Payload.h"
#include "server/core/Relay.h"
#include "server/core/Room.h"
#include "server/core/Server.h"
#include "server/features/RoomBoards.h"
#include "wire/VCTools.h"

namespace veltrin::server {

void installBoardSetFeature(Server& server);

namespace {

// Boards bigger than this on a side are refused: no screen or slide comes near it.
constexpr std::int32_t kMaxBoardSide = 16384;
constexpr std::uint16_t kResultFailed = 1;

bool mayChangeBoards(Client& c) { return c.privileged() || c.session().status.Board_BoardAllowed; }

void broadcast(CommandContext& ctx, Room& room, std::uint16_t id, std::span<const std::uint8_t> payload,
               const Client* except) {
    ctx.server.counters().relayed += sendToRoom(room, frameFrom(ctx.client, room, id, 0, payload), except);
}

Bytes twoInts(std::int32_t a, std::int32_t b) {
    Bytes md;
    VCTools::writeIntMD(md, a);
    VCTools::writeIntMD(md, b);
    return md;
}

// 79: every board's snapshot, one after another, in index order.
void onLoadServerBoards(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room) return;
    Bytes payload;
    for (const auto& [index, board] : room->extensions().get<RoomBoards>().boards) {
        RoomBoards::writeSnapshot(payload, board);
    }
    ctx.client.sendFrame(79, 0, payload);
}

// 159: one board's snapshot; an unknown board is answered with a failed result and no payload.
void onLoadSingleBoard(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room) return;
    PayloadReader p(ctx.payload);
    const std::int32_t index = p.readInt();
    ServerBoard* board = p.complete() ? room->extensions().get<RoomBoards>().board(index) : nullptr;
    if (!board) {
        ctx.client.sendFrame(159, kResultFailed);
        return;
    }
    Bytes payload;
    RoomBoards::writeSnapshot(payload, *board);
    ctx.client.sendFrame(159, 0, payload);
}

void onGetActiveBoard(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room) return;
    Bytes payload;
    VCTools::writeIntMD(payload, room->extensions().get<RoomBoards>().active);
    ctx.client.sendFrame(81, 0, payload);
}

// 82: everybody, the sender included, switches when the broadcast arrives.
void onSetActiveBoard(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !mayChangeBoards(ctx.client)) return;
    PayloadReader p(ctx.payload);
    const std::int32_t index = p.readInt();
    auto& boards = room->extensions().get<RoomBoards>();
    if (!p.complete() || !boards.board(index)) return;
    boards.active = index;
    Bytes payload;
    VCTools::writeIntMD(payload, index);
    broadcast(ctx, *room, 82, payload, nullptr);
}

// 156: the server gives the board its index and hands it to everybody, who then show it.
void onCreateBoard(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || ctx.command.Result != 0 || !mayChangeBoards(ctx.client)) return;
    MemoryInputStream in(ctx.payload);
    TBoardStreamHead head;
    VCTools::readInt(in);  // index, presentation id and slide number: ours to assign
    head.PresentationId = VCTools::readInt(in);
    head.SlideNo = VCTools::readInt(in);
    head.OriginalW = VCTools::readInt(in);
    head.OriginalH = VCTools::readInt(in);
    for (std::uint8_t& c : head.Color) c = VCTools::readByte(in);
    head.Color[3] = 0;
    head.MarkupVisible = VCTools::readBoolean(in);
    head.Title = VCTools::readUTF16LEIntString(in, ctx.payload.size());
    VCTools::readInt(in);  // the creator is the sender, whatever the payload claims
    head.UserId = ctx.client.uid();
    head.HasBgImage = VCTools::readBoolean(in);
    if (!VCTools::checkIS(in)) return;
    if (head.HasBgImage) {
        head.ImageType = VCTools::readInt(in);
        const std::int32_t length = VCTools::readInt(in);
        if (!VCTools::checkIS(in) || length < 1 || static_cast<std::size_t>(length) > in.buffered()) return;
        if (VCTools::readPayload(in, static_cast<std::uint64_t>(length), head.Image, in.buffered()) !=
            ReadStatus::Complete) {
            return;
        }
    }
    if (head.OriginalW <= 0 || head.OriginalH <= 0 || head.OriginalW > kMaxBoardSide ||
        head.OriginalH > kMaxBoardSide) {
        return;
    }
    auto& boards = room->extensions().get<RoomBoards>();
    head.Index = boards.nextIndex++;
    head.BoardId = "wb-" + std::to_string(head.Index);
    head.BoardLoaded = true;

    Bytes payload;
    VCTools::writeIntMD(payload, head.Index);
    VCTools::writeIntMD(payload, head.PresentationId);
    VCTools::writeIntMD(payload, head.SlideNo);
    VCTools::writeIntMD(payload, head.OriginalW);
    VCTools::writeIntMD(payload, head.OriginalH);
    for (std::uint8_t c : head.Color) VCTools::writeByteMD(payload, c);
    VCTools::writeBooleanMD(payload, head.MarkupVisible);
    VCTools::writeUTF16LEIntStringMD(payload, head.Title);
    VCTools::writeIntMD(payload, head.UserId);
    VCTools::writeBooleanMD(payload, head.HasBgImage);
    if (head.HasBgImage) {
        VCTools::writeIntMD(payload, head.ImageType);
        VCTools::writeIntMD(payload, static_cast<std::int32_t>(head.Image.size()));
        payload.insert(payload.end(), head.Image.begin(), head.Image.end());
    }
    boards.active = head.Index;
    boards.boards[head.Index].head = std::move(head);
    broadcast(ctx, *room, 156, payload, nullptr);
}

// 157: one board, or -1 for every board but the default one; everybody moves to the switch-to
// board (the default one when the named board is not there) before the board goes.
void onRemoveBoard(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || ctx.command.Result != 0) return;
    PayloadReader p(ctx.payload);
    const std::int32_t index = p.readInt();
    std::int32_t switchTo = p.readInt();
    if (!p.complete()) return;
    auto& boards = room->extensions().get<RoomBoards>();
    if (index == -1) {
        if (!ctx.client.privileged()) return;
        std::erase_if(boards.boards, [](const auto& entry) { return entry.first != RoomBoards::kDefaultBoard; });
    } else {
        if (!mayChangeBoards(ctx.client) || index == RoomBoards::kDefaultBoard || !boards.board(index)) return;
        boards.boards.erase(index);
    }
    if (!boards.board(switchTo)) switchTo = RoomBoards::kDefaultBoard;
    boards.active = switchTo;
    broadcast(ctx, *room, 157, twoInts(index, switchTo), nullptr);
}

// 80: 2 erases every object, 1 shows and 0 hides the markup. The sender has done it already.
void onClearBoard(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || ctx.command.Result != 0 || !mayChangeBoards(ctx.client)) return;
    PayloadReader p(ctx.payload);
    const std::int32_t index = p.readInt();
    const std::int32_t type = p.readInt();
    ServerBoard* board = p.complete() ? room->extensions().get<RoomBoards>().board(index) : nullptr;
    if (!board || type < 0 || type > 2) return;
    if (type == 2) {
        board->objects.clear();
    } else {
        board->head.MarkupVisible = type == 1;
    }
    broadcast(ctx, *room, 80, twoInts(index, type), &ctx.client);
}

// 165: a new rotation of the background image; everybody, the sender included, turns it.
void onRotateBoard(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || ctx.command.Result != 0 || !mayChangeBoards(ctx.client)) return;
    PayloadReader p(ctx.payload);
    const std::int32_t index = p.readInt();
    const std::int32_t imageType = p.readInt();
    ServerBoard* board = p.complete() ? room->extensions().get<RoomBoards>().board(index) : nullptr;
    if (!board || !board->head.HasBgImage || ((imageType >> 8) & 0xff) > 3) return;
    board->head.ImageType = imageType;
    broadcast(ctx, *room, 165, twoInts(index, imageType), nullptr);
}

// 160: this server keeps no slide images, so every slide is one it cannot find.
void onLaunchSlide(CommandContext& ctx) {
    if (!ctx.client.room()) return;
    ctx.client.sendFrame(160, kResultFailed);
}

}  // namespace

void installBoardSetFeature(Server& server) {
    HandlerRegistry& r = server.mainChannel();
    r.on(79, onLoadServerBoards);
    r.on(159, onLoadSingleBoard);
    r.on(81, onGetActiveBoard);
    r.on(82, onSetActiveBoard);
    r.on(156, onCreateBoard);
    r.on(157, onRemoveBoard);
    r.on(80, onClearBoard);
    r.on(165, onRotateBoard);
    r.on(160, onLaunchSlide);
}

}  // namespace veltrin::server
