#include "server/core/Client.h"
#include "server/core/Payload.h"
#include "server/core/Relay.h"
#include "server/core/Records.h"
#include "server/core/Server.h"
#include "server/features/Features.h"

namespace veltrin::server {

namespace {

// Microphone states of a status pack: allowed but silent, forbidden.
constexpr std::int32_t kMikeAllowed = 2;
constexpr std::int32_t kMikeForbidden = 3;

// Entering a room starts from the permissions of the participant's role.
void resetStatus(Server&, Room&, Client& client) {
    const bool privileged = client.session().account->userTypeId > 0;
    TClientStatusPack& s = client.session().status;
    s = TClientStatusPack{};
    s.UID = client.uid();
    s.Mike_Status = privileged ? kMikeAllowed : kMikeForbidden;
    s.Board_BoardAllowed = privileged;
    s.AppShare_Allowed = privileged;
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

// A client that receives 60 removes itself from the session, whoever is named in the payload, so
// the command may only reach its target, and only a moderator or administrator may send it. The
// server then ends the target's connection itself rather than trusting the client to leave.
void onKick(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || ctx.client.session().account->userTypeId <= 0) return;
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
    r.on(60, onKick);
    r.onJoined(resetStatus);
}

}  // namespace veltrin::server
