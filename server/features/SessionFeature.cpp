#include "server/core/Client.h"
#include "server/core/Payload.h"
#include "server/core/Records.h"
#include "server/core/Server.h"
#include "server/features/Features.h"
#include "wire/Log.h"

namespace veltrin::server {

namespace {

// Results of the token answer (164). Any non-zero value makes the client give up.
constexpr std::uint16_t kTokenAlreadyUsed = 1;
constexpr std::uint16_t kTokenUnknown = 2;

// Results of the join answer (75). The client shows the code in its refusal message.
constexpr std::uint16_t kNoSuchRoom = 1;
constexpr std::uint16_t kRoomInactive = 2;
constexpr std::uint16_t kTokenRequired = 3;
constexpr std::uint16_t kRoomFull = 4;

void onToken(CommandContext& ctx) {
    PayloadReader p(ctx.payload);
    const std::string token = p.readStringIntSize();
    std::int32_t roomId = 0;
    std::uint16_t result = 0;
    switch (ctx.server.tokens().use(token, ctx.command.RoomIndex, roomId)) {
        case TokenBook::Outcome::Accepted:
            ctx.client.session().tokenRooms.insert(roomId);
            break;
        case TokenBook::Outcome::AlreadyUsed:
            result = kTokenAlreadyUsed;
            break;
        case TokenBook::Outcome::Unknown: {
            // Rooms that do not ask for tokens let any token through: launch links always carry one.
            const Room* room = ctx.server.findRoomByIndex(ctx.command.RoomIndex);
            if (room && room->config().tokensRequired) result = kTokenUnknown;
            break;
        }
    }
    if (result != 0) logf("entry token refused (%u) for user %d", result, ctx.client.uid());
    ctx.client.sendFrame(164, result);
}

std::uint16_t joinRefusal(const Client& client, const Room* room) {
    if (!room) return kNoSuchRoom;
    const RoomConfig& c = room->config();
    if (!c.active) return kRoomInactive;
    if (c.tokensRequired && !client.session().tokenRooms.contains(c.id)) return kTokenRequired;
    if (!room->contains(&client) && c.capacity > 0 && room->count() >= static_cast<std::size_t>(c.capacity))
        return kRoomFull;
    return 0;
}

void onJoin(CommandContext& ctx) {
    Server& server = ctx.server;
    Client& client = ctx.client;
    if (server.holdJoins()) {
        server.counters().joinsHeld++;
        return;
    }
    PayloadReader p(ctx.payload);
    const std::int32_t roomId = p.readInt();
    Room* room = p.complete() ? server.findRoom(roomId) : nullptr;
    if (const auto refusal = joinRefusal(client, room); refusal != 0) {
        server.counters().joinsDenied++;
        logf("join of room %d refused (%u) for user %d", roomId, refusal, client.uid());
        client.sendFrame(75, refusal);
        return;
    }
    server.joinRoom(client, *room, [&] {
        // The four fields between the room id and the header name where the media channels
        // are reached: every channel shares this listening address.
        Bytes answer;
        VCTools::writeIntMD(answer, room->id());
        VCTools::writeFixedStringMD(answer, client.localAddress(), 20);
        VCTools::writeIntMD(answer, client.localPort());
        VCTools::writeFixedStringMD(answer, client.localAddress(), 20);
        VCTools::writeIntMD(answer, client.localPort());
        makeRoomHeader(*room).writeToMD(answer);
        makeClientRecord(client).writeToMD(answer);
        client.sendFrame(75, 0, answer);
    });
}

}  // namespace

void installSessionFeature(Server& server) {
    HandlerRegistry& r = server.mainChannel();
    r.ignore({57});  // keep-alive: receiving it is all it is for
    r.on(164, onToken);
    r.on(75, onJoin);
    r.on(154, [](CommandContext& ctx) {
        PayloadReader p(ctx.payload);
        const std::int32_t in = p.readInt();
        const std::int32_t out = p.readInt();
        if (!p.complete()) return;
        ctx.client.session().bytesIn = in;
        ctx.client.session().bytesOut = out;
    });
    r.on(114, [](CommandContext& ctx) {
        PayloadReader p(ctx.payload);
        const std::int32_t bias = p.readInt();
        if (p.complete()) ctx.client.session().timeBias = bias;
    });
    r.on(113, [](CommandContext& ctx) {
        // The ports of the audio and the video channel: the one this connection came in on.
        Bytes ports;
        VCTools::writeIntMD(ports, ctx.client.localPort());
        VCTools::writeIntMD(ports, ctx.client.localPort());
        ctx.client.sendFrame(113, 0, ports);
    });
}

}  // namespace veltrin::server
