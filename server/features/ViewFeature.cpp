#include "server/core/Client.h"
#include "server/core/Payload.h"
#include "server/core/Relay.h"
#include "server/core/Server.h"
#include "server/features/Features.h"

namespace veltrin::server {

namespace {

// The view a moderator put the room in (whiteboard, web page, shared screen…); a newcomer asks
// for it after joining.
struct RoomView {
    std::int32_t view = 0;
};

void onSetView(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room || !ctx.client.privileged()) return;
    PayloadReader p(ctx.payload);
    const std::int32_t view = p.readInt();
    if (!p.complete()) return;
    room->extensions().get<RoomView>().view = view;
    Bytes payload;
    VCTools::writeIntMD(payload, view);
    // The moderator's own window switches on this echo too, so everybody changes view together.
    ctx.server.counters().relayed += sendToRoom(*room, frameFrom(ctx.client, *room, 118, 0, payload), nullptr);
}

void onGetView(CommandContext& ctx) {
    Room* room = ctx.client.room();
    if (!room) return;
    Bytes payload;
    VCTools::writeIntMD(payload, room->extensions().get<RoomView>().view);
    ctx.client.sendFrame(119, 0, payload);
}

}  // namespace

void installViewFeature(Server& server) {
    HandlerRegistry& r = server.mainChannel();
    r.on(118, onSetView);
    r.on(119, onGetView);
}

}  // namespace veltrin::server
