// Payloads a broken or hostile peer might send: counts and sizes far beyond the bytes present, and
// random bytes under every command id. The dispatcher must take what is there, allocate nothing
// for what is not, and go on with the next frame.

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "FakeClassroom.h"
#include "handler_support.h"
#include "session/CommandHandler.h"

namespace veltrin::test {
namespace {

struct HostileCase {
    std::string name;
    int id;
    Bytes payload;
    std::vector<std::string> expected;
};

std::vector<HostileCase> hostileCases() {
    TPaintObjectHeader object;
    object.ObjectSize = INT_MAX;
    TAppShareFrame frame;
    frame.FrameSize = INT_MAX;
    const Bytes hugeBoard = boardHead(1, "Big", true, true).i32(2).i32(INT_MAX).raw({1, 2, 3});
    return {
        {"UserListClaimsAMillion",
         2,
         Payload().record(userItem(1'000'000, "")).record(userItem(20, "A")).record(userItem(21, "B")),
         {"Safe_AddUserItem(20)", "Safe_AddUserItem(21)", "Safe_UpdateUserListView(true)"}},
        {"UserListWithCutOffItem",
         2,
         Payload().record(userItem(2, "")).record(userItem(20, "A")).raw(Bytes(100, 0x41)),
         {"Safe_AddUserItem(20)", "Safe_UpdateUserListView(true)"}},
        {"DocsClaimIntMax",
         18,
         Payload().record(fileInfo(INT_MAX, "")).record(fileInfo(1, "a")),
         {"Safe_LoadSharedDocs([a])"}},
        {"LinksClaimIntMaxWithNone", 24, Payload().i32(INT_MAX), {"Safe_LoadInternetLinks([])"}},
        {"PresentationsNegativeCount",
         49,
         Payload().i32(0).i32(-5).raw(Bytes(1028, 0)),
         {"Safe_LoadPresentations([])"}},
        {"RoomsWithCutOffHeader",
         134,
         Payload().record(roomHeader(1, "A")).raw(Bytes(700, 0)),
         {"Safe_ListTempRooms([1])"}},
        {"RoomUsersWithCutOffRecord",
         135,
         Payload().i32(7).record(clientRecord(20)).raw(Bytes(500, 0)),
         {"Safe_ListRoomUsers(7, [20])"}},
        {"ChatLogNameClaimsTwoGigabytes", 162, Payload().i32(INT_MAX).raw({'A', 'n', 'n'}), {}},
        {"ChatLogFrameCutOff", 162, Payload().intString("Ann").raw(Bytes(10, 0)), {}},
        // The single-board answer is one record: a cut-off one is still handed over.
        {"BoardImageClaimsTwoGigabytes", 159, hugeBoard, {"Safe_LoadSingleBoard(1, \"Big\", 0)"}},
        // In the multi-board answer a cut-off snapshot is dropped.
        {"ServerBoardsImageClaimsTwoGigabytes", 79, hugeBoard, {}},
        {"ServerBoardsWithCutOffSecond",
         79,
         Payload().raw(boardSnapshot(1, "One", {1})).raw({1, 2, 3, 4, 5}),
         {"Safe_LoadServerBoard(1, \"One\", 1)"}},
        {"ObjectBodyClaimsTwoGigabytes",
         158,
         Payload().record(object).raw({1, 2}),
         {"Safe_PaintXObject(0, 0, 0, 0, 2)"}},
        {"FrameClaimsTwoGigabytes",
         144,
         Payload().record(frame).raw(Bytes(10, 7)),
         {"Safe_AppShareFrame(0, false, 10)"}},
        {"StatusPacksOnlyPartOfOne", 115, Bytes(14, 0xFF), {"Safe_UpdateUserListView(true)"}},
    };
}

TEST(HostilePayloads, TakeWhatIsThereAndNothingMore) {
    const LogCapture quiet;
    for (const HostileCase& c : hostileCases()) {
        SCOPED_TRACE(c.name);
        FakeClassroom fake;
        CommandHandler handler(fake, 5, 1001);
        handler.HandleInput(TCommand(c.id, 12, 0, static_cast<std::uint32_t>(c.payload.size())), c.payload);
        EXPECT_EQ(fake.calls, c.expected);
    }
}

TEST(HostilePayloads, ManyObjectsClaimedFewPresent) {
    // One object present, two billion announced: exactly the one arrives.
    Bytes board = boardSnapshot(1, "One", {9});
    const std::size_t countAt = board.size() - (21 + 3) - 4;
    board[countAt] = 0xFF;
    board[countAt + 1] = 0xFF;
    board[countAt + 2] = 0xFF;
    board[countAt + 3] = 0x7F;
    FakeClassroom fake;
    CommandHandler handler(fake, 5, 1001);
    handler.HandleInput(TCommand(159, 0, 0, static_cast<std::uint32_t>(board.size())), board);
    ASSERT_EQ(fake.boards.size(), 1u);
    EXPECT_EQ(fake.boards[0].ObjectCount, INT_MAX);
    ASSERT_EQ(fake.boards[0].Objects.size(), 1u);
    EXPECT_EQ(fake.boards[0].Objects[0].Header.LocalIndex, 9);
    EXPECT_FALSE(fake.boards[0].Complete);
}

TEST(HostilePayloads, RandomBytesUnderEveryIdLeaveTheNextFrameIntact) {
    const LogCapture quiet;
    std::mt19937 random(20150301);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 3000);
    FakeClassroom fake;
    fake.addUser(12, "Ann");
    CommandHandler handler(fake, 5, 1001);
    for (int id = 0; id <= 170; ++id) {
        for (int round = 0; round < 8; ++round) {
            Bytes payload(static_cast<std::size_t>(length(random)));
            for (auto& b : payload) b = static_cast<std::uint8_t>(byte(random));
            TCommand cmd(id, 12, 0, static_cast<std::uint32_t>(payload.size()));
            cmd.Result = static_cast<std::uint16_t>(round % 2);
            handler.HandleInput(cmd, payload);
            handler.HandleInput(TCommand(36, 12, 0), {});
            ASSERT_EQ(fake.calls.back(), "Safe_ClearMotions()") << "id " << id << " round " << round;
        }
    }
}

}  // namespace
}  // namespace veltrin::test
