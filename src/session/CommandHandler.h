#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "session/FrameHandler.h"

namespace veltrin {

class ClassroomEntryPoints;
enum class NoticeSetting;
class MemoryInputStream;
struct TCommand;

// Turns each command frame the server sends into calls on the classroom controller. Runs on the
// reader thread that owns it (one per connection, or the recording player's); it reads the payload
// in place and keeps nothing between frames except whether a remote-control packet left a mouse
// button down. Unknown commands are ignored. Payloads shorter than a handler expects give zero or
// empty values and the handler still makes its call; counts from the wire are never trusted for
// allocation, and lists end where the payload ends.
class CommandHandler final : public FrameHandler {
public:
    // `uid` is the own user id ("own" below means a frame's or payload's user id equals it) and
    // `rid` the room id, both fixed when the reader starts. The controller outlives the handler.
    CommandHandler(ClassroomEntryPoints& mainView, int uid, int rid);
    ~CommandHandler() override;

    CommandHandler(const CommandHandler&) = delete;
    CommandHandler& operator=(const CommandHandler&) = delete;

    void HandleInput(const TCommand& command, std::span<const std::uint8_t> payload) override;

private:
    using IS = MemoryInputStream;

    bool isOwn(std::int64_t userId) const { return userId == uid_; }
    void announceEnter(const std::string& fullName);
    void announceLeave(const std::string& fullName);
    void playSoundIf(NoticeSetting setting, const char* sound);

    // Session
    void DoJoinVirtualRoom(const TCommand& cmd, IS& is);
    void DoDualUserDisconnect(const TCommand& cmd, IS& is);
    void DoToken(const TCommand& cmd, IS& is);
    void DoGetRemotePorts(const TCommand& cmd, IS& is);
    void DoGetHostAccountType(const TCommand& cmd, IS& is);
    void DoGetAccountAdditionalData(const TCommand& cmd, IS& is);
    void DoUpdateMikesCount(const TCommand& cmd, IS& is);
    void DoGetBoardView(const TCommand& cmd, IS& is);
    void DoGetUrl(const TCommand& cmd, IS& is);
    void DoRecorderCommand(const TCommand& cmd, IS& is);

    // Participants
    void DoGetClientIDs(const TCommand& cmd, IS& is);
    void DoObtainSpeakingChannel(const TCommand& cmd, IS& is);
    void DoReleaseSpeakingChannel(const TCommand& cmd, IS& is);
    void DoLoginNotify(const TCommand& cmd, IS& is);
    void DoLoginNotifyEx(const TCommand& cmd, IS& is);
    void DoPartNotify(const TCommand& cmd, IS& is);
    void DoClearMotions(const TCommand& cmd, IS& is);
    void DoSetVoice(const TCommand& cmd, IS& is, int status);
    void DoSetBoard(const TCommand& cmd, IS& is, bool allow);
    void DoContentDone(const TCommand& cmd, IS& is);
    void DoKick(const TCommand& cmd, IS& is);
    void DoSetOnlineStatus(const TCommand& cmd, IS& is);
    void DoToggleModeratorStatus(const TCommand& cmd, IS& is);
    void DoSetVideoOnOff(const TCommand& cmd, IS& is);
    void DoGetClientStatusPack(const TCommand& cmd, IS& is);
    void DoUserMotion(const TCommand& cmd, IS& is);
    void DoTypeNotification(const TCommand& cmd, IS& is);

    // Chat, notes and polls
    void DoTextMessage(const TCommand& cmd, IS& is);
    void DoLoadTextChatLog(const TCommand& cmd, IS& is);
    void DoClearChatLog(const TCommand& cmd, IS& is);
    void DoGetChatStatus(const TCommand& cmd, IS& is);
    void DoGetNotesStatus(const TCommand& cmd, IS& is);
    void DoPingPacket(const TCommand& cmd, IS& is);
    void DoPollResult(const TCommand& cmd, IS& is);

    // Breakout rooms
    void DoSetUpTempRoom(const TCommand& cmd, IS& is);
    void DoListTempRooms(const TCommand& cmd, IS& is);
    void DoListRoomUsers(const TCommand& cmd, IS& is);
    void DoRoomChangeNotify(const TCommand& cmd, IS& is);
    void DoPlaceUserInRoom(const TCommand& cmd, IS& is);
    void DoBreakOutRoomStatus(const TCommand& cmd, IS& is);

    // Library and web links
    void DoLoadSharedDocs(const TCommand& cmd, IS& is);
    void DoLoadInternetLinks(const TCommand& cmd, IS& is);
    void DoLoadPresentations(const TCommand& cmd, IS& is);
    void DoForceDocDownload(const TCommand& cmd, IS& is);
    void DoInetLinkOpen(const TCommand& cmd, IS& is);
    void DoDeleteResource(const TCommand& cmd, IS& is);

    // Whiteboards
    void DoPointer(const TCommand& cmd, IS& is);
    void DoLoadServerBoards(const TCommand& cmd, IS& is);
    void DoClearWhiteboard(const TCommand& cmd, IS& is);
    void DoGetActiveBoard(const TCommand& cmd, IS& is);
    void DoCreateXBoard(const TCommand& cmd, IS& is);
    void DoRemoveWhiteboard(const TCommand& cmd, IS& is);
    void DoPaintXObject(const TCommand& cmd, IS& is);
    void DoLoadSingleBoard(const TCommand& cmd, IS& is);
    void DoSlideX(const TCommand& cmd, IS& is);
    void DoItemReordered(const TCommand& cmd, IS& is);
    void DoSetBoardRotation(const TCommand& cmd, IS& is);

    // Screen sharing
    void DoAppShareStart(const TCommand& cmd, IS& is);
    void DoAppShareStop(const TCommand& cmd, IS& is);
    void DoAppShareFrame(const TCommand& cmd, IS& is);
    void DoAppShareControl(const TCommand& cmd, IS& is);
    void DoAppShareRemoteControlPack(const TCommand& cmd, IS& is);
    void DoAppShareForce(const TCommand& cmd, IS& is);

    ClassroomEntryPoints& mainView_;
    const int uid_;
    [[maybe_unused]] const int rid_;  // no handler is room-scoped yet
    bool tmpMouseDown_ = false;
};

}  // namespace veltrin
