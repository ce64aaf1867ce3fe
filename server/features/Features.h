#pragma once

namespace veltrin::server {

class Server;

// Installs every feature into a new server. A feature is a function that registers its command
// handlers, room events and channel selectors; adding one is a new file and a line in
// installFeatures.
void installFeatures(Server& server);

// Log-on follow-ups and the room join: keep-alive, token, speed, time zone, remote ports, join.
void installSessionFeature(Server& server);
// The participant list, the participants' status packs and removal from the session.
void installParticipantsFeature(Server& server);
// Account data and host account type.
void installAccountFeature(Server& server);
// Audio, video and file channels: not served yet, the connection is closed after its selector.
void installMediaChannelStubs(Server& server);

}  // namespace veltrin::server
