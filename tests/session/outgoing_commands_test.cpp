#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "connector_test_support.h"
#include "session/OutgoingCommands.h"
#include "wire/AppShareRecords.h"
#include "wire/ClientSystemRecord.h"
#include "wire/FileInfo.h"
#include "wire/PingPacket.h"

namespace veltrin::test {
namespace {

constexpr std::int32_t kUid = 5;
// Only the low 16 bits (300) travel as RoomIndex.
constexpr std::int32_t kRid = 0x1012C;
constexpr std::uint16_t kRoomIndex = 300;
constexpr double kNow = 45000.75;

struct Case {
    const char* name;
    std::function<void(OutgoingCommands&)> send;
    std::uint16_t id;
    Bytes payload;
    int dataSize = -1;  // stated where the expected size is itself a point of the case
};

TFileInfo sampleFile() {
    TFileInfo file;
    file.ID = 9;
    file.FileName = "notes.pdf";
    file.OriginalName = "Notes.pdf";
    file.FileSize = 2048;
    file.FileType = ".pdf";
    file.Comment1 = "c";
    file.UploadUser = "Ann";
    file.UploadDateTime = 45000.5;
    file.CustomData = 3;
    return file;
}

Bytes sampleFileBytes() {
    return ByteBuilder()
        .le32(9)
        .fixed("notes.pdf", 200)
        .fixed("Notes.pdf", 200)
        .le32(2048)
        .fixed(".pdf", 20)
        .fixed("c", 200)
        .fixed("Ann", 128)
        .f64(45000.5)
        .le32(3);
}

Bytes webFileBytes(std::string_view address, std::string_view comment, std::string_view user, double date) {
    return ByteBuilder()
        .le32(0)
        .fixed(address, 200)
        .fixed(address, 200)
        .le32(0)
        .fixed("WWW", 20)
        .fixed(comment, 200)
        .fixed(user, 128)
        .f64(date)
        .le32(0);
}

TPingPacket samplePoll() {
    TPingPacket p;
    p.ID = 4;
    p.FromID = 5;
    p.ToID = 0;
    p.PingType = 2;
    p.MustReply = true;
    p.MultipleAnswers = false;
    p.AnswerMask = 0b101;
    p.Text = "Ready?";
    return p;
}

TAppShareStruct sampleShare() {
    TAppShareStruct s;
    s.ShareUserId = 5;
    s.PixFrmt = 6;
    s.SourceWidth = 2880;
    s.SourceHeight = 1800;
    s.TargetWidth = 1600;
    s.TargetHeight = 1000;
    s.ScaleFactorX = 1.8;
    s.ScaleFactorY = 1.8;
    s.CompressionLevel = 9;
    s.PiecesPerLine = 5;
    s.FrameInterval = 250;
    s.ShareUserName = "Ann Lee";
    s.ShareTitle = "My Screen";
    return s;
}

const std::string k60Chars = std::string(30, 'a') + std::string(30, 'b');
const std::string kToken = "5a1c9e37-b2d4-4f86-a3e1-7c9d2b6f8e42";

std::vector<Case> catalogue() {
    TAppShareFrame frameHeader;
    frameHeader.FrameNo = 3;
    frameHeader.XorFrame = true;
    frameHeader.FrameSize = 999;  // replaced by the body's length
    TAppShareControlPacket click;
    click.EventType = 1;
    click.Param1 = 32770;
    click.Param2 = 65535;
    click.Param3 = 65535;

    return {
        // session and participants
        {"SimpleCommand", [](auto& c) { c.send_SimpleCommand(2); }, 2, {}},
        {"KeepAlive", [](auto& c) { c.send_KeepAlive(); }, 57, {}, 0},
        {"JoinVirtualRoom", [](auto& c) { c.send_JoinVirtualRoom(1234); }, 75, ByteBuilder().le32(1234), 4},
        {"Token", [](auto& c) { c.send_Token("abc"); }, 164, ByteBuilder().intString("abc")},
        {"Token36", [](auto& c) { c.send_Token(kToken); }, 164, ByteBuilder().intString(kToken), 40},
        {"ConnectionSpeed", [](auto& c) { c.send_ConnectionSpeedBytesIn(1000, 2000); }, 154,
         ByteBuilder().le32(1000).le32(2000), 8},
        {"NeedRemotePorts", [](auto& c) { c.send_NeedRemotePorts(); }, 113, {}},
        {"OnlineStatus", [](auto& c) { c.send_OnlineStatus(1); }, 64, ByteBuilder().u8(1), 1},
        {"Motion", [](auto& c) { c.send_Motion(8); }, 117, ByteBuilder().le32(8)},
        {"ForceUserMotion", [](auto& c) { c.send_ForceUserMotion(12, 16); }, 167, ByteBuilder().le32(12).le32(16)},
        {"SetModeratorStatus", [](auto& c) { c.send_SetModeratorStatusOfUser(12, 1); }, 99,
         ByteBuilder().le32(12).le32(1)},
        {"MicYes", [](auto& c) { c.send_SetMicPermissionToUser(12, true); }, 41, ByteBuilder().le32(12)},
        {"MicNo", [](auto& c) { c.send_SetMicPermissionToUser(12, false); }, 43, ByteBuilder().le32(12)},
        {"BoardYes", [](auto& c) { c.send_SetBoardPermissionToUser(12, true); }, 42, ByteBuilder().le32(12)},
        {"BoardNo", [](auto& c) { c.send_SetBoardPermissionToUser(12, false); }, 44, ByteBuilder().le32(12)},
        {"KickLongReason", [](auto& c) { c.send_KickUser(12, k60Chars); }, 60,
         ByteBuilder().le32(12).fixed(k60Chars.substr(0, 49), 49), 54},
        {"NumberOfMikes", [](auto& c) { c.send_SetNumberOfMikes(3); }, 125, ByteBuilder().le32(3)},
        {"Typing", [](auto& c) { c.send_TypingNotification(1); }, 151, ByteBuilder().le32(1)},
        {"ContentDone", [](auto& c) { c.send_ContentDoneToUid(12); }, 55, ByteBuilder().le32(12)},
        {"CurrentView", [](auto& c) { c.send_SetCurrentView(2); }, 118, ByteBuilder().le32(2)},
        // chat, notes and polls
        {"TextHi", [](auto& c) { c.send_TextMessage("Hi", 0, 0); }, 130,
         ByteBuilder().le32(kUid).le32(0).le16(kRoomIndex).le16(0).le16(10).le32(0).raw(
             std::string_view("H\0i\0\r\0\n\0\0\0\0", 11)),
         29},
        {"NotesHi", [](auto& c) { c.send_TextMessage("Hi", 7, 1); }, 131,
         ByteBuilder().le32(kUid).le32(7).le16(kRoomIndex).le16(1).le16(10).le32(0).raw(
             std::string_view("H\0i\0\r\0\n\0\0\0\0", 11)),
         29},
        {"ChatPermissions", [](auto& c) { c.send_SetChatPermissions(1); }, 129, ByteBuilder().le32(1)},
        {"NotesPermissions", [](auto& c) { c.send_SetNotesPermissions(0); }, 138, ByteBuilder().le32(0)},
        {"PingPacket", [](auto& c) { c.send_PingPacket(samplePoll()); }, 63,
         ByteBuilder().le32(4).le32(5).le32(0).le16(2).u8(1).u8(0).le32(5).fixed("Ready?", 200), 221},
        {"PollResult", [](auto& c) { c.send_PollResultToUserId(12, 3); }, 66, ByteBuilder().le32(12).le32(3)},
        // breakout rooms
        {"LoadBreakoutRooms", [](auto& c) { c.send_LoadBreakoutRooms(); }, 134, {}},
        {"ListUsersOfRoom", [](auto& c) { c.send_ListUsersOfRoomId(77); }, 135, ByteBuilder().le32(77)},
        {"CreateBreakoutRoom", [](auto& c) { c.send_CreateBreakoutRoom("Room A"); }, 133,
         ByteBuilder().fixed("Room A", 199), 200},
        {"PlaceUser", [](auto& c) { c.send_PlaceUserId(12, 77); }, 137, ByteBuilder().le32(12).le32(77)},
        // recorder
        {"StartRecorder", [](auto& c) { c.send_StartRecorder("Session Recorder (Robot)"); }, 96,
         ByteBuilder().fixed("Session Recorder (Robot)", 250).u8(0).zeros(44), 296},
        {"StopRecorder", [](auto& c) { c.send_StopRecorder(); }, 97, {}},
        {"PauseRecorder", [](auto& c) { c.send_PauseRecorder(); }, 98, {}},
        // library and shared content
        {"PresentationsTagBytes", [](auto& c) { c.send_LoadPresentationsWithTag("\xC3\xA9t\xC3\xA9", 0); }, 49,
         ByteBuilder().le32(0).intString("\xC3\xA9t\xC3\xA9"), 13},
        {"SharedDocs", [](auto& c) { c.send_LoadSharedDocs(); }, 18, {}},
        {"InternetLinks", [](auto& c) { c.send_LoadInternetLinks(); }, 24, {}},
        {"UploadLink", [](auto& c) { c.send_UploadInternetLink("example.com/x", "Ann"); }, 25,
         webFileBytes("example.com/x", "example.com/x", "Ann", kNow), 773},
        {"DeleteDocument", [](auto& c) { c.send_DeleteResource(sampleFile(), 0); }, 38, sampleFileBytes(), 773},
        {"DeleteWebLink", [](auto& c) { c.send_DeleteResource(sampleFile(), 2); }, 40, sampleFileBytes()},
        {"DeletePresentation", [](auto& c) { c.send_DeleteResource(sampleFile(), 4); }, 58, sampleFileBytes()},
        {"ForceDocument", [](auto& c) { c.send_ForceContent(sampleFile(), 0); }, 30, sampleFileBytes()},
        {"ForceWebAddress", [](auto& c) { c.send_ForceContent(sampleFile(), 2); }, 32, sampleFileBytes()},
        {"URL", [](auto& c) { c.send_URL("https://x.org"); }, 32, webFileBytes("https://x.org", "", "Ann Lee", 0)},
        // whiteboards
        {"GetBoardView", [](auto& c) { c.send_GetBoardView(); }, 119, ByteBuilder().le32(0)},
        {"LoadServerBoards", [](auto& c) { c.send_LoadServerBoards(true); }, 79, ByteBuilder().u8(1)},
        {"LoadSingleBoard", [](auto& c) { c.send_LoadSingleBoard(3); }, 159, ByteBuilder().le32(3)},
        {"SetActiveBoard", [](auto& c) { c.send_SetActiveBoard(3); }, 82, ByteBuilder().le32(3)},
        {"Rotate", [](auto& c) { c.send_RotateWhiteboard(3, 0x0302); }, 165, ByteBuilder().le32(3).le32(0x0302)},
        {"Clear", [](auto& c) { c.send_ClearWhiteboard(3, 2); }, 80, ByteBuilder().le32(3).le32(2)},
        {"CreateBoardPlain",
         [](auto& c) { c.send_CreateXBoard("T\xC3\xB6", 800, 600, {1.0, 0.5, 0.0}, true, {}); }, 156,
         ByteBuilder()
             .le32(0).le32(0).le32(0).le32(800).le32(600)
             .u8(0xFF).u8(0x7F).u8(0).u8(0)
             .u8(1)
             .le32(6).u8('T').u8(0).u8(0xF6).u8(0).u8(0).u8(0)
             .le32(kUid)
             .u8(0),
         40},
        {"CreateBoardImage",
         [](auto& c) {
             const Bytes jpeg{0xFF, 0xD8, 0xD9};
             c.send_CreateXBoard("T\xC3\xB6", 800, 600, {0.0, 0.0, 1.0}, false, jpeg);
         },
         156,
         ByteBuilder()
             .le32(0).le32(0).le32(0).le32(800).le32(600)
             .u8(0).u8(0).u8(0xFF).u8(0)
             .u8(0)
             .le32(6).u8('T').u8(0).u8(0xF6).u8(0).u8(0).u8(0)
             .le32(kUid)
             .u8(1).le32(1).le32(3).u8(0xFF).u8(0xD8).u8(0xD9),
         51},
        {"NewObject", [](auto& c) { c.send_UpdateObject({5, 3, 40, false}, 0, Bytes{0xAA, 0xBB}); }, 158,
         ByteBuilder().le32(5).le32(0).le32(3).le32(40).u8(0).le32(2).u8(0xAA).u8(0xBB), 23},
        {"DeletedObject", [](auto& c) { c.send_UpdateObject({5, 3, 40, true}, 2, Bytes{0xAA}); }, 158,
         ByteBuilder().le32(5).le32(2).le32(3).le32(40).u8(1).le32(0), 21},
        {"RemoveWhiteboard", [](auto& c) { c.send_RemoveWhiteboard(-1, 1); }, 157, ByteBuilder().le32(-1).le32(1)},
        {"Pointer", [](auto& c) { c.send_Pointer(2, 10.9, -3.7, 3, true); }, 56,
         ByteBuilder().le32(3).le32(10).le32(-3).u8(1).le32(2), 17},
        {"Reorder", [](auto& c) { c.send_ReorderObjectId(40, 5, 3, -1); }, 161,
         ByteBuilder().le32(3).le32(40).le32(-1).le32(5), 16},
        {"LaunchSlide",
         [](auto& c) { c.send_LaunchSlideX(0, "pres_17\\Slide_3.jpg", "   Page 3 of Intro", 17, 3); }, 160,
         ByteBuilder().le32(0).le32(17).le32(3).intString("pres_17\\Slide_3.jpg").intString("   Page 3 of Intro"),
         57},
        // screen sharing
        {"AppShareStart", [](auto& c) { c.send_AppShareStart(sampleShare()); }, 141,
         ByteBuilder()
             .le32(0).le32(5).u8(6).le32(0).le32(0).le32(2880).le32(1800).le32(1600).le32(1000)
             .f64(1.8).f64(1.8).le32(9).le32(5).u8(0).le32(250)
             .fixed("Ann Lee", 200).fixed("My Screen", 255),
         519},
        {"AppShareStop", [](auto& c) { c.send_AppShareStop(); }, 142, {}},
        {"AppShareFrame", [=](auto& c) { c.send_AppShareFrame(frameHeader, Bytes{1, 2, 3, 4}); }, 144,
         ByteBuilder().le32(3).u8(0).u8(1).le32(4).le32(0).u8(1).u8(2).u8(3).u8(4), 18},
        {"AppShareControlPacket", [=](auto& c) { c.send_AppShareControlPacket(click); }, 147,
         ByteBuilder().u8(1).le32(32770).le32(65535).le32(65535).le32(0).le32(0).u8(0).u8(0), 23},
        {"AppShareControlToUser", [](auto& c) { c.send_SetAppShareControlToUser(12, 1); }, 145,
         ByteBuilder().le32(12).le32(1)},
        // Payload order differs from argument order: target, quality, show flag, remote control.
        {"RequestRemoteSharing", [](auto& c) { c.send_RequestRemoteScreenSharing(12, 7, 2, 3, true); }, 166,
         ByteBuilder().le32(12).le32(2).le32(3).le32(7).u8(1), 17},
    };
}

class OutgoingCommandsTest : public ::testing::TestWithParam<Case> {
protected:
    OutgoingCommandsTest() {
        commands.setEnvironment({[] { return 0L; }, [] { return kNow; }});
        commands.setOwnFullName("Ann Lee");
    }
    CommandBuffer commands{kUid, kRid};
};

TEST_P(OutgoingCommandsTest, ComposesOneExactFrame) {
    const Case& c = GetParam();
    c.send(commands);
    const auto frames = splitFrames(commands.data());
    ASSERT_TRUE(frames.has_value());
    ASSERT_EQ(frames->size(), 1u);
    const Frame& f = frames->front();
    EXPECT_EQ(f.command.CommandID, c.id);
    EXPECT_EQ(f.command.UserID, static_cast<std::uint32_t>(kUid));
    EXPECT_EQ(f.command.RoomIndex, kRoomIndex);
    EXPECT_EQ(f.command.TimeStamp, 0.0);
    EXPECT_EQ(f.command.Result, 0);
    EXPECT_EQ(f.command.DataSize, c.payload.size());
    if (c.dataSize >= 0) {
        EXPECT_EQ(f.command.DataSize, static_cast<std::uint32_t>(c.dataSize));
    }
    EXPECT_EQ(f.payload, c.payload);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, OutgoingCommandsTest, ::testing::ValuesIn(catalogue()),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(OutgoingCommands, TimeZoneIsTheOffsetInMinutesWithTheSignInverted) {
    const struct {
        long offsetSeconds;
        std::int32_t sent;
    } cases[] = {{19800, -330}, {-10800, 180}, {7200, -120}, {0, 0}, {-9030, 150}};
    for (const auto& c : cases) {
        CommandBuffer commands(kUid, kRid);
        commands.setEnvironment({[&] { return c.offsetSeconds; }, {}});
        commands.send_TimeZone();
        const auto frames = splitFrames(commands.data());
        ASSERT_TRUE(frames && frames->size() == 1u);
        EXPECT_EQ(frames->front().command.CommandID, 114);
        EXPECT_EQ(frames->front().payload, Bytes(ByteBuilder().le32(c.sent))) << "offset " << c.offsetSeconds;
    }
}

TEST(OutgoingCommands, ClientSystemRecordCarriesOnlyTheSystemVersionNumber) {
    CommandBuffer commands(kUid, kRid);
    commands.send_ClientSystemRecord();
    const auto frames = splitFrames(commands.data());
    ASSERT_TRUE(frames && frames->size() == 1u);
    const std::string osName = TClientSystemRecord::secondWord(TClientSystemRecord::operatingSystemVersionText());
    EXPECT_FALSE(osName.empty());
    EXPECT_EQ(frames->front().command.CommandID, 95);
    EXPECT_EQ(frames->front().payload,
              Bytes(ByteBuilder().intString("").intString(osName).intString("").le32(0).le32(0).le32(0).le32(0)));
}

TEST(OutgoingCommands, NothingIsSentForAnUnknownResourceTypeOrAnEmptyBoard) {
    CommandBuffer commands(kUid, kRid);
    commands.send_DeleteResource(sampleFile(), 1);
    commands.send_DeleteResource(sampleFile(), 3);
    commands.send_CreateXBoard("t", 0, 600, {}, true, {});
    commands.send_CreateXBoard("t", 800, 0, {}, true, {});
    EXPECT_TRUE(commands.data().empty());
    // The marks are cleared even when the board is not sent.
    EXPECT_EQ(commands.contentMarkClears(), 2);
}

TEST(OutgoingCommands, NewContentClearsTheContentMarksFirst) {
    const std::function<void(OutgoingCommands&)> operations[] = {
        [](auto& c) { c.send_PingPacket(samplePoll()); },
        [](auto& c) { c.send_ForceContent(sampleFile(), 0); },
        [](auto& c) { c.send_URL("https://x.org"); },
        [](auto& c) { c.send_CreateXBoard("t", 8, 6, {}, true, {}); },
    };
    for (const auto& send : operations) {
        CommandBuffer commands(kUid, kRid);
        send(commands);
        EXPECT_EQ(commands.contentMarkClears(), 1);
        EXPECT_FALSE(commands.data().empty());
    }
}

TEST(OutgoingCommands, CommandsFollowEachOtherInTheBufferWhole) {
    CommandBuffer commands(kUid, kRid);
    commands.send_KeepAlive();
    commands.send_TextMessage("x", 0, 0);
    commands.send_JoinVirtualRoom(7);
    const auto frames = splitFrames(commands.data());
    ASSERT_TRUE(frames.has_value());
    ASSERT_EQ(frames->size(), 3u);
    EXPECT_EQ((*frames)[0].command.CommandID, 57);
    EXPECT_EQ((*frames)[1].command.CommandID, 130);
    EXPECT_EQ((*frames)[2].command.CommandID, 75);
}

TEST(OutgoingCommands, AFailingPayloadWriterLeavesTheBufferAsItWas) {
    Bytes out{1, 2, 3};
    const auto throwing = [](Bytes& md) {
        md.push_back(9);
        throw std::runtime_error("no");
    };
    EXPECT_THROW(appendCommandFrame(out, 130, 1, 2, throwing), std::runtime_error);
    EXPECT_EQ(out, (Bytes{1, 2, 3}));
}

}  // namespace
}  // namespace veltrin::test
