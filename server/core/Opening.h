#pragma once

namespace veltrin::server {

class Server;
class Client;

// The opening every channel shares: the 32-byte version exchange and its answer frame, then the
// 4-byte big-endian channel selector, which hands the connection to the channel registered for
// it (Server::onSelector). The main channel's simple log-on lives here too, since the other
// channels reuse its record.
void startOpening(Server& server, Client& client);

// Main channel after selector 250: the 106-byte simple log-on, answered with the client record,
// then command frames through the main registry.
void startMainLogOn(Server& server, Client& client);

}  // namespace veltrin::server
