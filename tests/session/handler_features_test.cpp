// The values the dispatcher decodes for the whiteboard and screen-sharing code: board snapshots,
// new boards, object updates and screen frames arrive at the controller field by field and byte
// for byte.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeClassroom.h"
#include "handler_support.h"
#include "session/CommandHandler.h"

namespace veltrin::test {
namespace {

class FeaturesTest : public ::testing::Test {
protected:
    void send(int id, int sender, const Bytes& payload, int result = 0) {
        TCommand cmd(id, static_cast<std::uint32_t>(sender), 0, static_cast<std::uint32_t>(payload.size()));
        cmd.Result = static_cast<std::uint16_t>(result);
        handler.HandleInput(cmd, payload);
    }

    FakeClassroom fake;
    CommandHandler handler{fake, 5, 1001};
};

TEST_F(FeaturesTest, BoardSnapshotKeepsEveryFieldImageAndObjectBody) {
    const Bytes snapshot = boardSnapshot(3, "Three", {7, 8}, 4, /*withImage*/ true);
    send(159, 0, snapshot);

    ASSERT_EQ(fake.boards.size(), 1u);
    const TBoardSnapshot& b = fake.boards[0];
    EXPECT_EQ(b.Index, 3);
    EXPECT_TRUE(b.BoardLoaded);
    EXPECT_EQ(b.BoardId, "b-3");
    EXPECT_EQ(b.Title, "Three");
    EXPECT_EQ(b.OriginalW, 800);
    EXPECT_EQ(b.OriginalH, 600);
    EXPECT_EQ(b.BackgroundColor, (TWireColor{255, 255, 255}));
    EXPECT_TRUE(b.MarkupVisible);
    EXPECT_EQ(b.ImageType, 2);
    EXPECT_EQ(b.BackgroundImage, (Bytes{0x89, 'P', 'N', 'G'}));
    ASSERT_EQ(b.Objects.size(), 2u);
    EXPECT_EQ(b.Objects[1].Header.LocalIndex, 8);
    EXPECT_EQ(b.Objects[1].Body, Bytes(4, 0xAB));
    EXPECT_TRUE(b.Complete);
    EXPECT_EQ(b.ConsumedBytes, snapshot.size());
}

TEST_F(FeaturesTest, ServerBoardsWithNonAsciiTitlesEndExactlyAtTheDataSize) {
    // Titles count in UTF-8 bytes, not characters; a count off by one would misread board 2.
    const Bytes boards =
        Payload().raw(boardSnapshot(1, "Überblick", {1})).raw(boardSnapshot(2, "Пример", {}));
    send(79, 0, boards);
    ASSERT_EQ(fake.boards.size(), 2u);
    EXPECT_EQ(fake.boards[0].Title, "Überblick");
    EXPECT_EQ(fake.boards[1].Index, 2);
    EXPECT_EQ(fake.boards[1].Title, "Пример");
    EXPECT_EQ(fake.boards[0].ConsumedBytes + fake.boards[1].ConsumedBytes, boards.size());
}

TEST_F(FeaturesTest, NotLoadedSnapshotCarriesNeitherImageNorObjects) {
    // Header fields, then the object count; nothing after it belongs to this board.
    const Bytes notLoaded = boardHead(4, "Four", false, true).i32(2);
    send(79, 0, Payload().raw(notLoaded).raw(boardSnapshot(5, "Five", {})));
    ASSERT_EQ(fake.boards.size(), 2u);
    EXPECT_FALSE(fake.boards[0].BoardLoaded);
    EXPECT_TRUE(fake.boards[0].HasBgImage);
    EXPECT_TRUE(fake.boards[0].BackgroundImage.empty());
    EXPECT_TRUE(fake.boards[0].Objects.empty());
    EXPECT_EQ(fake.boards[0].ConsumedBytes, notLoaded.size());
    EXPECT_EQ(fake.boards[1].Title, "Five");
}

TEST_F(FeaturesTest, NewBoardWithImage) {
    Payload board;
    board.i32(4).i32(17).i32(3).i32(1024).i32(768);
    board.raw({10, 20, 30, 99}).boolean(true).utf16("   Page 3 of Intro").i32(12);
    board.boolean(true).i32(0x101).i32(3).raw({0xFF, 0xD8, 0xFF});
    send(156, 12, board);
    ASSERT_EQ(fake.newBoards.size(), 1u);
    const TNewBoard& b = fake.newBoards[0];
    EXPECT_EQ(b.PresentationId, 17);
    EXPECT_EQ(b.SlideNo, 3);
    EXPECT_EQ(b.Width, 1024);
    EXPECT_EQ(b.Height, 768);
    EXPECT_EQ(b.Color, (TWireColor{10, 20, 30}));
    EXPECT_EQ(b.Title, "   Page 3 of Intro");
    EXPECT_EQ(b.UserId, 12);
    EXPECT_EQ(b.ImageType, 0x101);
    EXPECT_EQ(b.Image, (Bytes{0xFF, 0xD8, 0xFF}));
}

TEST_F(FeaturesTest, ObjectUpdatesHandOverTheBodyAsSentAndDeletionsNone) {
    TPaintObjectHeader changed;
    changed.UpdateType = 1;
    changed.ObjectSize = 6;
    TPaintObjectHeader deleted;
    deleted.UpdateType = 2;
    const Bytes deletion = Payload().record(deleted);
    ASSERT_EQ(deletion.size(), 21u);

    send(158, 12, Payload().record(changed).raw({1, 2, 3, 4, 5, 6}));
    send(158, 12, deletion);
    ASSERT_EQ(fake.bodies.size(), 2u);
    EXPECT_EQ(fake.bodies[0], (Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(fake.bodies[1].empty());
}

TEST_F(FeaturesTest, ScreenShareStartAndFrame) {
    TAppShareStruct share;
    share.ShareUserId = 12;
    share.PixFrmt = 5;
    share.TargetWidth = 1600;
    share.TargetHeight = 900;
    share.ScaleFactorX = share.ScaleFactorY = 1.8;
    share.ShareUserName = "Ann";
    TAppShareFrame header;
    header.FrameNo = 0;
    header.KeyFrame = true;
    header.FrameSize = 5;

    send(141, 0, Payload().record(share).byte(1));
    send(144, 12, Payload().record(header).raw({9, 8, 7, 6, 5}));
    header.FrameSize = 0;
    send(144, 12, Payload().record(header));  // an empty frame ends at its header

    ASSERT_EQ(fake.shares.size(), 1u);
    EXPECT_EQ(fake.shares[0], share);
    ASSERT_EQ(fake.bodies.size(), 1u);
    EXPECT_EQ(fake.bodies[0], (Bytes{9, 8, 7, 6, 5}));
}

TEST_F(FeaturesTest, RemoteControlButtonStateIsCarriedFromPacketToPacket) {
    TAppShareControlPacket down;
    down.EventType = 1;
    down.Param1 = 32770;
    fake.buttonHeldAfterPacket = true;
    send(147, 12, Payload().record(down));
    fake.buttonHeldAfterPacket = false;
    send(147, 12, Payload().record(down));
    send(147, 12, Payload().record(down));
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"Safe_AppShareRemoteControlPack(1, 32770, false)",
                                                    "Safe_AppShareRemoteControlPack(1, 32770, true)",
                                                    "Safe_AppShareRemoteControlPack(1, 32770, false)"}));
}

}  // namespace
}  // namespace veltrin::test
