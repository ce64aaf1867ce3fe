#include <algorithm>

#include "server/core/Client.h"
#include "server/core/Payload.h"
#include "server/core/Relay.h"
#include "server/core/Server.h"
#include "server/features/Features.h"

namespace veltrin::server {

namespace {

constexpr std::int32_t kMikeAllowed = 2;
constexpr std::int32_t kMikeForbidden = 3;
constexpr std::int32_t kMikeSpeaking = 4;

// Results of a refused speaking-channel request; the client only tells zero from non-zero.
constexpr std::uint16_t kNoFreeMike = 1;
constexpr std::uint16_t kMikeNotAllowed = 2;

// A room with more simultaneous speakers than this is a typing error, not a classroom.
constexpr std::int32_t kMaxMikes = 100;

std::size_t speakers(const Room& room) {
    return static_cast<std::size_t>(std::count_if(room.participants().begin(), room.participants().end(),
                                                  [](const Client* c) { return c->session().status.Mike_Status == kMikeSpeaking; }));
}

void broadcast(Server& server, Room& room, Client& origin, std::uint16_t commandId, std::uint16_t result,
               std::span<const std::uint8_t> payload = {}) {
    server.counters().relayed += sendToRoom(room, frameFrom(origin, room, commandId, result, payload), nullptr);
}

// The one place a speaking channel is given back; everybody sees the microphone fall silent.
void releaseChannel(Server& server, Room& room, Client& speaker) {
    TClientStatusPack& s = speaker.session().status;
    if (s.Mike_Status != kMikeSpeaking) return;
    s.Mike_Status = kMikeAllowed;
    broadcast(server, room, speaker, 7, 0);
}

void onObtainSpeakingChannel(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room) return;
    TClientStatusPack& s = ctx.client.session().status;
    if (s.Mike_Status == kMikeSpeaking) {
        ctx.client.sendFrame(6, 0);  // a repeated request: the channel is still this client's
        return;
    }
    std::uint16_t refusal = 0;
    if (s.Mike_Status == kMikeForbidden)
        refusal = kMikeNotAllowed;
    else if (speakers(*room) >= static_cast<std::size_t>(std::max(room->mikesCount(), 0)))
        refusal = kNoFreeMike;
    if (refusal != 0) {
        ctx.client.sendFrame(6, refusal);
        return;
    }
    s.Mike_Status = kMikeSpeaking;
    broadcast(ctx.server, *room, ctx.client, 6, 0);
}

void onReleaseSpeakingChannel(CommandContext& ctx) {
    if (Room* room = ctx.client.room()) releaseChannel(ctx.server, *room, ctx.client);
}

// 41 allow / 43 forbid the microphone, 42 allow / 44 deny the whiteboard; payload: the target's uid.
void onPermission(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !ctx.client.privileged()) return;
    PayloadReader p(ctx.payload);
    const std::int32_t targetUid = p.readInt();
    Client* target = ctx.server.findOnline(targetUid);
    if (!p.complete() || !target || target->room() != room) return;
    TClientStatusPack& s = target->session().status;
    switch (ctx.command.CommandID) {
        case 41:
            if (s.Mike_Status != kMikeSpeaking) s.Mike_Status = kMikeAllowed;
            break;
        case 43:
            // The target's client gives the channel back itself, but a channel must not outlive
            // the permission on the word of the client that holds it.
            releaseChannel(ctx.server, *room, *target);
            s.Mike_Status = kMikeForbidden;
            break;
        case 42:
            s.Board_BoardAllowed = true;
            break;
        case 44:
            s.Board_BoardAllowed = false;
            break;
        default:
            return;
    }
    Bytes payload;
    VCTools::writeIntMD(payload, targetUid);
    broadcast(ctx.server, *room, ctx.client, ctx.command.CommandID, 0, payload);
}

// The number of simultaneous speakers. Lowering it ends no speaking channel; it only refuses the
// next requests until enough have been released.
void onSetMikesCount(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !ctx.client.privileged()) return;
    PayloadReader p(ctx.payload);
    const std::int32_t count = p.readInt();
    if (!p.complete() || count < 0 || count > kMaxMikes) return;
    room->setMikesCount(count);
    Bytes payload;
    VCTools::writeIntMD(payload, count);
    broadcast(ctx.server, *room, ctx.client, 125, 0, payload);
}

}  // namespace

void installPermissionsFeature(Server& server) {
    HandlerRegistry& r = server.mainChannel();
    r.on(6, onObtainSpeakingChannel);
    r.on(7, onReleaseSpeakingChannel);
    for (std::uint16_t id : {41, 42, 43, 44}) r.on(id, onPermission);
    r.on(125, onSetMikesCount);
}

}  // namespace veltrin::server
