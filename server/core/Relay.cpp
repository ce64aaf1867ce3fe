#include "server/core/Relay.h"

#include "server/core/Client.h"
#include "server/core/Room.h"
#include "server/core/Server.h"

namespace veltrin::server {

std::shared_ptr<const Bytes> relayedFrame(const Client& sender, const TCommand& command,
                                          std::span<const std::uint8_t> payload) {
    TCommand header = command;
    header.UserID = static_cast<std::uint32_t>(sender.uid());
    return std::make_shared<const Bytes>(encodeFrame(header, payload));
}

std::shared_ptr<const Bytes> frameFrom(const Client& origin, const Room& room, std::uint16_t commandId,
                                       std::uint16_t result, std::span<const std::uint8_t> payload) {
    TCommand header(commandId, static_cast<std::uint32_t>(origin.uid()), room.id());
    header.Result = result;
    return std::make_shared<const Bytes>(encodeFrame(header, payload));
}

std::size_t sendToRoom(Room& room, const std::shared_ptr<const Bytes>& frame, const Client* except) {
    std::size_t n = 0;
    // Sending can drop a receiver whose backlog is full, which takes it out of the room: walk a
    // copy of the list.
    const std::vector<Client*> receivers = room.participants();
    for (Client* c : receivers) {
        if (c == except || !room.contains(c)) continue;
        c->send(frame);
        ++n;
    }
    return n;
}

void relayToRoom(CommandContext& context) {
    Room* room = context.client.room();
    if (!room) return;
    const auto n = sendToRoom(*room, relayedFrame(context.client, context.command, context.payload), &context.client);
    context.server.counters().relayed += n;
}

}  // namespace veltrin::server
