#pragma once

#include <array>
#include <cstdint>

namespace veltrin::audio {

// Which of the five players plays which speaker. A slot keeps its speaker until another speaker
// takes slot 0 over (when every slot is taken) or the channel is disconnected; slots are never
// given back otherwise, so a speaker who pauses keeps the same player.
class PlayerSlots {
public:
    static constexpr int kCount = 5;

    // _getPlayerByUid: the slot already playing `uid`, else the first free one, else slot 0.
    // Only slots marked present (a player exists there) are considered; -1 when none is.
    int slotFor(std::uint32_t uid);
    void setPresent(int slot, bool present) { present_[static_cast<std::size_t>(slot)] = present; }
    std::uint32_t uidOf(int slot) const { return uids_[static_cast<std::size_t>(slot)]; }
    void clear();

private:
    std::array<std::uint32_t, kCount> uids_{};  // 0: free
    std::array<bool, kCount> present_{};
};

}  // namespace veltrin::audio
