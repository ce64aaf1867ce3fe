#pragma once

#include <memory>
#include <span>

#include "server/core/HandlerRegistry.h"
#include "server/core/Wire.h"

namespace veltrin::server {

class Client;
class Room;

// The received frame as the other participants get it. UserID is the sender's logged-on uid,
// whatever the frame claimed, so nobody can speak in another participant's name.
std::shared_ptr<const Bytes> relayedFrame(const Client& sender, const TCommand& command,
                                          std::span<const std::uint8_t> payload);

// Queues one frame to everybody in the room except `except`; answers the number of receivers.
std::size_t sendToRoom(Room& room, const std::shared_ptr<const Bytes>& frame, const Client* except);

// The main channel's fallback: the command goes unchanged (but for its UserID) to the other
// participants of the sender's room. Features that need more than that (checks, targeted
// delivery, server-side state) register a handler of their own for the id.
void relayToRoom(CommandContext& context);

}  // namespace veltrin::server
