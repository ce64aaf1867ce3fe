#include "server/core/Client.h"
#include "server/core/Payload.h"
#include "server/core/Relay.h"
#include "server/core/Server.h"
#include "server/features/Features.h"
#include "wire/PingPacket.h"
#include "wire/Streams.h"

namespace veltrin::server {

namespace {

// The addressed participant of this room, or nobody.
Client* participant(CommandContext& ctx, Room& room, std::int32_t uid) {
    Client* c = ctx.server.findOnline(uid);
    return c && c->room() == &room ? c : nullptr;
}

// "Content received": the acknowledgement goes to the one who pushed the content, named in the
// payload, and shows the acknowledging participant (the frame's user) a tick on that screen only.
void onContentDone(CommandContext& ctx) {
    Room* room = ctx.client.room();
    PayloadReader p(ctx.payload);
    const std::int32_t targetUid = p.readInt();
    if (!room || !p.complete()) return;
    Client* target = participant(ctx, *room, targetUid);
    if (!target) return;
    Bytes payload;
    VCTools::writeIntMD(payload, targetUid);
    target->send(frameFrom(ctx.client, *room, 55, 0, payload));
    ctx.server.counters().relayed++;
}

// Pings and polls come from the moderators' controls only; every receiver answers at once, so an
// attendee's ping would make the whole room report to the attendee. FromID is the sender, whatever
// the packet claimed: answers to a poll go to FromID.
void onPing(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !ctx.client.privileged() || ctx.payload.size() < static_cast<std::size_t>(TPingPacket::kSize)) return;
    MemoryInputStream in(ctx.payload);
    TPingPacket packet;
    packet.readFromStream(in);
    packet.FromID = ctx.client.uid();
    Bytes payload;
    packet.writeToMD(payload);
    const auto frame = frameFrom(ctx.client, *room, 63, 0, payload);
    if (packet.ToID == 0) {
        ctx.server.counters().relayed += sendToRoom(*room, frame, &ctx.client);
        return;
    }
    Client* target = participant(ctx, *room, packet.ToID);
    if (!target || target == &ctx.client) return;
    target->send(frame);
    ctx.server.counters().relayed++;
}

}  // namespace

void installPingFeature(Server& server) {
    HandlerRegistry& r = server.mainChannel();
    r.on(55, onContentDone);
    r.on(63, onPing);
}

}  // namespace veltrin::server
