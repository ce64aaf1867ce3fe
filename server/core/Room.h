#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "server/core/Config.h"
#include "server/core/Extensions.h"

namespace veltrin::server {

class Client;

// A classroom and who is in it. Participants are listed in the order they joined; a client is
// in at most one room. Clients remove themselves before they go away, so the pointers are
// always live on the server's thread.
class Room {
public:
    explicit Room(RoomConfig config) : config_(std::move(config)), mikesCount_(config_.mikesCount) {}

    const RoomConfig& config() const { return config_; }
    std::int32_t id() const { return config_.id; }
    // Simultaneous speakers allowed: the configured number until a moderator changes it.
    std::int32_t mikesCount() const { return mikesCount_; }
    void setMikesCount(std::int32_t n) { mikesCount_ = n; }
    const std::vector<Client*>& participants() const { return participants_; }
    std::size_t count() const { return participants_.size(); }
    bool contains(const Client* c) const {
        return std::find(participants_.begin(), participants_.end(), c) != participants_.end();
    }

    void add(Client* c) {
        if (!contains(c)) participants_.push_back(c);
    }
    void remove(const Client* c) { std::erase(participants_, c); }

    Extensions& extensions() { return extensions_; }

private:
    RoomConfig config_;
    std::int32_t mikesCount_;
    std::vector<Client*> participants_;
    Extensions extensions_;
};

}  // namespace veltrin::server
