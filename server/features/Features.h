#pragma once

namespace veltrin::server {

class Server;

// Installs every feature into a new server. A feature is a function that registers its command
// handlers, room events and channel selectors; adding one is a new file and a line in
// installFeatures.
void installFeatures(Server& server);

// Log-on follow-ups and the room join: keep-alive, token, speed, time zone, remote ports, join.
void installSessionFeature(Server& server);
// The participant list and status packs, arrival and departure notices, online status, the
// moderator toggle and removal from the session.
void installParticipantsFeature(Server& server);
// Raised hands (a queue per room) and the other motions; clearing and forcing them.
void installMotionsFeature(Server& server);
// Microphone and whiteboard permissions, speaking channels and the room's microphone count.
void installPermissionsFeature(Server& server);
// Text messages and notes, the chat log and its replay, chat and notes status, typing.
void installChatFeature(Server& server);
// Pings and polls, and their content-received acknowledgements.
void installPingFeature(Server& server);
// The room's current view.
void installViewFeature(Server& server);
// Account data and host account type.
void installAccountFeature(Server& server);
// Audio, video and file channels: not served yet, the connection is closed after its selector.
void installMediaChannelStubs(Server& server);
// The audio channel (selector 251): log-on, keep-alive, and voice blocks relayed from the speaker
// who holds the floor to the rest of the room.
void installAudioFeature(Server& server);
// Paint objects, reorders and the pointer relayed to the room, with every board's objects kept.
void installWhiteboardFeature(Server& server);

}  // namespace veltrin::server
