#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <unordered_map>
#include <vector>

#include "server/core/Wire.h"

namespace veltrin::server {

class Server;
class Client;
class Room;

// One received command frame on its way through the server. Lives for one dispatch; the
// payload points into the connection's receive buffer.
struct CommandContext {
    Server& server;
    Client& client;
    const TCommand& command;
    std::span<const std::uint8_t> payload;
};

using CommandHandlerFn = std::function<void(CommandContext&)>;
using RoomEventFn = std::function<void(Server&, Room&, Client&)>;

// CommandID → handler for one channel's command frames. Each feature installs its handlers
// here (see server/features); ids without a handler go to the fallback, which on the main
// channel relays them to the rest of the room. Room events let a feature act when somebody
// enters or leaves a room, in the order the features were installed.
class HandlerRegistry {
public:
    // Replaces any handler the id had: a later, more specific feature wins over a generic one.
    void on(std::uint16_t commandId, CommandHandlerFn handler);
    // Requests that are accepted and deliberately left unanswered (neither handled nor relayed).
    void ignore(std::initializer_list<std::uint16_t> commandIds);
    void setFallback(CommandHandlerFn handler);

    bool handles(std::uint16_t commandId) const { return handlers_.contains(commandId); }
    void dispatch(CommandContext& context) const;

    void onJoined(RoomEventFn fn) { joined_.push_back(std::move(fn)); }
    void onLeft(RoomEventFn fn) { left_.push_back(std::move(fn)); }
    void notifyJoined(Server& server, Room& room, Client& client) const;
    void notifyLeft(Server& server, Room& room, Client& client) const;

private:
    std::unordered_map<std::uint16_t, CommandHandlerFn> handlers_;
    CommandHandlerFn fallback_;
    std::vector<RoomEventFn> joined_;
    std::vector<RoomEventFn> left_;
};

}  // namespace veltrin::server
