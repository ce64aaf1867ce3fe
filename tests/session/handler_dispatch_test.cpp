// Every command id the dispatcher understands, as frame + payload bytes -> the controller calls
// it must make, in order. The own user is 5; user 12 ("Ann") is known, 99 is not.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeClassroom.h"
#include "handler_support.h"
#include "session/CommandHandler.h"

namespace veltrin::test {
namespace {

constexpr int kOwn = 5;
constexpr int kAnn = 12;

// How a row reacts to a non-zero Result.
enum class OnError {
    Skipped,  // the handler does nothing
    Ignored,  // the handler acts exactly as with Result 0
    RowsOwn,  // the Result is part of the row (its own rows cover it)
};

struct Row {
    std::string name;
    int id;
    int sender;
    int result;
    Bytes payload;
    std::vector<std::string> expected;
    OnError onError;
};

std::ostream& operator<<(std::ostream& os, const Row& row) {
    return os << row.name;
}

const std::string kDualUser =
    "Your user ID was just used for another connection. \n\nThis may occur if you tried starting another "
    "session on the same computer or if you have shared your username/password with another person logging "
    "into the classroom right now.";

TAppShareStruct share(int sharer) {
    TAppShareStruct s;
    s.ShareUserId = sharer;
    s.PixFrmt = 6;
    s.TargetWidth = 1600;
    s.TargetHeight = 900;
    s.ShareUserName = "Ann";
    s.ShareTitle = "My Screen";
    return s;
}

TPingPacket ping(int from, int type, const std::string& text) {
    TPingPacket p;
    p.FromID = from;
    p.PingType = type;
    p.Text = text;
    return p;
}

Bytes chatLog() {
    const auto hi = textMessage(kAnn, 0, 0, "Hi");
    const auto yo = textMessage(13, 0, 0, "Yo");
    Bytes hiBytes, yoBytes;
    hi.writeToMD(hiBytes);
    yo.writeToMD(yoBytes);
    const auto frameFor = [](const Bytes& message) {
        return TCommand(130, 0, 0, static_cast<std::uint32_t>(message.size()));
    };
    return Payload()
        .intString("Ann")
        .frame(frameFor(hiBytes))
        .raw(hiBytes)
        .intString("Bob")
        .frame(TCommand(130, 0, 0, 0))
        .intString("Cy")
        .frame(frameFor(yoBytes))
        .raw(yoBytes);
}

Bytes statusPacks() {
    return Payload()
        .record(statusPack(kAnn, 3, 2, false, 0))
        .record(statusPack(kOwn, 4, 0, true, 1003))
        .record(statusPack(99, 2, 2, true, 0));
}

std::vector<Row> rows() {
    using E = OnError;
    const auto S = OnError::Skipped;
    TAccountDataEx account;
    account.CID = 42;
    account.CompanyName = "Acme";
    TFileInfo1 presentation;
    presentation.FileName = "Slides";
    TPaintObjectHeader object;
    object.UserId = kAnn;
    object.BoardIndex = 1;
    object.LocalIndex = 9;
    object.ObjectSize = 5;
    TAppShareFrame frame;
    frame.FrameNo = 3;
    frame.XorFrame = true;
    frame.FrameSize = 4;
    TAppShareControlPacket mouseDown;
    mouseDown.EventType = 1;
    mouseDown.Param1 = 32770;

    // clang-format off
    return {
        {"ClientIds", 2, 0, 0,
         Payload().record(userItem(2, "")).record(userItem(20, "Bo")).record(userItem(21, "Cy")),
         {"Safe_AddUserItem(20)", "Safe_AddUserItem(21)", "Safe_UpdateUserListView(true)"}, S},
        {"ObtainMicOwn", 6, kOwn, 0, {},
         {"Safe_SetMikeStatus(5, 4)", "Safe_StartMic()", "Safe_UpdateUserListView(true)"}, E::RowsOwn},
        {"ObtainMicOwnRefused", 6, kOwn, 2, {},
         {"Safe_SetMikeStatus(5, -1)", "Safe_DisplayToast(\"No more free microphones.\", 2)", "Safe_StopMic()",
          "Safe_UpdateUserListView(true)"}, E::RowsOwn},
        {"ObtainMicOther", 6, kAnn, 0, {},
         {"Safe_SetMikeStatus(12, 4)", "Safe_UpdateUserListView(true)"}, E::Ignored},
        {"ReleaseMicOwn", 7, kOwn, 0, {},
         {"Safe_StopMic()", "Safe_SetMikeStatus(5, -1)", "Safe_UpdateUserListView(true)"}, E::Ignored},
        {"ReleaseMicOther", 7, kAnn, 0, {},
         {"Safe_SetMikeStatus(12, -1)", "Safe_UpdateUserListView(true)"}, E::Ignored},
        {"LoginNotify", 12, 0, 0, Payload().record(userItem(30, "Zed")),
         {"Safe_AddUserItem(30)", "Safe_UpdateUserListView(true)",
          "Safe_AddNotificationMessage(\"Zed joined the session.\")", "Safe_PlaySound(\"sndEnter.aiff\")"}, S},
        {"PartNotifyKnown", 13, kAnn, 0, {},
         {"Safe_RemoveUserItem(12)", "Safe_UpdateUserListView(true)",
          "Safe_AddNotificationMessage(\"Ann left the session.\")", "Safe_PlaySound(\"sndExit.aiff\")"}, S},
        {"PartNotifyUnknown", 13, 99, 0, {}, {}, S},
        {"SharedDocs", 18, 0, 0,
         Payload().record(fileInfo(2, "")).record(fileInfo(1, "a.pdf")).record(fileInfo(2, "b.doc")),
         {"Safe_LoadSharedDocs([a.pdf, b.doc])"}, E::Ignored},
        {"InternetLinks", 24, 0, 0, Payload().i32(1).record(fileInfo(3, "http://x")),
         {"Safe_LoadInternetLinks([http://x])"}, E::Ignored},
        {"ForceDocDownload", 30, kAnn, 0, Payload().record(fileInfo(1, "doc.pdf", "please read")),
         {"Safe_DisplayDocOpenRequest(\"doc.pdf\", 12, \"please read\")"}, S},
        {"InetLinkOpen", 32, kAnn, 0, Payload().record(fileInfo(0, "http://site")),
         {"Safe_NavigateToUrl(\"http://site\", 12)", "Safe_BlinkView(web)"}, S},
        {"DualUserDisconnect", 33, 0, 0, {}, {"Safe_Disconnect(\"" + kDualUser + "\")"}, E::Ignored},
        {"ClearMotions", 36, kAnn, 0, {}, {"Safe_ClearMotions()"}, E::Ignored},
        {"DeleteDocFailed", 38, 0, 1, {},
         {"Safe_DisplayToast(\"Failed to delete this resource. Please try later.\", 2)"}, E::RowsOwn},
        {"DeleteLinkFailed", 40, 0, 1, {},
         {"Safe_DisplayToast(\"Failed to delete this resource. Please try later.\", 2)"}, E::RowsOwn},
        {"DeletePresentationFailed", 58, 0, 1, {},
         {"Safe_DisplayToast(\"Failed to delete this resource. Please try later.\", 2)"}, E::RowsOwn},
        {"DeleteDone", 38, 0, 0, {}, {}, E::RowsOwn},
        {"MicAllowedOther41", 41, 0, 0, Payload().i32(kAnn), {"Safe_UpdateAudioStatusOfUser(12, 2)"}, E::Ignored},
        {"MicAllowedOther45", 45, 0, 0, Payload().i32(kAnn), {"Safe_UpdateAudioStatusOfUser(12, 2)"}, E::Ignored},
        {"MicAllowedOwn", 41, 0, 0, Payload().i32(kOwn),
         {"Safe_SetVoiceAllowed(true)", "Safe_UpdateAudioStatusOfUser(5, 2)"}, E::Ignored},
        {"MicForbiddenOther43", 43, 0, 0, Payload().i32(kAnn), {"Safe_UpdateAudioStatusOfUser(12, 3)"}, E::Ignored},
        {"MicForbiddenOwn47", 47, 0, 0, Payload().i32(kOwn),
         {"Safe_SetVoiceAllowed(false)", "Safe_UpdateAudioStatusOfUser(5, 3)"}, E::Ignored},
        {"BoardAllowedOther42", 42, 0, 0, Payload().i32(kAnn),
         {"Safe_UpdateBoardStatusOfUser(12, true)", "Safe_UpdateMyControls()"}, E::Ignored},
        {"BoardAllowedOwn46", 46, 0, 0, Payload().i32(kOwn),
         {"Safe_SetBoardAllowed(true)", "Safe_UpdateBoardStatusOfUser(5, true)", "Safe_UpdateMyControls()"},
         E::Ignored},
        {"BoardDeniedOther44", 44, 0, 0, Payload().i32(kAnn),
         {"Safe_UpdateBoardStatusOfUser(12, false)", "Safe_UpdateMyControls()"}, E::Ignored},
        {"BoardDeniedOwn48", 48, 0, 0, Payload().i32(kOwn),
         {"Safe_SetBoardAllowed(false)", "Safe_UpdateBoardStatusOfUser(5, false)", "Safe_UpdateMyControls()"},
         E::Ignored},
        {"Presentations", 49, 0, 0, Payload().i32(77).i32(1).record(presentation),
         {"Safe_LoadPresentations([Slides])"}, E::Ignored},
        {"ContentDone", 55, kAnn, 0, {}, {"Safe_SetGreenTickToUser(12)"}, S},
        {"Pointer", 56, kAnn, 0, Payload().i32(3).i32(10).i32(20).boolean(true).i32(2),
         {"Safe_Pointer(3, 10, 20, true, 2)"}, S},
        {"Kick", 60, 0, 0, Payload().i32(5).fixed("Be polite.", 49), {"Safe_Kick(\"Be polite.\")"}, E::Ignored},
        {"PingSound", 63, kAnn, 0, Payload().record(ping(kAnn, 1, "")),
         {"send_ContentDoneToUid(12)", "Safe_PlaySound(\"sndPing.aiff\")"}, S},
        {"PingPoll", 63, kAnn, 0, Payload().record(ping(kAnn, 2, "Ready?")),
         {"send_ContentDoneToUid(12)", "Safe_RunPoll(12, \"Ready?\")"}, S},
        {"PingSilent", 63, kAnn, 0, Payload().record(ping(kAnn, 0, "")), {"send_ContentDoneToUid(12)"}, S},
        {"OnlineStatus", 64, kAnn, 0, Payload().byte(1), {"Safe_SetOnlineStatusToUser(12, 1)"}, E::Ignored},
        {"PollResult", 66, kAnn, 0, Payload().i32(0).i32(3), {"Safe_ShowPollResultFromUser(12, 3)"}, S},
        {"Joined", 75, 0, 0,
         Payload().i32(1001).fixed("x", 20).i32(0).fixed("", 20).i32(0).record(roomHeader(1001, "Math"))
             .record(clientRecord(kOwn)),
         {"Safe_JoinedVirtualRoom(1001, 1001, \"Math\", 5)"}, E::RowsOwn},
        {"JoinDenied", 75, 0, 4, {}, {"Safe_JoinedVirtualRoomDenied(4)"}, E::RowsOwn},
        {"ServerBoards", 79, 0, 0, Payload().raw(boardSnapshot(1, "One", {1, 2})).raw(boardSnapshot(2, "Two", {})),
         {"Safe_LoadServerBoard(1, \"One\", 2)", "Safe_LoadServerBoard(2, \"Two\", 0)"}, S},
        {"ClearWhiteboard", 80, 0, 0, Payload().i32(1).i32(2), {"Safe_ClearWhiteboard(1, 2)"}, S},
        {"ActiveBoard", 81, 0, 0, Payload().i32(4), {"Safe_SwitchToBoard(4)"}, E::Ignored},
        {"SetActiveBoard", 82, 0, 0, Payload().i32(6), {"Safe_SwitchToBoard(6)"}, E::Ignored},
        {"RecorderStart", 96, 0, 42, {}, {"Safe_NotifyRecorder(96, 42)"}, E::RowsOwn},
        {"RecorderStop", 97, 0, 0, {}, {"Safe_NotifyRecorder(97, 0)"}, E::RowsOwn},
        {"RecorderPause", 98, 0, 3, {}, {"Safe_NotifyRecorder(98, 3)"}, E::RowsOwn},
        {"ModeratorOther", 99, 0, 0, Payload().i32(kAnn).i32(1000),
         {"Safe_ToggleModeratorStatusOfUser(12, 1000)"}, S},
        {"ModeratorOwnGranted", 99, 0, 0, Payload().i32(kOwn).i32(1000),
         {"Safe_ToggleModeratorStatusOfUser(5, 1000)", "Safe_DisplayToast(\"Granted moderator controls.\", 1.5)"}, S},
        {"ModeratorOwnDisabled", 99, 0, 0, Payload().i32(kOwn).i32(0),
         {"Safe_ToggleModeratorStatusOfUser(5, 0)", "Safe_DisplayToast(\"Moderator controls disabled.\", 1.5)"}, S},
        {"VideoOn", 107, kAnn, 0, {}, {"Safe_UpdateVideoStatus(12, true)"}, S},
        {"VideoOff", 108, kAnn, 0, {}, {"Safe_UpdateVideoStatus(12, false)"}, S},
        {"RemotePorts", 113, 0, 0, Payload().i32(4000).i32(4001), {}, E::Ignored},
        {"StatusPacks", 115, 0, 0, statusPacks(),
         {"Safe_ModifyUser(12)", "Safe_UpdateMotionStatusDecFirst(12, 0, false)", "Safe_ModifyUser(5)",
          "Safe_UpdateMotionStatusDecFirst(5, 1003, false)", "Safe_SetVoiceAllowed(true)",
          "Safe_SetBoardAllowed(true)", "Safe_SetVideoAllowed(false)", "Safe_UpdateMyControls()",
          "Safe_ModifyUser(99)", "Safe_UpdateUserListView(true)"}, S},
        {"Motion", 117, kAnn, 0, Payload().i32(1),
         {"Safe_UpdateMotionStatus(12, 1)", "Safe_PlaySound(\"sndMotion.aiff\")"}, E::Ignored},
        {"BoardView118", 118, 0, 0, Payload().i32(1), {"Safe_SetView(1)"}, S},
        {"BoardView119", 119, 0, 0, Payload().i32(0), {"Safe_SetView(0)"}, S},
        {"SharedUrl", 121, 0, 0, Payload().fixed("http://u.example", 250),
         {"Safe_NavigateToUrl(\"http://u.example\", 0)", "Safe_BlinkView(web)"}, S},
        {"MikesCount", 125, 0, 0, Payload().i32(3), {"Safe_SetMikesCount(3)"}, S},
        {"ChatStatus128", 128, 0, 0, Payload().i32(1), {"Safe_SetChatStatus(1)"}, S},
        {"ChatStatus129", 129, 0, 0, Payload().i32(3), {"Safe_SetChatStatus(3)"}, S},
        {"TextMessage", 130, kAnn, 0, Payload().record(textMessage(kAnn, 0, 0, "Hello")),
         {"Safe_PlaySound(\"sndTextMessage.aiff\")", "Safe_UpdateTextView(12, \"Ann\", \"Hello\")"}, S},
        {"PrivateTextMessage", 131, kAnn, 0, Payload().record(textMessage(kAnn, kOwn, 1, "Psst")),
         {"Safe_PlaySound(\"sndTextMessage.aiff\")", "Safe_UpdateTextView(12, \"Ann\", \"Psst\")"}, S},
        {"TempRoomCreated", 133, 0, 0, {}, {"send_LoadBreakoutRooms()"}, S},
        {"TempRooms", 134, 0, 0, Payload().record(roomHeader(1, "A")).record(roomHeader(2, "B")),
         {"Safe_ListTempRooms([1, 2])"}, E::Ignored},
        {"RoomUsers", 135, 0, 0, Payload().i32(7).record(clientRecord(20)).record(clientRecord(21)),
         {"Safe_ListRoomUsers(7, [20, 21])"}, E::Ignored},
        {"RoomChange", 136, 0, 0, Payload().i32(1).i32(2),
         {"send_ListUsersOfRoomId(2)", "send_ListUsersOfRoomId(1)"}, S},
        {"PlaceOwnInRoom", 137, 0, 0, Payload().i32(kOwn).i32(9), {"Safe_MoveMeToRoomId(9)"}, S},
        {"PlaceOtherInRoom", 137, 0, 0, Payload().i32(kAnn).i32(9), {}, S},
        {"NotesStatus138", 138, 0, 0, Payload().i32(1), {"Safe_SetNotesStatus(1)"}, S},
        {"NotesStatus139", 139, 0, 0, Payload().i32(0), {"Safe_SetNotesStatus(0)"}, S},
        {"BreakoutStatus", 140, 0, 0, Payload().boolean(true), {"Safe_BreakoutRoomsStatus(true)"}, S},
        {"AppShareStartOwn", 141, 0, 0, Payload().record(share(kOwn)).byte(1),
         {"Safe_AppShareStarted(5, 1)", "Safe_StartAppSharing()", "Safe_UpdateUserListView(false)"}, E::RowsOwn},
        {"AppShareStartOther", 141, 0, 0, Payload().record(share(kAnn)).byte(1),
         {"Safe_AppShareStarted(12, 1)", "Safe_SetView(2)", "Safe_BlinkView(screen)",
          "Safe_UpdateUserListView(false)"}, E::RowsOwn},
        {"AppShareRefused", 141, 0, 5, {}, {"Safe_AppShareRefused()"}, E::RowsOwn},
        {"AppShareStop", 142, kAnn, 0, {},
         {"Safe_StopAppShare(12)", "Safe_UpdateUserListView(false)", "Safe_SetView(0)",
          "Safe_BlinkView(whiteboard)"}, E::Ignored},
        {"AppShareFrame", 144, kAnn, 0, Payload().record(frame).raw({1, 2, 3, 4}),
         {"Safe_AppShareFrame(3, true, 4)"}, E::Ignored},
        {"AppShareControlOther", 145, 0, 0, Payload().i32(kAnn).i32(1),
         {"Safe_AppShareControl(12, 1)", "Safe_UpdateUserListView(false)"}, S},
        {"AppShareControlOwn", 145, 0, 0, Payload().i32(kOwn).i32(0),
         {"Safe_AppShareControl(5, 0)", "Safe_SetAppShareControl(0)", "Safe_UpdateUserListView(false)"}, S},
        {"RemoteControlPack", 147, kAnn, 0, Payload().record(mouseDown),
         {"Safe_AppShareRemoteControlPack(1, 32770, false)"}, S},
        {"HostAccountType", 150, 0, 0, Payload().i32(2).i32(50),
         {"Safe_SetHostAccountType(2)", "Safe_SetHostAccountInt(50)"}, S},
        {"TypingKnown", 151, kAnn, 0, Payload().i32(1),
         {"Safe_ModifyUser(12)", "Safe_UpdateUserListView(false)"}, S},
        {"TypingUnknown", 151, 99, 0, Payload().i32(1), {"Safe_ModifyUser(99)"}, S},
        {"AccountData", 152, 0, 0, Payload().record(account), {"Safe_SetAccountDataEx(42, \"Acme\")"}, E::Ignored},
        {"LoginNotifyExOther", 153, 0, 0,
         Payload().record(userItem(30, "Zed")).record(statusPack(30, 3, 2, false, 0)),
         {"Safe_AddUserItem(30)", "Safe_UpdateUserListView(true)",
          "Safe_AddNotificationMessage(\"Zed joined the session.\")", "Safe_PlaySound(\"sndEnter.aiff\")"}, S},
        {"LoginNotifyExOwn", 153, 0, 0,
         Payload().record(userItem(kOwn, "Me")).record(statusPack(kOwn, 2, 2, true, 0)),
         {"Safe_AddUserItem(5)", "Safe_SetVoiceAllowed(true)", "Safe_UpdateUserListView(true)",
          "Safe_AddNotificationMessage(\"Me joined the session.\")", "Safe_PlaySound(\"sndEnter.aiff\")"}, S},
        {"CreateXBoard", 156, kAnn, 0,
         Payload().i32(4).i32(0).i32(0).i32(800).i32(600).raw({255, 0, 0, 0}).boolean(true).utf16("Ünïcode")
             .i32(kAnn).boolean(false),
         {"Safe_CreateXBoard(4, \"Ünïcode\", 12)"}, S},
        {"RemoveWhiteboard", 157, 0, 0, Payload().i32(3).i32(1),
         {"Safe_SwitchToBoard(1)", "Safe_DeleteBoardFromList(3)"}, S},
        {"PaintXObject", 158, kAnn, 0, Payload().record(object).raw({1, 2, 3, 4, 5}),
         {"Safe_PaintXObject(12, 0, 1, 9, 5)"}, S},
        {"SingleBoard", 159, 0, 0, boardSnapshot(3, "Three", {4}), {"Safe_LoadSingleBoard(3, \"Three\", 1)"}, S},
        {"SlideMissing", 160, 0, 1, {}, {"Safe_AddErrorMessage(\"Slide not found.\")"}, E::RowsOwn},
        {"SlideLaunched", 160, 0, 0, {}, {}, E::RowsOwn},
        {"ItemReordered", 161, 0, 0, Payload().i32(1).i32(9).i32(-1).i32(kAnn),
         {"Safe_ItemReordered(1, 9, -1, 12)"}, S},
        {"ChatLog", 162, 0, 0, chatLog(),
         {"Safe_UpdateTextView(12, \"Ann\", \"Hi\")", "Safe_UpdateTextView(13, \"Cy\", \"Yo\")"}, S},
        {"ClearChatLog", 163, 0, 0, {}, {"Safe_ClearTextChatLog()"}, S},
        {"TokenRefused", 164, 0, 5, {}, {"Safe_ProcessTokenError(5)"}, E::RowsOwn},
        {"TokenAccepted", 164, 0, 0, {}, {}, E::RowsOwn},
        {"BoardRotation", 165, 0, 0, Payload().i32(1).i32(0x102), {"Safe_SetBoardRotation(1, 258)"}, S},
        {"AppShareForce", 166, 7, 0, Payload().i32(kAnn).i32(1).i32(1).i32(1).boolean(true),
         {"Safe_AppShareForce(7, 12, 1, 1, 1, true)"}, S},
        {"KeepAliveEchoIgnored", 57, kAnn, 0, {}, {}, E::Ignored},
        {"UnknownIgnored", 200, kAnn, 0, Payload().i32(1).i32(2), {}, E::Ignored},
    };
    // clang-format on
}

// A fresh controller and dispatcher per row: rows must not see each other's effects.
std::vector<std::string> dispatch(const Row& row, int result) {
    FakeClassroom fake;
    fake.addUser(kOwn, "Me");
    fake.addUser(kAnn, "Ann");
    fake.enableAllSettings();
    CommandHandler handler(fake, kOwn, 1001);
    TCommand cmd(row.id, static_cast<std::uint32_t>(row.sender), 0,
                 static_cast<std::uint32_t>(row.payload.size()));
    cmd.Result = static_cast<std::uint16_t>(result);
    handler.HandleInput(cmd, row.payload);
    return fake.calls;
}

class DispatchTest : public ::testing::TestWithParam<Row> {};

TEST_P(DispatchTest, CallsTheControllerAsTheTableSays) {
    const Row& row = GetParam();
    EXPECT_EQ(dispatch(row, row.result), row.expected);
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, DispatchTest, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<Row>& p) { return p.param.name; });

TEST(DispatchResult, NonZeroResultSkipsExactlyTheGuardedHandlers) {
    int checked = 0;
    for (const Row& row : rows()) {
        if (row.onError == OnError::RowsOwn) continue;  // the row's own Result covers it
        SCOPED_TRACE(row.name);
        const auto calls = dispatch(row, 9);
        if (row.onError == OnError::Skipped) {
            EXPECT_EQ(calls, std::vector<std::string>{});
        } else {
            EXPECT_EQ(calls, row.expected);
        }
        ++checked;
    }
    EXPECT_GT(checked, 60);
}

// Every row's payload cut at every length: the handler reads zeros past the end and the next frame
// is dispatched normally. A cut-off user id can turn an own-user row into another user's, which
// makes one call more; anything beyond that would be calls invented from missing bytes.
TEST(DispatchTruncation, EveryPrefixOfEveryPayloadIsHandledSafely) {
    const LogCapture quiet;  // every cut-off read logs the stream status
    const TCommand clearMotions(36, kAnn, 0);
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.name);
        const std::size_t fullCalls = dispatch(row, row.result).size();
        FakeClassroom fake;
        fake.addUser(kOwn, "Me");
        fake.addUser(kAnn, "Ann");
        fake.enableAllSettings();
        CommandHandler handler(fake, kOwn, 1001);
        for (std::size_t n = 0; n < row.payload.size(); ++n) {
            fake.calls.clear();
            TCommand cmd(row.id, static_cast<std::uint32_t>(row.sender), 0, static_cast<std::uint32_t>(n));
            cmd.Result = static_cast<std::uint16_t>(row.result);
            handler.HandleInput(cmd, std::span(row.payload.data(), n));
            ASSERT_LE(fake.calls.size(), fullCalls + 1) << "prefix " << n;
            handler.HandleInput(clearMotions, {});
            ASSERT_EQ(fake.calls.back(), "Safe_ClearMotions()") << "prefix " << n;
        }
    }
}

}  // namespace
}  // namespace veltrin::test
