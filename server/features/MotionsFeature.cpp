#include <algorithm>
#include <vector>

#include "server/core/Client.h"
#include "server/core/Payload.h"
#include "server/core/Relay.h"
#include "server/core/Server.h"
#include "server/features/Features.h"

namespace veltrin::server {

namespace {

// Motions a client may show: none, raised hand, smile, clapping, yes, no.
constexpr std::int32_t kNoMotion = 0;
constexpr std::int32_t kHand = 1;
bool isClientMotion(std::int32_t m) { return m == 0 || m == 1 || m == 2 || m == 4 || m == 8 || m == 16; }
// Clients count hands, yes and no motions; these must be taken back when their owner leaves.
bool isCountedMotion(std::int32_t m) { return m == 8 || m == 16 || m == kHand || m > 1000; }

// A raised hand goes out as 1000 + its place in the queue, so every client numbers hands alike.
constexpr std::int32_t kHandBase = 1000;

// Raised hands of a room, earliest first.
struct HandQueue {
    std::vector<std::int32_t> uids;

    std::ptrdiff_t indexOf(std::int32_t uid) const {
        auto it = std::find(uids.begin(), uids.end(), uid);
        return it == uids.end() ? -1 : it - uids.begin();
    }
};

void announceMotion(Server& server, Room& room, Client& client, std::int32_t value) {
    client.session().status.MotionStatus = value;
    Bytes payload;
    VCTools::writeIntMD(payload, value);
    // Everybody, the mover included: a client changes its own motion only when the server says so.
    server.counters().relayed += sendToRoom(room, frameFrom(client, room, 117, 0, payload), nullptr);
}

// The hands from `from` on moved up one place: tell everybody their new numbers.
void renumberFrom(Server& server, Room& room, const HandQueue& queue, std::size_t from) {
    for (std::size_t i = from; i < queue.uids.size(); ++i) {
        Client* c = server.findOnline(queue.uids[i]);
        if (c && c->room() == &room) announceMotion(server, room, *c, kHandBase + static_cast<std::int32_t>(i) + 1);
    }
}

void setMotion(Server& server, Room& room, Client& client, std::int32_t motion) {
    auto& queue = room.extensions().get<HandQueue>();
    const auto index = queue.indexOf(client.uid());
    if (motion == kHand) {
        // Raising a raised hand again keeps its place.
        if (index < 0) queue.uids.push_back(client.uid());
        const auto place = index < 0 ? static_cast<std::int32_t>(queue.uids.size()) : static_cast<std::int32_t>(index) + 1;
        announceMotion(server, room, client, kHandBase + place);
        return;
    }
    announceMotion(server, room, client, motion);
    if (index >= 0) {
        queue.uids.erase(queue.uids.begin() + index);
        renumberFrom(server, room, queue, static_cast<std::size_t>(index));
    }
}

void onMotion(CommandContext& ctx) {
    Room* room = ctx.client.room();
    PayloadReader p(ctx.payload);
    const std::int32_t motion = p.readInt();
    if (!room || !p.complete() || !isClientMotion(motion)) return;
    setMotion(ctx.server, *room, ctx.client, motion);
}

// A moderator sets another participant's motion (taking a hand down, mostly). The resulting
// motion frame is the target's own: clients apply a motion to the frame's user.
void onForceMotion(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !ctx.client.privileged()) return;
    PayloadReader p(ctx.payload);
    const std::int32_t targetUid = p.readInt();
    const std::int32_t motion = p.readInt();
    Client* target = ctx.server.findOnline(targetUid);
    if (!p.complete() || !isClientMotion(motion) || !target || target->room() != room) return;
    setMotion(ctx.server, *room, *target, motion);
}

void onClearMotions(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !ctx.client.privileged()) return;
    room->extensions().get<HandQueue>().uids.clear();
    for (Client* c : room->participants()) c->session().status.MotionStatus = kNoMotion;
    ctx.server.counters().relayed += sendToRoom(*room, frameFrom(ctx.client, *room, 36, 0), nullptr);
}

// Clients keep counting a departed participant's hand or vote unless they see it taken back, and
// the hands behind it move up.
void onLeft(Server& server, Room& room, Client& client) {
    if (isCountedMotion(client.session().status.MotionStatus)) {
        Bytes payload;
        VCTools::writeIntMD(payload, kNoMotion);
        server.counters().relayed += sendToRoom(room, frameFrom(client, room, 117, 0, payload), nullptr);
    }
    client.session().status.MotionStatus = kNoMotion;
    auto& queue = room.extensions().get<HandQueue>();
    if (const auto index = queue.indexOf(client.uid()); index >= 0) {
        queue.uids.erase(queue.uids.begin() + index);
        renumberFrom(server, room, queue, static_cast<std::size_t>(index));
    }
}

}  // namespace

void installMotionsFeature(Server& server) {
    HandlerRegistry& r = server.mainChannel();
    r.on(117, onMotion);
    r.on(167, onForceMotion);
    r.on(36, onClearMotions);
    r.onLeft(onLeft);
}

}  // namespace veltrin::server
