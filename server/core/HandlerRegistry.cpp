#include "server/core/HandlerRegistry.h"

namespace veltrin::server {

void HandlerRegistry::on(std::uint16_t commandId, CommandHandlerFn handler) {
    handlers_[commandId] = std::move(handler);
}

void HandlerRegistry::ignore(std::initializer_list<std::uint16_t> commandIds) {
    for (auto id : commandIds) handlers_[id] = [](CommandContext&) {};
}

void HandlerRegistry::setFallback(CommandHandlerFn handler) { fallback_ = std::move(handler); }

void HandlerRegistry::dispatch(CommandContext& context) const {
    if (auto it = handlers_.find(context.command.CommandID); it != handlers_.end()) {
        it->second(context);
    } else if (fallback_) {
        fallback_(context);
    }
}

void HandlerRegistry::notifyJoined(Server& server, Room& room, Client& client) const {
    for (const auto& fn : joined_) fn(server, room, client);
}

void HandlerRegistry::notifyLeft(Server& server, Room& room, Client& client) const {
    for (const auto& fn : left_) fn(server, room, client);
}

}  // namespace veltrin::server
