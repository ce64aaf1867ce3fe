#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "wire/Records.h"

namespace veltrin {

// The participants of the room in the order they arrived. Main thread only. A participant who is
// announced again replaces the earlier entry, so a reconnecting user never appears twice.
class ParticipantRoster {
public:
    void add(const TUserItem& item);
    bool remove(int uid);
    void clear() { items_.clear(); }

    const TUserItem* find(int uid) const;
    TUserItem* find(int uid);
    // Runs `change` on the participant; false for an unknown uid.
    bool modify(int uid, const std::function<void(TUserItem&)>& change);

    const std::vector<TUserItem>& items() const { return items_; }
    std::size_t size() const { return items_.size(); }

private:
    std::vector<TUserItem> items_;
};

}  // namespace veltrin
