#pragma once

#include "session/ClassroomEntryPoints.h"

namespace veltrin::bench {

// A controller that takes every call and does nothing, so that a benchmark measures the session
// layer alone.
class NullClassroom final : public ClassroomEntryPoints {
public:
    void Safe_JoinedVirtualRoom(std::int32_t, const TRoomHeader&, const TClientRecord&) override {}
    void Safe_JoinedVirtualRoomDenied(int) override {}
    void Safe_Disconnect(const std::string&) override {}
    void Safe_ProcessTokenError(int) override {}
    void Safe_SetHostAccountType(int) override {}
    void Safe_SetHostAccountInt(int) override {}
    void Safe_SetAccountDataEx(const TAccountDataEx&) override {}
    void Safe_SetMikesCount(int) override {}
    bool Safe_GetNoticeSetting(NoticeSetting) override { return false; }
    void Safe_SetView(int) override {}
    void Safe_BlinkView(BlinkTarget) override {}
    void Safe_DisplayToast(const std::string&, double) override {}
    void Safe_PlaySound(const std::string&) override {}
    void Safe_NavigateToUrl(const std::string&, int) override {}
    void Safe_NotifyRecorder(int, int) override {}
    void send_ContentDoneToUid(int) override {}
    void send_LoadBreakoutRooms() override {}
    void send_ListUsersOfRoomId(int) override {}
    std::optional<TUserItem> Safe_GetUserByID(int) override { return {}; }
    bool Safe_ModifyUser(int, const std::function<void(TUserItem&)>&) override { return false; }
    void Safe_AddUserItem(const TUserItem&) override {}
    void Safe_RemoveUserItem(int) override {}
    void Safe_UpdateUserListView(bool) override {}
    void Safe_UpdateMyControls() override {}
    void Safe_SetVoiceAllowed(bool) override {}
    void Safe_SetBoardAllowed(bool) override {}
    void Safe_SetVideoAllowed(bool) override {}
    void Safe_SetMikeStatus(int, int) override {}
    void Safe_UpdateAudioStatusOfUser(int, int) override {}
    void Safe_UpdateBoardStatusOfUser(int, bool) override {}
    void Safe_UpdateMotionStatus(int, int) override {}
    void Safe_UpdateMotionStatusDecFirst(int, int, bool) override {}
    void Safe_ClearMotions() override {}
    void Safe_SetGreenTickToUser(int) override {}
    void Safe_SetOnlineStatusToUser(int, int) override {}
    void Safe_ToggleModeratorStatusOfUser(int, int) override {}
    void Safe_UpdateVideoStatus(int, bool) override {}
    void Safe_Kick(const std::string&) override {}
    void Safe_StartMic() override {}
    void Safe_StopMic() override {}
    void Safe_UpdateTextView(const TTextMessage&) override {}
    void Safe_AddNotificationMessage(const std::string&) override {}
    void Safe_AddErrorMessage(const std::string&) override {}
    void Safe_SetChatStatus(int) override {}
    void Safe_SetNotesStatus(int) override {}
    void Safe_ClearTextChatLog() override {}
    void Safe_RunPoll(const TPingPacket&) override {}
    void Safe_ShowPollResultFromUser(int, int) override {}
    void Safe_ListTempRooms(const std::vector<TRoomHeader>&) override {}
    void Safe_ListRoomUsers(int, const std::vector<TClientRecord>&) override {}
    void Safe_MoveMeToRoomId(int) override {}
    void Safe_BreakoutRoomsStatus(bool) override {}
    void Safe_LoadSharedDocs(const std::vector<TFileInfo>&) override {}
    void Safe_LoadInternetLinks(const std::vector<TFileInfo>&) override {}
    void Safe_LoadPresentations(const std::vector<TFileInfo1>&) override {}
    void Safe_DisplayDocOpenRequest(const std::string&, int, const std::string&) override {}
    void Safe_SwitchToBoard(int) override {}
    void Safe_DeleteBoardFromList(int) override {}
    void Safe_LoadServerBoard(const TBoardSnapshot&) override {}
    void Safe_LoadSingleBoard(const TBoardSnapshot&) override {}
    void Safe_CreateXBoard(const TNewBoard&, int) override {}
    void Safe_PaintXObject(const TPaintObjectHeader&, const Bytes&) override {}
    void Safe_ItemReordered(int, int, int, int) override {}
    void Safe_SetBoardRotation(int, int) override {}
    void Safe_ClearWhiteboard(int, int) override {}
    void Safe_Pointer(int, int, int, bool, int) override {}
    void Safe_AppShareRefused() override {}
    void Safe_AppShareStarted(const TAppShareStruct&, int) override {}
    void Safe_StartAppSharing() override {}
    void Safe_StopAppShare(int) override {}
    void Safe_AppShareFrame(const TAppShareFrame&, const Bytes&) override {}
    void Safe_AppShareControl(int, int) override {}
    void Safe_SetAppShareControl(int) override {}
    bool Safe_AppShareRemoteControlPack(const TAppShareControlPacket&, bool) override { return false; }
    void Safe_AppShareForce(int, int, int, int, int, bool) override {}
};

}  // namespace veltrin::bench
