#pragma once

#include "server/core/Wire.h"
#include "wire/Records.h"

namespace veltrin::server {

class Server;
class Client;
class Room;

// The session records as this server fills them from its configuration and live state.
// Passwords never leave the server: the record's Password field stays empty.
TClientRecord makeClientRecord(const Client& client);
TRoomHeader makeRoomHeader(const Room& room);
TUserItem makeUserItem(const Client& client);
TAccountDataEx makeAccountData(const Server& server, const Client& client);

// The server's time zone as the client reports its own: minutes from UTC with the sign inverted.
std::int32_t serverTimeBias();

}  // namespace veltrin::server
