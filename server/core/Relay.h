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

// A frame the server composes on behalf of `origin` (a relay after checks, or an event the
// server derives from what `origin` did): UserID is origin's uid, RoomIndex the room's. The room
// is explicit because a participant on its way out is no longer in it.
std::shared_ptr<const Bytes> frameFrom(const Client& origin, const Room& room, std::uint16_t commandId,
                                       std::uint16_t result, std::span<const std::uint8_t> payload = {});

// Queues one frame to everybody in the room except `except` (nullptr: to everybody); answers the
// number of receivers.
std::size_t sendToRoom(Room& room, const std::shared_ptr<const Bytes>& frame, const Client* except);

// The main channel's fallback: the command goes unchanged (but for its UserID) to the other
// participants of the sender's room. Features that need more than that (checks, targeted
// delivery, server-side state) register a handler of their own for the id.
void relayToRoom(CommandContext& context);

}  // namespace veltrin::server
