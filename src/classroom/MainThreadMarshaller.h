#pragma once

#include <memory>

#include "session/ClassroomEntryPoints.h"
#include "session/ConnectionObserver.h"

namespace veltrin {

// The Safe_ layer of the classroom. Network and media threads call it; it re-posts every call to
// the main thread, waiting or not as each entry point's contract says, where the same call is made
// on the target — the controller's main-thread side. Only the main thread reads `target_`, and
// detach() (main thread) cuts it: calls that arrive afterwards, or that were queued before and run
// afterwards, do nothing and answer empty values. The marshaller is shared by every thread that
// may still call it, so it outlives them all.
class MainThreadMarshaller final : public ClassroomEntryPoints,
                                   public ConnectionObserver,
                                   public std::enable_shared_from_this<MainThreadMarshaller> {
public:
    // What the connection reports besides the entry points: the main-thread halves of the
    // ConnectionObserver calls.
    class ConnectionTarget {
    public:
        virtual ~ConnectionTarget() = default;
        virtual void _notifyConnectionStatusChange(int status) = 0;
        virtual void setClientRecord(const TClientRecord& record) = 0;
        virtual void updateNeeded(const std::string& serverVersion, const std::string& serverDate) = 0;
        virtual void clearGreenTics() = 0;
    };

    static std::shared_ptr<MainThreadMarshaller> create(ClassroomEntryPoints& target, ConnectionTarget& connection);
    // Main thread only.
    void detach();

    // ConnectionObserver
    void Safe_NotifyConnectionStatusChange(int status) override;
    void Safe_SetClientRecord(const TClientRecord& record) override;
    void Safe_UpdateNeeded(const std::string& serverVersion, const std::string& serverDate) override;
    void Safe_ClearGreenTics() override;
    bool isMainThread() const override;
    std::unique_ptr<FrameHandler> createFrameHandler(int uid, int rid) override;

    // SessionEntryPoints
    void Safe_JoinedVirtualRoom(std::int32_t roomId, const TRoomHeader& roomHeader,
                                const TClientRecord& clientRecord) override;
    void Safe_JoinedVirtualRoomDenied(int result) override;
    void Safe_Disconnect(const std::string& message) override;
    void Safe_ProcessTokenError(int result) override;
    void Safe_SetHostAccountType(int type) override;
    void Safe_SetHostAccountInt(int value) override;
    void Safe_SetAccountDataEx(const TAccountDataEx& accountData) override;
    void Safe_SetMikesCount(int count) override;
    bool Safe_GetNoticeSetting(NoticeSetting setting) override;
    void Safe_SetView(int view) override;
    void Safe_BlinkView(BlinkTarget target) override;
    void Safe_DisplayToast(const std::string& text, double seconds) override;
    void Safe_PlaySound(const std::string& name) override;
    void Safe_NavigateToUrl(const std::string& url, int userId) override;
    void Safe_NotifyRecorder(int commandId, int result) override;
    void send_ContentDoneToUid(int uid) override;
    void send_LoadBreakoutRooms() override;
    void send_ListUsersOfRoomId(int roomId) override;

    // ParticipantEntryPoints
    std::optional<TUserItem> Safe_GetUserByID(int uid) override;
    bool Safe_ModifyUser(int uid, const std::function<void(TUserItem&)>& change) override;
    void Safe_AddUserItem(const TUserItem& item) override;
    void Safe_RemoveUserItem(int uid) override;
    void Safe_UpdateUserListView(bool resort) override;
    void Safe_UpdateMyControls() override;
    void Safe_SetVoiceAllowed(bool allowed) override;
    void Safe_SetBoardAllowed(bool allowed) override;
    void Safe_SetVideoAllowed(bool allowed) override;
    void Safe_SetMikeStatus(int uid, int status) override;
    void Safe_UpdateAudioStatusOfUser(int uid, int status) override;
    void Safe_UpdateBoardStatusOfUser(int uid, bool allowed) override;
    void Safe_UpdateMotionStatus(int uid, int motion) override;
    void Safe_UpdateMotionStatusDecFirst(int uid, int motion, bool decFirst) override;
    void Safe_ClearMotions() override;
    void Safe_SetGreenTickToUser(int uid) override;
    void Safe_SetOnlineStatusToUser(int uid, int status) override;
    void Safe_ToggleModeratorStatusOfUser(int uid, int userType) override;
    void Safe_UpdateVideoStatus(int uid, bool isOn) override;
    void Safe_Kick(const std::string& reason) override;
    void Safe_StartMic() override;
    void Safe_StopMic() override;

    // ChatEntryPoints
    void Safe_UpdateTextView(const TTextMessage& message) override;
    void Safe_AddNotificationMessage(const std::string& text) override;
    void Safe_AddErrorMessage(const std::string& text) override;
    void Safe_SetChatStatus(int status) override;
    void Safe_SetNotesStatus(int status) override;
    void Safe_ClearTextChatLog() override;
    void Safe_RunPoll(const TPingPacket& packet) override;
    void Safe_ShowPollResultFromUser(int uid, int answer) override;

    // BreakoutEntryPoints
    void Safe_ListTempRooms(const std::vector<TRoomHeader>& rooms) override;
    void Safe_ListRoomUsers(int roomId, const std::vector<TClientRecord>& users) override;
    void Safe_MoveMeToRoomId(int roomId) override;
    void Safe_BreakoutRoomsStatus(bool allowed) override;

    // LibraryEntryPoints
    void Safe_LoadSharedDocs(const std::vector<TFileInfo>& files) override;
    void Safe_LoadInternetLinks(const std::vector<TFileInfo>& links) override;
    void Safe_LoadPresentations(const std::vector<TFileInfo1>& presentations) override;
    void Safe_DisplayDocOpenRequest(const std::string& fileName, int userId, const std::string& details) override;

    // WhiteboardEntryPoints
    void Safe_SwitchToBoard(int boardIndex) override;
    void Safe_DeleteBoardFromList(int boardIndex) override;
    void Safe_LoadServerBoard(const TBoardSnapshot& board) override;
    void Safe_LoadSingleBoard(const TBoardSnapshot& board) override;
    void Safe_CreateXBoard(const TNewBoard& board, int fromUid) override;
    void Safe_PaintXObject(const TPaintObjectHeader& header, const Bytes& body) override;
    void Safe_ItemReordered(int boardIndex, int localIndex, int position, int ownerUid) override;
    void Safe_SetBoardRotation(int boardIndex, int imageType) override;
    void Safe_ClearWhiteboard(int boardIndex, int clearType) override;
    void Safe_Pointer(int boardIndex, int x, int y, bool show, int pointerIndex) override;

    // ScreenShareEntryPoints
    void Safe_AppShareRefused() override;
    void Safe_AppShareStarted(const TAppShareStruct& share, int status) override;
    void Safe_StartAppSharing() override;
    void Safe_StopAppShare(int sharerUid) override;
    void Safe_AppShareFrame(const TAppShareFrame& header, const Bytes& body) override;
    void Safe_AppShareControl(int uid, int state) override;
    void Safe_SetAppShareControl(int state) override;
    bool Safe_AppShareRemoteControlPack(const TAppShareControlPacket& packet, bool buttonHeld) override;
    void Safe_AppShareForce(int fromUid, int targetUid, int quality, int showFlag, int remoteControl,
                            bool forceStop) override;

private:
    MainThreadMarshaller(ClassroomEntryPoints& target, ConnectionTarget& connection);

    template <typename F>
    void post(F&& work);
    template <typename F>
    auto wait(F&& work);
    template <typename F>
    void waitOnConnection(F&& work);

    // Main thread only.
    ClassroomEntryPoints* target_;
    ConnectionTarget* connection_;
};

}  // namespace veltrin
