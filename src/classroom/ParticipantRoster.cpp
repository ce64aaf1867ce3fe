#include "ParticipantRoster.h"

#include <algorithm>

namespace veltrin {

void ParticipantRoster::add(const TUserItem& item) {
    if (TUserItem* existing = find(item.UID)) {
        *existing = item;
        return;
    }
    items_.push_back(item);
}

bool ParticipantRoster::remove(int uid) {
    const auto it = std::find_if(items_.begin(), items_.end(), [uid](const TUserItem& u) { return u.UID == uid; });
    if (it == items_.end()) return false;
    items_.erase(it);
    return true;
}

const TUserItem* ParticipantRoster::find(int uid) const {
    const auto it = std::find_if(items_.begin(), items_.end(), [uid](const TUserItem& u) { return u.UID == uid; });
    return it == items_.end() ? nullptr : &*it;
}

TUserItem* ParticipantRoster::find(int uid) {
    const auto it = std::find_if(items_.begin(), items_.end(), [uid](const TUserItem& u) { return u.UID == uid; });
    return it == items_.end() ? nullptr : &*it;
}

bool ParticipantRoster::modify(int uid, const std::function<void(TUserItem&)>& change) {
    TUserItem* item = find(uid);
    if (item == nullptr) return false;
    change(*item);
    return true;
}

}  // namespace veltrin
