#pragma once

// A classroom controller for dispatcher tests: every effect is recorded as one line of text
// ("Safe_SetMikeStatus(12, 4)"), so a test states the expected calls as a list; the participant
// list and the settings are kept as plain state so lookups and modifications behave as the real
// controller's would. Queries (Safe_GetUserByID, Safe_GetNoticeSetting) are not recorded: they
// are not effects.

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "session/ClassroomEntryPoints.h"

namespace veltrin::test {

class FakeClassroom final : public ClassroomEntryPoints {
public:
    std::vector<std::string> calls;
    std::map<int, TUserItem> users;
    std::set<NoticeSetting> enabledSettings;
    // What Safe_AppShareRemoteControlPack answers: a button is held afterwards.
    bool buttonHeldAfterPacket = false;

    // Copies of the bulkier arguments, for tests that look inside them.
    std::vector<TTextMessage> textMessages;
    std::vector<TBoardSnapshot> boards;
    std::vector<TNewBoard> newBoards;
    std::vector<Bytes> bodies;  // paint-object and screen-frame bodies
    std::vector<TAppShareStruct> shares;
    std::vector<TPingPacket> polls;
    TAccountDataEx accountData;
    std::vector<TClientRecord> roomUsers;

    void addUser(int uid, const std::string& fullName) {
        TUserItem item;
        item.UID = uid;
        item.FullName = fullName;
        users[uid] = item;
    }
    void enableAllSettings() {
        enabledSettings = {NoticeSetting::ShowNotificationsInChat, NoticeSetting::BeepOnEnter,
                           NoticeSetting::BeepOnExit, NoticeSetting::BeepOnMessages,
                           NoticeSetting::BeepOnMotions};
    }

    // ---- session
    void Safe_JoinedVirtualRoom(std::int32_t roomId, const TRoomHeader& header,
                                const TClientRecord& record) override {
        rec("Safe_JoinedVirtualRoom", roomId, header.ID, quoted(header.Name), record.UID);
    }
    void Safe_JoinedVirtualRoomDenied(int result) override { rec("Safe_JoinedVirtualRoomDenied", result); }
    void Safe_Disconnect(const std::string& message) override { rec("Safe_Disconnect", quoted(message)); }
    void Safe_ProcessTokenError(int result) override { rec("Safe_ProcessTokenError", result); }
    void Safe_SetHostAccountType(int type) override { rec("Safe_SetHostAccountType", type); }
    void Safe_SetHostAccountInt(int value) override { rec("Safe_SetHostAccountInt", value); }
    void Safe_SetAccountDataEx(const TAccountDataEx& data) override {
        accountData = data;
        rec("Safe_SetAccountDataEx", data.CID, quoted(data.CompanyName));
    }
    void Safe_SetMikesCount(int count) override { rec("Safe_SetMikesCount", count); }
    bool Safe_GetNoticeSetting(NoticeSetting setting) override { return enabledSettings.count(setting) != 0; }
    void Safe_SetView(int view) override { rec("Safe_SetView", view); }
    void Safe_BlinkView(BlinkTarget target) override { rec("Safe_BlinkView", blinkName(target)); }
    void Safe_DisplayToast(const std::string& text, double seconds) override {
        rec("Safe_DisplayToast", quoted(text), seconds);
    }
    void Safe_PlaySound(const std::string& name) override { rec("Safe_PlaySound", quoted(name)); }
    void Safe_NavigateToUrl(const std::string& url, int userId) override {
        rec("Safe_NavigateToUrl", quoted(url), userId);
    }
    void Safe_NotifyRecorder(int commandId, int result) override {
        rec("Safe_NotifyRecorder", commandId, result);
    }
    void send_ContentDoneToUid(int uid) override { rec("send_ContentDoneToUid", uid); }
    void send_LoadBreakoutRooms() override { rec("send_LoadBreakoutRooms"); }
    void send_ListUsersOfRoomId(int roomId) override { rec("send_ListUsersOfRoomId", roomId); }

    // ---- participants
    std::optional<TUserItem> Safe_GetUserByID(int uid) override {
        const auto it = users.find(uid);
        if (it == users.end()) return std::nullopt;
        return it->second;
    }
    bool Safe_ModifyUser(int uid, const std::function<void(TUserItem&)>& change) override {
        rec("Safe_ModifyUser", uid);
        const auto it = users.find(uid);
        if (it == users.end()) return false;
        change(it->second);
        return true;
    }
    void Safe_AddUserItem(const TUserItem& item) override {
        users[item.UID] = item;
        rec("Safe_AddUserItem", item.UID);
    }
    void Safe_RemoveUserItem(int uid) override {
        users.erase(uid);
        rec("Safe_RemoveUserItem", uid);
    }
    void Safe_UpdateUserListView(bool resort) override { rec("Safe_UpdateUserListView", resort); }
    void Safe_UpdateMyControls() override { rec("Safe_UpdateMyControls"); }
    void Safe_SetVoiceAllowed(bool allowed) override { rec("Safe_SetVoiceAllowed", allowed); }
    void Safe_SetBoardAllowed(bool allowed) override { rec("Safe_SetBoardAllowed", allowed); }
    void Safe_SetVideoAllowed(bool allowed) override { rec("Safe_SetVideoAllowed", allowed); }
    void Safe_SetMikeStatus(int uid, int status) override { rec("Safe_SetMikeStatus", uid, status); }
    void Safe_UpdateAudioStatusOfUser(int uid, int status) override {
        rec("Safe_UpdateAudioStatusOfUser", uid, status);
    }
    void Safe_UpdateBoardStatusOfUser(int uid, bool allowed) override {
        rec("Safe_UpdateBoardStatusOfUser", uid, allowed);
    }
    void Safe_UpdateMotionStatus(int uid, int motion) override {
        rec("Safe_UpdateMotionStatus", uid, motion);
    }
    void Safe_UpdateMotionStatusDecFirst(int uid, int motion, bool decFirst) override {
        rec("Safe_UpdateMotionStatusDecFirst", uid, motion, decFirst);
    }
    void Safe_ClearMotions() override { rec("Safe_ClearMotions"); }
    void Safe_SetGreenTickToUser(int uid) override { rec("Safe_SetGreenTickToUser", uid); }
    void Safe_SetOnlineStatusToUser(int uid, int status) override {
        rec("Safe_SetOnlineStatusToUser", uid, status);
    }
    void Safe_ToggleModeratorStatusOfUser(int uid, int userType) override {
        rec("Safe_ToggleModeratorStatusOfUser", uid, userType);
    }
    void Safe_UpdateVideoStatus(int uid, bool isOn) override { rec("Safe_UpdateVideoStatus", uid, isOn); }
    void Safe_Kick(const std::string& reason) override { rec("Safe_Kick", quoted(reason)); }
    void Safe_StartMic() override { rec("Safe_StartMic"); }
    void Safe_StopMic() override { rec("Safe_StopMic"); }

    // ---- chat and polls
    void Safe_UpdateTextView(const TTextMessage& message) override {
        textMessages.push_back(message);
        rec("Safe_UpdateTextView", message.FromUID, quoted(message.NameToUse), quoted(message.Text));
    }
    void Safe_AddNotificationMessage(const std::string& text) override {
        rec("Safe_AddNotificationMessage", quoted(text));
    }
    void Safe_AddErrorMessage(const std::string& text) override { rec("Safe_AddErrorMessage", quoted(text)); }
    void Safe_SetChatStatus(int status) override { rec("Safe_SetChatStatus", status); }
    void Safe_SetNotesStatus(int status) override { rec("Safe_SetNotesStatus", status); }
    void Safe_ClearTextChatLog() override { rec("Safe_ClearTextChatLog"); }
    void Safe_RunPoll(const TPingPacket& packet) override {
        polls.push_back(packet);
        rec("Safe_RunPoll", packet.FromID, quoted(packet.Text));
    }
    void Safe_ShowPollResultFromUser(int uid, int answer) override {
        rec("Safe_ShowPollResultFromUser", uid, answer);
    }

    // ---- breakout rooms
    void Safe_ListTempRooms(const std::vector<TRoomHeader>& rooms) override {
        std::vector<int> ids;
        for (const auto& r : rooms) ids.push_back(r.ID);
        rec("Safe_ListTempRooms", list(ids));
    }
    void Safe_ListRoomUsers(int roomId, const std::vector<TClientRecord>& records) override {
        roomUsers = records;
        std::vector<int> ids;
        for (const auto& r : records) ids.push_back(r.UID);
        rec("Safe_ListRoomUsers", roomId, list(ids));
    }
    void Safe_MoveMeToRoomId(int roomId) override { rec("Safe_MoveMeToRoomId", roomId); }
    void Safe_BreakoutRoomsStatus(bool allowed) override { rec("Safe_BreakoutRoomsStatus", allowed); }

    // ---- library
    void Safe_LoadSharedDocs(const std::vector<TFileInfo>& files) override {
        rec("Safe_LoadSharedDocs", list(names(files)));
    }
    void Safe_LoadInternetLinks(const std::vector<TFileInfo>& links) override {
        rec("Safe_LoadInternetLinks", list(names(links)));
    }
    void Safe_LoadPresentations(const std::vector<TFileInfo1>& presentations) override {
        rec("Safe_LoadPresentations", list(names(presentations)));
    }
    void Safe_DisplayDocOpenRequest(const std::string& fileName, int userId,
                                    const std::string& details) override {
        rec("Safe_DisplayDocOpenRequest", quoted(fileName), userId, quoted(details));
    }

    // ---- whiteboards
    void Safe_SwitchToBoard(int boardIndex) override { rec("Safe_SwitchToBoard", boardIndex); }
    void Safe_DeleteBoardFromList(int boardIndex) override { rec("Safe_DeleteBoardFromList", boardIndex); }
    void Safe_LoadServerBoard(const TBoardSnapshot& board) override {
        boards.push_back(board);
        rec("Safe_LoadServerBoard", board.Index, quoted(board.Title), board.Objects.size());
    }
    void Safe_LoadSingleBoard(const TBoardSnapshot& board) override {
        boards.push_back(board);
        rec("Safe_LoadSingleBoard", board.Index, quoted(board.Title), board.Objects.size());
    }
    void Safe_CreateXBoard(const TNewBoard& board, int fromUid) override {
        newBoards.push_back(board);
        rec("Safe_CreateXBoard", board.Index, quoted(board.Title), fromUid);
    }
    void Safe_PaintXObject(const TPaintObjectHeader& h, const Bytes& body) override {
        bodies.push_back(body);
        rec("Safe_PaintXObject", h.UserId, h.UpdateType, h.BoardIndex, h.LocalIndex, body.size());
    }
    void Safe_ItemReordered(int boardIndex, int localIndex, int position, int ownerUid) override {
        rec("Safe_ItemReordered", boardIndex, localIndex, position, ownerUid);
    }
    void Safe_SetBoardRotation(int boardIndex, int imageType) override {
        rec("Safe_SetBoardRotation", boardIndex, imageType);
    }
    void Safe_ClearWhiteboard(int boardIndex, int clearType) override {
        rec("Safe_ClearWhiteboard", boardIndex, clearType);
    }
    void Safe_Pointer(int boardIndex, int x, int y, bool show, int pointerIndex) override {
        rec("Safe_Pointer", boardIndex, x, y, show, pointerIndex);
    }

    // ---- screen sharing
    void Safe_AppShareRefused() override { rec("Safe_AppShareRefused"); }
    void Safe_AppShareStarted(const TAppShareStruct& share, int status) override {
        shares.push_back(share);
        rec("Safe_AppShareStarted", share.ShareUserId, status);
    }
    void Safe_StartAppSharing() override { rec("Safe_StartAppSharing"); }
    void Safe_StopAppShare(int sharerUid) override { rec("Safe_StopAppShare", sharerUid); }
    void Safe_AppShareFrame(const TAppShareFrame& header, const Bytes& body) override {
        bodies.push_back(body);
        rec("Safe_AppShareFrame", header.FrameNo, header.XorFrame, body.size());
    }
    void Safe_AppShareControl(int uid, int state) override { rec("Safe_AppShareControl", uid, state); }
    void Safe_SetAppShareControl(int state) override { rec("Safe_SetAppShareControl", state); }
    bool Safe_AppShareRemoteControlPack(const TAppShareControlPacket& p, bool buttonHeld) override {
        rec("Safe_AppShareRemoteControlPack", int{p.EventType}, p.Param1, buttonHeld);
        return buttonHeldAfterPacket;
    }
    void Safe_AppShareForce(int fromUid, int targetUid, int quality, int showFlag, int remoteControl,
                            bool forceStop) override {
        rec("Safe_AppShareForce", fromUid, targetUid, quality, showFlag, remoteControl, forceStop);
    }

private:
    static std::string quoted(const std::string& s) { return '"' + s + '"'; }
    static std::string blinkName(BlinkTarget t) {
        switch (t) {
            case BlinkTarget::WhiteboardViewButton:
                return "whiteboard";
            case BlinkTarget::WebViewButton:
                return "web";
            case BlinkTarget::SharedScreenViewButton:
                return "screen";
        }
        return "?";
    }
    template <class T>
    static std::string list(const std::vector<T>& items) {
        std::ostringstream out;
        out << '[';
        for (std::size_t i = 0; i < items.size(); ++i) out << (i ? ", " : "") << items[i];
        out << ']';
        return out.str();
    }
    template <class Record>
    static std::vector<std::string> names(const std::vector<Record>& files) {
        std::vector<std::string> out;
        for (const auto& f : files) out.push_back(f.FileName);
        return out;
    }
    template <class... Args>
    void rec(const char* name, const Args&... args) {
        std::ostringstream out;
        out << std::boolalpha << name << '(';
        [[maybe_unused]] const char* sep = "";
        ((out << sep << args, sep = ", "), ...);
        out << ')';
        calls.push_back(out.str());
    }
};

}  // namespace veltrin::test
