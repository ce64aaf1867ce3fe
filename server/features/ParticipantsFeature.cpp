#include "server/core/Client.h"
#include "server/core/Payload.h"
#include "server/core/Relay.h"
#include "server/core/Records.h"
#include "server/core/Server.h"
#include "server/features/Features.h"

namespace veltrin::server {

namespace {

// Microphone states of a status pack: allowed but silent, forbidden, holding a speaking channel.
constexpr std::int32_t kMikeAllowed = 2;
constexpr std::int32_t kMikeForbidden = 3;
constexpr std::int32_t kMikeSpeaking = 4;

constexpr std::int32_t kModerator = 1000;

// Online status values a client may announce: present, away, running the audio test.
constexpr std::int32_t kHighestOnlineStatus = 2;

// The permissions that come with a role. A participant who holds a speaking channel keeps it
// through a change of role, as the clients show it.
void applyRolePermissions(TClientStatusPack& s, bool privileged) {
    if (s.Mike_Status != kMikeSpeaking) s.Mike_Status = privileged ? kMikeAllowed : kMikeForbidden;
    s.Board_BoardAllowed = privileged;
    s.AppShare_Allowed = privileged;
}

// Entering a room starts from the permissions of the participant's role.
void resetStatus(Server&, Room&, Client& client) {
    TClientStatusPack& s = client.session().status;
    s = TClientStatusPack{};
    s.UID = client.uid();
    applyRolePermissions(s, client.privileged());
}

// The others learn of a newcomer with its status, so that they show its permissions at once.
void announceArrival(Server& server, Room& room, Client& client) {
    Bytes payload;
    makeUserItem(client).writeToMD(payload);
    client.session().status.writeToMD(payload);
    server.counters().relayed += sendToRoom(room, frameFrom(client, room, 153, 0, payload), &client);
}

void announceDeparture(Server& server, Room& room, Client& client) {
    server.counters().relayed += sendToRoom(room, frameFrom(client, room, 13, 0), nullptr);
}

void onParticipantList(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room) return;
    // The list opens with an otherwise empty item whose UID is the count.
    TUserItem head;
    head.UID = static_cast<std::int32_t>(room->count());
    Bytes payload;
    head.writeToMD(payload);
    for (const Client* c : room->participants()) makeUserItem(*c).writeToMD(payload);
    ctx.client.sendFrame(2, 0, payload);
}

void onStatusPacks(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room) return;
    Bytes payload;
    for (const Client* c : room->participants()) c->session().status.writeToMD(payload);
    ctx.client.sendFrame(115, 0, payload);
}

// Away and audio-test marks. The sender gets its own status back too: its away switch follows
// what the server announced, not what it asked for.
void onOnlineStatus(CommandContext& ctx) {
    Room* room = ctx.client.room();
    PayloadReader p(ctx.payload);
    const std::int32_t status = p.readByte();
    if (!room || !p.complete() || status > kHighestOnlineStatus) return;
    ctx.client.session().status.OnlineStatus = status;
    const Bytes payload{static_cast<std::uint8_t>(status)};
    ctx.server.counters().relayed += sendToRoom(*room, frameFrom(ctx.client, *room, 64, 0, payload), nullptr);
}

// Promotion and demotion. The role lives in the session, so the participant list, the status packs
// and every later moderator check see it. A demoted administrator promoted again gets its own
// role back rather than a moderator's.
void onToggleModerator(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !ctx.client.privileged()) return;
    PayloadReader p(ctx.payload);
    const std::int32_t targetUid = p.readInt();
    const std::int32_t status = p.readInt();
    Client* target = ctx.server.findOnline(targetUid);
    if (!p.complete() || !target || target->room() != room) return;
    const std::int32_t accountType = target->session().account->userTypeId;
    const std::int32_t newType = status > 0 ? (accountType > 0 ? accountType : kModerator) : 0;
    target->session().userTypeId = newType;
    applyRolePermissions(target->session().status, newType > 0);
    Bytes payload;
    VCTools::writeIntMD(payload, targetUid);
    VCTools::writeIntMD(payload, newType);
    ctx.server.counters().relayed += sendToRoom(*room, frameFrom(ctx.client, *room, 99, 0, payload), nullptr);
}

// A client that receives 60 removes itself from the session, whoever is named in the payload, so
// the command may only reach its target, and only a moderator or administrator may send it. The
// server then ends the target's connection itself rather than trusting the client to leave.
void onKick(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !ctx.client.privileged()) return;
    PayloadReader p(ctx.payload);
    const std::int32_t target = p.readInt();
    Client* victim = ctx.server.findOnline(target);
    if (!p.complete() || !victim || victim == &ctx.client || victim->room() != room) return;
    victim->send(relayedFrame(ctx.client, ctx.command, ctx.payload));
    ctx.server.counters().relayed++;
    victim->closeAfterFlush("removed by " + ctx.client.session().account->userName);
}

}  // namespace

void installParticipantsFeature(Server& server) {
    HandlerRegistry& r = server.mainChannel();
    r.on(2, onParticipantList);
    r.on(115, onStatusPacks);
    r.on(64, onOnlineStatus);
    r.on(99, onToggleModerator);
    r.on(60, onKick);
    r.onJoined(resetStatus);
    r.onJoined(announceArrival);
    r.onLeft(announceDeparture);
}

}  // namespace veltrin::server
