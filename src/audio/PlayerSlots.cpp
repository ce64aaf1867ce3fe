#include "audio/PlayerSlots.h"

namespace veltrin::audio {

int PlayerSlots::slotFor(std::uint32_t uid) {
    for (int i = 0; i < kCount; ++i)
        if (present_[static_cast<std::size_t>(i)] && uids_[static_cast<std::size_t>(i)] == uid) return i;
    for (int i = 0; i < kCount; ++i) {
        if (present_[static_cast<std::size_t>(i)] && uids_[static_cast<std::size_t>(i)] == 0) {
            uids_[static_cast<std::size_t>(i)] = uid;
            return i;
        }
    }
    if (!present_[0]) return -1;
    uids_[0] = uid;
    return 0;
}

void PlayerSlots::clear() {
    uids_ = {};
    present_ = {};
}

}  // namespace veltrin::audio
