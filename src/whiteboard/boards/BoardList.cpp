#include "whiteboard/boards/BoardList.h"

#include <algorithm>

namespace veltrin::wb {

std::string BoardList::itemTitle(const std::string& boardTitle, std::int32_t index) {
    return boardTitle + " (" + std::to_string(index) + ")";
}

bool BoardList::add(const std::string& boardTitle, std::int32_t index) {
    if (contains(index)) return false;
    items_.push_back({index, itemTitle(boardTitle, index)});
    return true;
}

void BoardList::remove(std::int32_t index) {
    if (index == -1) {
        if (items_.size() > 1) items_.resize(1);
        return;
    }
    std::erase_if(items_, [&](const Item& item) { return item.tag == index; });
}

bool BoardList::contains(std::int32_t tag) const { return positionOf(tag).has_value(); }

std::optional<std::size_t> BoardList::positionOf(std::int32_t tag) const {
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const Item& item) { return item.tag == tag; });
    if (it == items_.end()) return std::nullopt;
    return static_cast<std::size_t>(it - items_.begin());
}

std::optional<std::int32_t> BoardList::tagByBoardTitle(const std::string& boardTitle) const {
    for (const Item& item : items_) {
        if (itemTitle(boardTitle, item.tag) == item.title) return item.tag;
    }
    return std::nullopt;
}

}  // namespace veltrin::wb
