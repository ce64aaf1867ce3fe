#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "server/core/Config.h"

namespace veltrin::server {

// The one-time entry tokens of the configuration. A token opens its room once for the whole
// server's life; using it again is refused.
class TokenBook {
public:
    enum class Outcome { Accepted, AlreadyUsed, Unknown };

    explicit TokenBook(const std::vector<EntryToken>& tokens) {
        for (const auto& t : tokens) entries_[t.value] = Entry{t.roomId, false};
    }

    // A token counts only for the room it was issued for; `roomIndex` is the low 16 bits of the
    // room the client is about to join, as every frame carries it.
    Outcome use(const std::string& value, std::uint16_t roomIndex, std::int32_t& roomId) {
        auto it = entries_.find(value);
        if (it == entries_.end() || static_cast<std::uint16_t>(it->second.roomId) != roomIndex)
            return Outcome::Unknown;
        if (it->second.used) return Outcome::AlreadyUsed;
        it->second.used = true;
        roomId = it->second.roomId;
        return Outcome::Accepted;
    }

private:
    struct Entry {
        std::int32_t roomId;
        bool used;
    };
    std::map<std::string, Entry> entries_;
};

}  // namespace veltrin::server
