#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veltrin::wb {

// The boards a participant can choose among, in the order they became known; each item's tag is
// the board index and its title "<board title> (<index>)".
class BoardList {
public:
    struct Item {
        std::int32_t tag = 0;
        std::string title;
        bool operator==(const Item&) const = default;
    };

    static std::string itemTitle(const std::string& boardTitle, std::int32_t index);

    // Appends unless an item with that tag exists; answers whether it was added.
    bool add(const std::string& boardTitle, std::int32_t index);
    // -1 removes items from the end until only the first remains; any other index removes its item.
    void remove(std::int32_t index);
    void clear() { items_.clear(); }

    bool contains(std::int32_t tag) const;
    std::optional<std::size_t> positionOf(std::int32_t tag) const;
    // The tag of the first item whose title is that of `boardTitle` at the item's own index.
    std::optional<std::int32_t> tagByBoardTitle(const std::string& boardTitle) const;
    const std::vector<Item>& items() const { return items_; }

private:
    std::vector<Item> items_;
};

}  // namespace veltrin::wb
