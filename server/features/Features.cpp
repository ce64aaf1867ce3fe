#include "server/features/Features.h"

#include "server/core/Opening.h"
#include "server/core/Relay.h"
#include "server/core/Server.h"

namespace veltrin::server {

void installFeatures(Server& server) {
    server.onSelector(250, [](Server& s, Client& c) { startMainLogOn(s, c); });
    server.mainChannel().setFallback(relayToRoom);

    // Requests the client sends after joining whose answers belong to features not built yet:
    // 121 shared web address (guided browser);
    // 140 breakout status (breakout rooms); 148 (no answer is expected); 95 client system record.
    // They must not be relayed, so they are accepted and dropped until their feature answers them.
    server.mainChannel().ignore({95, 121, 140, 148});

    // Commands only the server originates (log-in and part notices, the second-log-on notice,
    // permission broadcasts, video on/off, room-change notices). Relayed from a client they would
    // let one participant forge another's arrival or departure, or disconnect the whole room.
    server.mainChannel().ignore({12, 13, 33, 45, 46, 47, 48, 107, 108, 136, 153});

    installSessionFeature(server);
    // Motions before participants: a leaver's motion is taken back before its part notice, while
    // the others still know who it belongs to.
    installMotionsFeature(server);
    installParticipantsFeature(server);
    installPermissionsFeature(server);
    installChatFeature(server);
    installPingFeature(server);
    installViewFeature(server);
    installAccountFeature(server);
    installMediaChannelStubs(server);
    installAudioFeature(server);  // after the stubs: replaces their handler of selector 251
    installWhiteboardFeature(server);
}

}  // namespace veltrin::server
