#include "session/CommandHandler.h"

#include <limits>
#include <utility>
#include <vector>

#include "session/ClassroomEntryPoints.h"
#include "wire/Log.h"
#include "wire/VCTools.h"

namespace veltrin {

namespace {

constexpr double kShortToastSeconds = 1.5;
constexpr double kToastSeconds = 2.0;

const char* const kDualUserMessage =
    "Your user ID was just used for another connection. \n\nThis may occur if you tried starting "
    "another session on the same computer or if you have shared your username/password with another "
    "person logging into the classroom right now.";

std::int32_t senderOf(const TCommand& cmd) {
    return static_cast<std::int32_t>(cmd.UserID);
}

template <class Record>
bool wholeRecordLeft(const MemoryInputStream& is) {
    return VCTools::checkIS(is) && is.buffered() >= static_cast<std::size_t>(Record::kSize);
}

template <class Record, class Stream>
Record readRecord(Stream& is) {
    Record r;
    r.readFromStream(is);
    return r;
}

// `count` records as announced by the peer. The count is a claim: nothing is reserved for it, and
// the list ends early, without a cut-off last record, when the payload does.
template <class Record>
std::vector<Record> readCountedList(MemoryInputStream& is, std::int32_t count) {
    std::vector<Record> list;
    for (std::int32_t i = 0; i < count && wholeRecordLeft<Record>(is); ++i) {
        list.push_back(readRecord<Record>(is));
    }
    return list;
}

// Records one after another until the payload ends; a cut-off last record is dropped.
template <class Record>
std::vector<Record> readListToEnd(MemoryInputStream& is) {
    std::vector<Record> list;
    while (wholeRecordLeft<Record>(is)) list.push_back(readRecord<Record>(is));
    return list;
}

// Up to `size` bytes: a size from the wire costs nothing beyond the bytes that are there.
Bytes readBytes(MemoryInputStream& is, std::uint64_t size) {
    Bytes bytes;
    VCTools::readPayload(is, size, bytes, std::numeric_limits<std::size_t>::max());
    return bytes;
}

}  // namespace

CommandHandler::CommandHandler(ClassroomEntryPoints& mainView, int uid, int rid)
    : mainView_(mainView), uid_(uid), rid_(rid) {}

CommandHandler::~CommandHandler() {
    logLine("CommandHandler - dealloc");
}

void CommandHandler::HandleInput(const TCommand& cmd, std::span<const std::uint8_t> payload) {
    MemoryInputStream is(payload);
    // clang-format off
    switch (cmd.CommandID) {
    case 2: DoGetClientIDs(cmd, is); break;
    case 6: DoObtainSpeakingChannel(cmd, is); break;
    case 7: DoReleaseSpeakingChannel(cmd, is); break;
    case 12: DoLoginNotify(cmd, is); break;
    case 13: DoPartNotify(cmd, is); break;
    case 18: DoLoadSharedDocs(cmd, is); break;
    case 24: DoLoadInternetLinks(cmd, is); break;
    case 30: DoForceDocDownload(cmd, is); break;
    case 32: DoInetLinkOpen(cmd, is); break;
    case 33: DoDualUserDisconnect(cmd, is); break;
    case 36: DoClearMotions(cmd, is); break;
    case 38: case 40: case 58: DoDeleteResource(cmd, is); break;
    case 41: case 45: DoSetVoice(cmd, is, 2); break;
    case 43: case 47: DoSetVoice(cmd, is, 3); break;
    case 42: case 46: DoSetBoard(cmd, is, true); break;
    case 44: case 48: DoSetBoard(cmd, is, false); break;
    case 49: DoLoadPresentations(cmd, is); break;
    case 55: DoContentDone(cmd, is); break;
    case 56: DoPointer(cmd, is); break;
    case 60: DoKick(cmd, is); break;
    case 63: DoPingPacket(cmd, is); break;
    case 64: DoSetOnlineStatus(cmd, is); break;
    case 66: DoPollResult(cmd, is); break;
    case 75: DoJoinVirtualRoom(cmd, is); break;
    case 79: DoLoadServerBoards(cmd, is); break;
    case 80: DoClearWhiteboard(cmd, is); break;
    case 81: case 82: DoGetActiveBoard(cmd, is); break;
    case 96: case 97: case 98: DoRecorderCommand(cmd, is); break;
    case 99: DoToggleModeratorStatus(cmd, is); break;
    case 107: case 108: DoSetVideoOnOff(cmd, is); break;
    case 113: DoGetRemotePorts(cmd, is); break;
    case 115: DoGetClientStatusPack(cmd, is); break;
    case 117: DoUserMotion(cmd, is); break;
    case 118: case 119: DoGetBoardView(cmd, is); break;
    case 121: DoGetUrl(cmd, is); break;
    case 125: DoUpdateMikesCount(cmd, is); break;
    case 128: case 129: DoGetChatStatus(cmd, is); break;
    case 130: case 131: DoTextMessage(cmd, is); break;
    case 133: DoSetUpTempRoom(cmd, is); break;
    case 134: DoListTempRooms(cmd, is); break;
    case 135: DoListRoomUsers(cmd, is); break;
    case 136: DoRoomChangeNotify(cmd, is); break;
    case 137: DoPlaceUserInRoom(cmd, is); break;
    case 138: case 139: DoGetNotesStatus(cmd, is); break;
    case 140: DoBreakOutRoomStatus(cmd, is); break;
    case 141: DoAppShareStart(cmd, is); break;
    case 142: DoAppShareStop(cmd, is); break;
    case 144: DoAppShareFrame(cmd, is); break;
    case 145: DoAppShareControl(cmd, is); break;
    case 147: DoAppShareRemoteControlPack(cmd, is); break;
    case 150: DoGetHostAccountType(cmd, is); break;
    case 151: DoTypeNotification(cmd, is); break;
    case 152: DoGetAccountAdditionalData(cmd, is); break;
    case 153: DoLoginNotifyEx(cmd, is); break;
    case 156: DoCreateXBoard(cmd, is); break;
    case 157: DoRemoveWhiteboard(cmd, is); break;
    case 158: DoPaintXObject(cmd, is); break;
    case 159: DoLoadSingleBoard(cmd, is); break;
    case 160: DoSlideX(cmd, is); break;
    case 161: DoItemReordered(cmd, is); break;
    case 162: DoLoadTextChatLog(cmd, is); break;
    case 163: DoClearChatLog(cmd, is); break;
    case 164: DoToken(cmd, is); break;
    case 165: DoSetBoardRotation(cmd, is); break;
    case 166: DoAppShareForce(cmd, is); break;
    default:
        // Among them 57 and the other ids only the client sends: the payload stays unread.
        break;
    }
    // clang-format on
    is.close();
}

// ---- notices

void CommandHandler::announceEnter(const std::string& fullName) {
    if (mainView_.Safe_GetNoticeSetting(NoticeSetting::ShowNotificationsInChat)) {
        mainView_.Safe_AddNotificationMessage(fullName + " joined the session.");
    }
    playSoundIf(NoticeSetting::BeepOnEnter, "sndEnter.aiff");
}

void CommandHandler::announceLeave(const std::string& fullName) {
    if (mainView_.Safe_GetNoticeSetting(NoticeSetting::ShowNotificationsInChat)) {
        mainView_.Safe_AddNotificationMessage(fullName + " left the session.");
    }
    playSoundIf(NoticeSetting::BeepOnExit, "sndExit.aiff");
}

void CommandHandler::playSoundIf(NoticeSetting setting, const char* sound) {
    if (mainView_.Safe_GetNoticeSetting(setting)) mainView_.Safe_PlaySound(sound);
}

// ---- session

void CommandHandler::DoJoinVirtualRoom(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) {
        mainView_.Safe_JoinedVirtualRoomDenied(cmd.Result);
        return;
    }
    const std::int32_t roomId = VCTools::readInt(is);
    // Four fields the client has never used.
    VCTools::readFixedString(is, 20);
    VCTools::readInt(is);
    VCTools::readFixedString(is, 20);
    VCTools::readInt(is);
    const auto roomHeader = readRecord<TRoomHeader>(is);
    const auto clientRecord = readRecord<TClientRecord>(is);
    mainView_.Safe_JoinedVirtualRoom(roomId, roomHeader, clientRecord);
}

void CommandHandler::DoDualUserDisconnect(const TCommand&, IS&) {
    mainView_.Safe_Disconnect(kDualUserMessage);
}

void CommandHandler::DoToken(const TCommand& cmd, IS&) {
    if (cmd.Result != 0) mainView_.Safe_ProcessTokenError(cmd.Result);
}

void CommandHandler::DoGetRemotePorts(const TCommand&, IS& is) {
    // Read and dropped: the client has no use for the two values.
    VCTools::readInt(is);
    VCTools::readInt(is);
}

void CommandHandler::DoGetHostAccountType(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::int32_t type = VCTools::readInt(is);
    const std::int32_t value = VCTools::readInt(is);
    mainView_.Safe_SetHostAccountType(type);
    mainView_.Safe_SetHostAccountInt(value);
}

void CommandHandler::DoGetAccountAdditionalData(const TCommand&, IS& is) {
    mainView_.Safe_SetAccountDataEx(readRecord<TAccountDataEx>(is));
}

void CommandHandler::DoUpdateMikesCount(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    mainView_.Safe_SetMikesCount(VCTools::readInt(is));
}

void CommandHandler::DoGetBoardView(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    mainView_.Safe_SetView(VCTools::readInt(is));
}

void CommandHandler::DoGetUrl(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::string url = VCTools::readFixedString(is, 250);
    mainView_.Safe_NavigateToUrl(url, 0);
    mainView_.Safe_BlinkView(BlinkTarget::WebViewButton);
}

void CommandHandler::DoRecorderCommand(const TCommand& cmd, IS&) {
    mainView_.Safe_NotifyRecorder(cmd.CommandID, cmd.Result);
}

// ---- participants

void CommandHandler::DoGetClientIDs(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    // The list is headed by an item whose UID is the number of items that follow.
    const auto head = readRecord<TUserItem>(is);
    for (const TUserItem& item : readCountedList<TUserItem>(is, head.UID)) {
        mainView_.Safe_AddUserItem(item);
    }
    mainView_.Safe_UpdateUserListView(true);
}

void CommandHandler::DoObtainSpeakingChannel(const TCommand& cmd, IS&) {
    const std::int32_t sender = senderOf(cmd);
    if (!isOwn(sender)) {
        mainView_.Safe_SetMikeStatus(sender, 4);
    } else if (cmd.Result != 0) {
        mainView_.Safe_SetMikeStatus(sender, -1);
        mainView_.Safe_DisplayToast("No more free microphones.", kToastSeconds);
        mainView_.Safe_StopMic();
    } else {
        mainView_.Safe_SetMikeStatus(sender, 4);
        mainView_.Safe_StartMic();
    }
    mainView_.Safe_UpdateUserListView(true);
}

void CommandHandler::DoReleaseSpeakingChannel(const TCommand& cmd, IS&) {
    const std::int32_t sender = senderOf(cmd);
    if (isOwn(sender)) mainView_.Safe_StopMic();
    mainView_.Safe_SetMikeStatus(sender, -1);
    mainView_.Safe_UpdateUserListView(true);
}

void CommandHandler::DoLoginNotify(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const auto item = readRecord<TUserItem>(is);
    mainView_.Safe_AddUserItem(item);
    mainView_.Safe_UpdateUserListView(true);
    announceEnter(item.FullName);
}

void CommandHandler::DoLoginNotifyEx(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    auto item = readRecord<TUserItem>(is);
    item.statusPack = readRecord<TClientStatusPack>(is);
    const bool voiceAllowed = item.statusPack.Mike_Status != 3;
    // Set before the item is handed over: the list keeps its own copy.
    item.VoiceAllowed = voiceAllowed;
    item.BoardAllowed = item.statusPack.Board_BoardAllowed;
    mainView_.Safe_AddUserItem(item);
    if (isOwn(item.UID)) mainView_.Safe_SetVoiceAllowed(voiceAllowed);
    mainView_.Safe_UpdateUserListView(true);
    announceEnter(item.FullName);
}

void CommandHandler::DoPartNotify(const TCommand& cmd, IS&) {
    if (cmd.Result != 0) return;
    const std::int32_t sender = senderOf(cmd);
    const auto user = mainView_.Safe_GetUserByID(sender);
    if (!user) return;
    mainView_.Safe_RemoveUserItem(sender);
    mainView_.Safe_UpdateUserListView(true);
    announceLeave(user->FullName);
}

void CommandHandler::DoClearMotions(const TCommand&, IS&) {
    mainView_.Safe_ClearMotions();
}

void CommandHandler::DoSetVoice(const TCommand&, IS& is, int status) {
    const std::int32_t userId = VCTools::readInt(is);
    if (isOwn(userId)) mainView_.Safe_SetVoiceAllowed(status == 2);
    mainView_.Safe_UpdateAudioStatusOfUser(userId, status);
}

void CommandHandler::DoSetBoard(const TCommand&, IS& is, bool allow) {
    const std::int32_t userId = VCTools::readInt(is);
    if (isOwn(userId)) mainView_.Safe_SetBoardAllowed(allow);
    mainView_.Safe_UpdateBoardStatusOfUser(userId, allow);
    mainView_.Safe_UpdateMyControls();
}

void CommandHandler::DoContentDone(const TCommand& cmd, IS&) {
    if (cmd.Result != 0) return;
    mainView_.Safe_SetGreenTickToUser(senderOf(cmd));
}

void CommandHandler::DoKick(const TCommand&, IS& is) {
    VCTools::readInt(is);  // not used
    mainView_.Safe_Kick(VCTools::readFixedString(is, 49));
}

void CommandHandler::DoSetOnlineStatus(const TCommand& cmd, IS& is) {
    mainView_.Safe_SetOnlineStatusToUser(senderOf(cmd), VCTools::readByte(is));
}

void CommandHandler::DoToggleModeratorStatus(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::int32_t userId = VCTools::readInt(is);
    const std::int32_t status = VCTools::readInt(is);
    mainView_.Safe_ToggleModeratorStatusOfUser(userId, status);
    if (isOwn(userId)) {
        mainView_.Safe_DisplayToast(
            status > 0 ? "Granted moderator controls." : "Moderator controls disabled.", kShortToastSeconds);
    }
}

void CommandHandler::DoSetVideoOnOff(const TCommand& cmd, IS&) {
    if (cmd.Result != 0) return;
    mainView_.Safe_UpdateVideoStatus(senderOf(cmd), cmd.CommandID == 107);
}

void CommandHandler::DoGetClientStatusPack(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0 || cmd.DataSize == 0) return;
    constexpr auto kPackSize = static_cast<std::size_t>(TClientStatusPack::kSize);
    // Whole packs only, within both the announced size and the bytes that arrived.
    for (std::size_t used = 0; used + kPackSize <= cmd.DataSize && wholeRecordLeft<TClientStatusPack>(is);
         used += kPackSize) {
        const auto pack = readRecord<TClientStatusPack>(is);
        const bool voiceAllowed = pack.Mike_Status == 2 || pack.Mike_Status == 4;
        const bool known = mainView_.Safe_ModifyUser(pack.UID, [&](TUserItem& user) {
            user.statusPack.Mike_Status = pack.Mike_Status;
            user.statusPack.Video_Status = pack.Video_Status;
            user.statusPack.MotionStatus = pack.MotionStatus;
            user.statusPack.MotionIndex = pack.MotionIndex;
            user.statusPack.AppShareStatus = pack.AppShareStatus;
            user.VoiceAllowed = voiceAllowed;
            user.BoardAllowed = pack.Board_BoardAllowed;
        });
        if (!known) continue;
        logf("uid: %d, voice:%hhd", pack.UID, static_cast<signed char>(voiceAllowed));
        mainView_.Safe_UpdateMotionStatusDecFirst(pack.UID, pack.MotionStatus, false);
        if (isOwn(pack.UID)) {
            mainView_.Safe_SetVoiceAllowed(voiceAllowed);
            mainView_.Safe_SetBoardAllowed(pack.Board_BoardAllowed);
            mainView_.Safe_SetVideoAllowed(pack.Video_Status == 2 || pack.Video_Status == 4);
            logf("voiceallowed:%d", static_cast<int>(voiceAllowed));
            logLine("Safe_UpdateMyControls from DoGetClientStatusPack");
            mainView_.Safe_UpdateMyControls();
        }
    }
    mainView_.Safe_UpdateUserListView(true);
}

void CommandHandler::DoUserMotion(const TCommand& cmd, IS& is) {
    mainView_.Safe_UpdateMotionStatus(senderOf(cmd), VCTools::readInt(is));
    playSoundIf(NoticeSetting::BeepOnMotions, "sndMotion.aiff");
}

void CommandHandler::DoTypeNotification(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const bool typing = VCTools::readInt(is) == 1;
    const bool known =
        mainView_.Safe_ModifyUser(senderOf(cmd), [typing](TUserItem& user) { user.TypingStatus = typing; });
    if (known) mainView_.Safe_UpdateUserListView(false);
}

// ---- chat, notes and polls

void CommandHandler::DoTextMessage(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    auto message = readRecord<TTextMessage>(is);
    if (const auto sender = mainView_.Safe_GetUserByID(message.FromUID)) {
        message.NameToUse = sender->FullName;
    } else {
        logLine("user missing");
    }
    playSoundIf(NoticeSetting::BeepOnMessages, "sndTextMessage.aiff");
    mainView_.Safe_UpdateTextView(message);
}

void CommandHandler::DoLoadTextChatLog(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    // Entries: the name to show, the frame the message once came in, and the message itself
    // unless that frame was empty. A cut-off last entry is dropped.
    while (is.buffered() > 0 && VCTools::checkIS(is)) {
        const std::string name = VCTools::readStringIntSize(is);
        TCommand frame;
        if (!VCTools::readCommandNoCreate(is, frame)) break;
        if (frame.DataSize == 0) continue;
        auto message = readRecord<TTextMessage>(is);
        if (!VCTools::checkIS(is)) break;
        message.NameToUse = name;
        mainView_.Safe_UpdateTextView(message);
    }
}

void CommandHandler::DoClearChatLog(const TCommand& cmd, IS&) {
    if (cmd.Result == 0) mainView_.Safe_ClearTextChatLog();
}

void CommandHandler::DoGetChatStatus(const TCommand& cmd, IS& is) {
    if (cmd.Result == 0) mainView_.Safe_SetChatStatus(VCTools::readInt(is));
}

void CommandHandler::DoGetNotesStatus(const TCommand& cmd, IS& is) {
    if (cmd.Result == 0) mainView_.Safe_SetNotesStatus(VCTools::readInt(is));
}

void CommandHandler::DoPingPacket(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const auto packet = readRecord<TPingPacket>(is);
    // Acknowledged at once, before any poll window opens: the sender's tick shows who is there.
    mainView_.send_ContentDoneToUid(senderOf(cmd));
    if (packet.PingType == 1) {
        mainView_.Safe_PlaySound("sndPing.aiff");
    } else if (packet.PingType == 2) {
        mainView_.Safe_RunPoll(packet);
    }
}

void CommandHandler::DoPollResult(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    VCTools::readInt(is);  // not used
    mainView_.Safe_ShowPollResultFromUser(senderOf(cmd), VCTools::readInt(is));
}

// ---- breakout rooms

void CommandHandler::DoSetUpTempRoom(const TCommand& cmd, IS&) {
    if (cmd.Result == 0) mainView_.send_LoadBreakoutRooms();
}

void CommandHandler::DoListTempRooms(const TCommand&, IS& is) {
    mainView_.Safe_ListTempRooms(readListToEnd<TRoomHeader>(is));
}

void CommandHandler::DoListRoomUsers(const TCommand&, IS& is) {
    const std::int32_t roomId = VCTools::readInt(is);
    mainView_.Safe_ListRoomUsers(roomId, readListToEnd<TClientRecord>(is));
}

void CommandHandler::DoRoomChangeNotify(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::int32_t roomA = VCTools::readInt(is);
    const std::int32_t roomB = VCTools::readInt(is);
    mainView_.send_ListUsersOfRoomId(roomB);
    mainView_.send_ListUsersOfRoomId(roomA);
}

void CommandHandler::DoPlaceUserInRoom(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::int32_t userId = VCTools::readInt(is);
    const std::int32_t roomId = VCTools::readInt(is);
    if (isOwn(userId)) mainView_.Safe_MoveMeToRoomId(roomId);
}

void CommandHandler::DoBreakOutRoomStatus(const TCommand& cmd, IS& is) {
    if (cmd.Result == 0) mainView_.Safe_BreakoutRoomsStatus(VCTools::readBoolean(is));
}

// ---- library and web links

void CommandHandler::DoLoadSharedDocs(const TCommand&, IS& is) {
    // Headed by an entry whose ID is the number of entries that follow.
    const auto head = readRecord<TFileInfo>(is);
    logf("library items count: %d", head.ID);
    mainView_.Safe_LoadSharedDocs(readCountedList<TFileInfo>(is, head.ID));
}

void CommandHandler::DoLoadInternetLinks(const TCommand&, IS& is) {
    const std::int32_t count = VCTools::readInt(is);
    logf("weblinks items count: %d", count);
    mainView_.Safe_LoadInternetLinks(readCountedList<TFileInfo>(is, count));
}

void CommandHandler::DoLoadPresentations(const TCommand&, IS& is) {
    logf("reserved: %d", VCTools::readInt(is));
    const std::int32_t count = VCTools::readInt(is);
    logf("library items count: %d", count);
    mainView_.Safe_LoadPresentations(readCountedList<TFileInfo1>(is, count));
}

void CommandHandler::DoForceDocDownload(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const auto file = readRecord<TFileInfo>(is);
    mainView_.Safe_DisplayDocOpenRequest(file.FileName, senderOf(cmd), file.Comment1);
}

void CommandHandler::DoInetLinkOpen(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const auto link = readRecord<TFileInfo>(is);
    logf("link to open: %s", link.FileName.c_str());
    mainView_.Safe_NavigateToUrl(link.FileName, senderOf(cmd));
    mainView_.Safe_BlinkView(BlinkTarget::WebViewButton);
}

void CommandHandler::DoDeleteResource(const TCommand& cmd, IS&) {
    if (cmd.Result != 0) {
        mainView_.Safe_DisplayToast("Failed to delete this resource. Please try later.", kToastSeconds);
    }
}

// ---- whiteboards

void CommandHandler::DoPointer(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::int32_t board = VCTools::readInt(is);
    const std::int32_t x = VCTools::readInt(is);
    const std::int32_t y = VCTools::readInt(is);
    const bool show = VCTools::readBoolean(is);
    const std::int32_t pointerIndex = VCTools::readInt(is);
    mainView_.Safe_Pointer(board, x, y, show, pointerIndex);
}

void CommandHandler::DoLoadServerBoards(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    // Snapshots follow each other until their sizes add up to the frame's; a cut-off one is dropped.
    std::size_t consumed = 0;
    while (consumed < cmd.DataSize && is.buffered() > 0) {
        const auto board = readRecord<TBoardSnapshot>(is);
        if (!board.Complete) break;
        consumed += board.ConsumedBytes;
        mainView_.Safe_LoadServerBoard(board);
    }
}

void CommandHandler::DoClearWhiteboard(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::int32_t board = VCTools::readInt(is);
    mainView_.Safe_ClearWhiteboard(board, VCTools::readInt(is));
}

void CommandHandler::DoGetActiveBoard(const TCommand&, IS& is) {
    mainView_.Safe_SwitchToBoard(VCTools::readInt(is));
}

void CommandHandler::DoCreateXBoard(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    mainView_.Safe_CreateXBoard(readRecord<TNewBoard>(is), senderOf(cmd));
}

void CommandHandler::DoRemoveWhiteboard(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::int32_t board = VCTools::readInt(is);
    const std::int32_t switchTo = VCTools::readInt(is);
    // Leave the board before it disappears from the list.
    mainView_.Safe_SwitchToBoard(switchTo);
    mainView_.Safe_DeleteBoardFromList(board);
}

void CommandHandler::DoPaintXObject(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const auto header = readRecord<TPaintObjectHeader>(is);
    // The body is the rest of the payload, as the sender sized the frame.
    mainView_.Safe_PaintXObject(header, readBytes(is, is.buffered()));
}

void CommandHandler::DoLoadSingleBoard(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    mainView_.Safe_LoadSingleBoard(readRecord<TBoardSnapshot>(is));
}

void CommandHandler::DoSlideX(const TCommand& cmd, IS&) {
    if (cmd.Result != 0) mainView_.Safe_AddErrorMessage("Slide not found.");
}

void CommandHandler::DoItemReordered(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::int32_t board = VCTools::readInt(is);
    const std::int32_t localIndex = VCTools::readInt(is);
    const std::int32_t position = VCTools::readInt(is);
    const std::int32_t owner = VCTools::readInt(is);
    mainView_.Safe_ItemReordered(board, localIndex, position, owner);
}

void CommandHandler::DoSetBoardRotation(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::int32_t board = VCTools::readInt(is);
    mainView_.Safe_SetBoardRotation(board, VCTools::readInt(is));
}

// ---- screen sharing

void CommandHandler::DoAppShareStart(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) {
        mainView_.Safe_AppShareRefused();
        return;
    }
    const auto share = readRecord<TAppShareStruct>(is);
    const int status = VCTools::readByte(is);
    mainView_.Safe_AppShareStarted(share, status);
    if (isOwn(share.ShareUserId)) {
        mainView_.Safe_StartAppSharing();
    } else {
        mainView_.Safe_SetView(2);
        mainView_.Safe_BlinkView(BlinkTarget::SharedScreenViewButton);
    }
    mainView_.Safe_UpdateUserListView(false);
}

void CommandHandler::DoAppShareStop(const TCommand& cmd, IS&) {
    mainView_.Safe_StopAppShare(senderOf(cmd));
    mainView_.Safe_UpdateUserListView(false);
    mainView_.Safe_SetView(0);
    mainView_.Safe_BlinkView(BlinkTarget::WhiteboardViewButton);
}

void CommandHandler::DoAppShareFrame(const TCommand&, IS& is) {
    const auto header = readRecord<TAppShareFrame>(is);
    if (header.FrameSize <= 0) return;
    mainView_.Safe_AppShareFrame(header, readBytes(is, static_cast<std::uint64_t>(header.FrameSize)));
}

void CommandHandler::DoAppShareControl(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::int32_t userId = VCTools::readInt(is);
    const std::int32_t state = VCTools::readInt(is);
    mainView_.Safe_AppShareControl(userId, state);
    if (isOwn(userId)) mainView_.Safe_SetAppShareControl(state);
    mainView_.Safe_UpdateUserListView(false);
}

void CommandHandler::DoAppShareRemoteControlPack(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const auto packet = readRecord<TAppShareControlPacket>(is);
    tmpMouseDown_ = mainView_.Safe_AppShareRemoteControlPack(packet, tmpMouseDown_);
}

void CommandHandler::DoAppShareForce(const TCommand& cmd, IS& is) {
    if (cmd.Result != 0) return;
    const std::int32_t target = VCTools::readInt(is);
    const std::int32_t quality = VCTools::readInt(is);
    const std::int32_t showFlag = VCTools::readInt(is);
    const std::int32_t remoteControl = VCTools::readInt(is);
    const bool forceStop = VCTools::readBoolean(is);
    logf("DoAppShareForce %d, %d, %d", target, quality, showFlag);
    mainView_.Safe_AppShareForce(senderOf(cmd), target, quality, showFlag, remoteControl, forceStop);
}

}  // namespace veltrin
