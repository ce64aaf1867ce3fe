#include <gtest/gtest.h>

#include <thread>

#include "whiteboard/PaintObjectList.h"

using namespace veltrin;
using namespace veltrin::wb;

namespace {

TPaintObjectHeader headerOf(std::int32_t uid, std::int32_t localIndex, std::int32_t updateType) {
    TPaintObjectHeader h;
    h.UserId = uid;
    h.LocalIndex = localIndex;
    h.UpdateType = updateType;
    h.BoardIndex = 4;
    return h;
}

Bytes bodyOf(std::int32_t uid, std::int32_t localIndex, std::int32_t x) {
    TPaintObject o(uid, localIndex, 4);
    o.FTyp = kRectangle;
    o.FX = x;
    o.FX2 = x + 10;
    return o.bodyBytes(true, 2);
}

std::vector<std::pair<int, int>> identities(const PaintObjectList& list) {
    std::vector<std::pair<int, int>> ids;
    list.forEachObject([&](const TPaintObject& o) { ids.emplace_back(o.FUserID, o.FObjectID); });
    return ids;
}

}  // namespace

TEST(PaintObjectList, LocalIdsStartAtOneAndRemoteIndicesRaiseTheCounter) {
    PaintObjectList list(4);
    EXPECT_EQ(list.newObjectId(), 1);
    for (int i = 0; i < 6; ++i) list.newObjectId();
    EXPECT_EQ(list.currentLocalId(), 7);

    EXPECT_EQ(list.applyObjectUpdate(headerOf(202, 40, 0), bodyOf(202, 40, 5)), PaintObjectList::RemoteChange::Added);
    EXPECT_EQ(list.currentLocalId(), 41);
    EXPECT_EQ(list.newObjectId(), 42);
    // A lower index leaves the counter alone.
    list.applyObjectUpdate(headerOf(202, 3, 0), bodyOf(202, 3, 5));
    EXPECT_EQ(list.currentLocalId(), 42);
}

TEST(PaintObjectList, UpdatesCreateOrChangeAndDeletesOfUnknownObjectsDoNothing) {
    PaintObjectList list(4);
    // A change of an object never seen creates it, on top, on this board.
    EXPECT_EQ(list.applyObjectUpdate(headerOf(1, 1, 1), bodyOf(1, 1, 5)), PaintObjectList::RemoteChange::Added);
    EXPECT_EQ(list.applyObjectUpdate(headerOf(2, 1, 0), bodyOf(2, 1, 6)), PaintObjectList::RemoteChange::Added);
    EXPECT_EQ(identities(list), (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}}));
    EXPECT_EQ(list.find(2, 1)->FBorardIndex, 4);

    EXPECT_EQ(list.applyObjectUpdate(headerOf(1, 1, 1), bodyOf(1, 1, 77)), PaintObjectList::RemoteChange::Updated);
    EXPECT_EQ(list.find(1, 1)->FX, 77);
    EXPECT_EQ(list.size(), 2u);

    EXPECT_EQ(list.applyObjectUpdate(headerOf(9, 9, 2), {}), PaintObjectList::RemoteChange::None);
    EXPECT_EQ(list.applyObjectUpdate(headerOf(1, 1, 3), bodyOf(1, 1, 1)), PaintObjectList::RemoteChange::None);
    EXPECT_EQ(list.size(), 2u);

    list.setSelected(list.find(1, 1));
    EXPECT_EQ(list.applyObjectUpdate(headerOf(1, 1, 2), {}), PaintObjectList::RemoteChange::Removed);
    EXPECT_EQ(list.selected(), nullptr);
    EXPECT_EQ(identities(list), (std::vector<std::pair<int, int>>{{2, 1}}));
}

TEST(PaintObjectList, ReorderNegativeToFrontAnyOtherToBack) {
    PaintObjectList list(4);
    for (int i = 1; i <= 3; ++i) list.applyObjectUpdate(headerOf(1, i, 0), bodyOf(1, i, i));
    using Ids = std::vector<std::pair<int, int>>;
    EXPECT_TRUE(list.applyReorder(1, -1, 1));
    EXPECT_EQ(identities(list), (Ids{{1, 2}, {1, 3}, {1, 1}}));
    EXPECT_TRUE(list.applyReorder(1, 5, 1));
    EXPECT_EQ(identities(list), (Ids{{1, 1}, {1, 2}, {1, 3}}));
    EXPECT_TRUE(list.applyReorder(3, 0, 1));
    EXPECT_EQ(identities(list), (Ids{{1, 3}, {1, 1}, {1, 2}}));
    EXPECT_FALSE(list.applyReorder(3, 0, 2));  // same index, other owner: unknown
    EXPECT_EQ(identities(list), (Ids{{1, 3}, {1, 1}, {1, 2}}));
}

TEST(PaintObjectList, HitTestWidensTheNormalisedRectangle) {
    PaintObjectList list;
    auto below = std::make_shared<TPaintObject>(1, 1, 0);
    below->FX = 200, below->FY = 200, below->FX2 = 100, below->FY2 = 100;  // dragged up-left
    auto above = std::make_shared<TPaintObject>(1, 2, 0);
    above->FX = 150, above->FY = 150, above->FX2 = 300, above->FY2 = 300;
    list.append(below);
    list.append(above);
    EXPECT_EQ(list.topmostAt(92, 120, 10), below);   // 8 units left
    EXPECT_EQ(list.topmostAt(89, 120, 10), nullptr);  // 11 units left
    EXPECT_EQ(list.topmostAt(160, 160, 10), above);   // both: the topmost wins
    EXPECT_EQ(list.topmostAt(97, 120, 2), nullptr);
}

TEST(PaintObjectList, ReaderThreadAppendsWhileMainThreadWalks) {
    PaintObjectList list;
    std::thread reader([&] {
        for (int i = 1; i <= 500; ++i) list.applyObjectUpdate(headerOf(3, i, 0), bodyOf(3, i, i));
    });
    std::size_t seen = 0;
    while (seen < 500) {
        std::size_t n = 0;
        list.forEachObject([&](const TPaintObject&) { ++n; });
        EXPECT_GE(n, seen);
        seen = n;
    }
    reader.join();
    EXPECT_EQ(list.currentLocalId(), 501);
}
