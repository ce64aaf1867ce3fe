#include "MainThreadMarshaller.h"

#include <QCoreApplication>
#include <QThread>

#include "classroom/MainThread.h"
#include "session/CommandHandler.h"

namespace veltrin {

std::shared_ptr<MainThreadMarshaller> MainThreadMarshaller::create(ClassroomEntryPoints& target,
                                                                   ConnectionTarget& connection) {
    return std::shared_ptr<MainThreadMarshaller>(new MainThreadMarshaller(target, connection));
}

MainThreadMarshaller::MainThreadMarshaller(ClassroomEntryPoints& target, ConnectionTarget& connection)
    : target_(&target), connection_(&connection) {}

void MainThreadMarshaller::detach() {
    target_ = nullptr;
    connection_ = nullptr;
}

// The application object is the context: it lives on the main thread for as long as any thread
// can call in, so posting to it is always valid; whether the work still has a target is decided
// when it runs.
template <typename F>
void MainThreadMarshaller::post(F&& work) {
    postToMain(QCoreApplication::instance(), [self = shared_from_this(), work = std::forward<F>(work)]() mutable {
        if (self->target_ != nullptr) work(*self->target_);
    });
}

template <typename F>
auto MainThreadMarshaller::wait(F&& work) {
    using R = std::invoke_result_t<F&, ClassroomEntryPoints&>;
    auto self = shared_from_this();
    return postAndWait(QCoreApplication::instance(), [&self, &work]() -> R {
        if (self->target_ != nullptr) return work(*self->target_);
        return R();
    });
}

// ---- ConnectionObserver

template <typename F>
void MainThreadMarshaller::waitOnConnection(F&& work) {
    auto self = shared_from_this();
    postAndWait(QCoreApplication::instance(), [&self, &work] {
        if (self->connection_ != nullptr) work(*self->connection_);
    });
}

void MainThreadMarshaller::Safe_NotifyConnectionStatusChange(int status) {
    waitOnConnection([status](ConnectionTarget& t) { t._notifyConnectionStatusChange(status); });
}

void MainThreadMarshaller::Safe_SetClientRecord(const TClientRecord& record) {
    waitOnConnection([&record](ConnectionTarget& t) { t.setClientRecord(record); });
}

void MainThreadMarshaller::Safe_UpdateNeeded(const std::string& serverVersion, const std::string& serverDate) {
    waitOnConnection([&](ConnectionTarget& t) { t.updateNeeded(serverVersion, serverDate); });
}

std::unique_ptr<FrameHandler> MainThreadMarshaller::createFrameHandler(int uid, int rid) {
    return std::make_unique<CommandHandler>(*this, uid, rid);
}

void MainThreadMarshaller::Safe_ClearGreenTics() {
    waitOnConnection([](ConnectionTarget& t) { t.clearGreenTics(); });
}

bool MainThreadMarshaller::isMainThread() const {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

// ---- session

void MainThreadMarshaller::Safe_JoinedVirtualRoom(std::int32_t roomId, const TRoomHeader& roomHeader,
                                                  const TClientRecord& clientRecord) {
    post([roomId, roomHeader, clientRecord](ClassroomEntryPoints& t) {
        t.Safe_JoinedVirtualRoom(roomId, roomHeader, clientRecord);
    });
}
void MainThreadMarshaller::Safe_JoinedVirtualRoomDenied(int result) {
    post([result](ClassroomEntryPoints& t) { t.Safe_JoinedVirtualRoomDenied(result); });
}
void MainThreadMarshaller::Safe_Disconnect(const std::string& message) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_Disconnect(message); });
}
void MainThreadMarshaller::Safe_ProcessTokenError(int result) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_ProcessTokenError(result); });
}
void MainThreadMarshaller::Safe_SetHostAccountType(int type) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetHostAccountType(type); });
}
void MainThreadMarshaller::Safe_SetHostAccountInt(int value) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetHostAccountInt(value); });
}
void MainThreadMarshaller::Safe_SetAccountDataEx(const TAccountDataEx& accountData) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetAccountDataEx(accountData); });
}
void MainThreadMarshaller::Safe_SetMikesCount(int count) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetMikesCount(count); });
}
bool MainThreadMarshaller::Safe_GetNoticeSetting(NoticeSetting setting) {
    return wait([&](ClassroomEntryPoints& t) { return t.Safe_GetNoticeSetting(setting); });
}
void MainThreadMarshaller::Safe_SetView(int view) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetView(view); });
}
void MainThreadMarshaller::Safe_BlinkView(BlinkTarget target) {
    post([target](ClassroomEntryPoints& t) { t.Safe_BlinkView(target); });
}
void MainThreadMarshaller::Safe_DisplayToast(const std::string& text, double seconds) {
    post([text, seconds](ClassroomEntryPoints& t) { t.Safe_DisplayToast(text, seconds); });
}
void MainThreadMarshaller::Safe_PlaySound(const std::string& name) {
    post([name](ClassroomEntryPoints& t) { t.Safe_PlaySound(name); });
}
void MainThreadMarshaller::Safe_NavigateToUrl(const std::string& url, int userId) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_NavigateToUrl(url, userId); });
}
void MainThreadMarshaller::Safe_NotifyRecorder(int commandId, int result) {
    post([commandId, result](ClassroomEntryPoints& t) { t.Safe_NotifyRecorder(commandId, result); });
}

// The send-backs go straight to the connection, which is safe from any thread; only finding the
// connection needs the main thread, and the target answers that without waiting on anything.
void MainThreadMarshaller::send_ContentDoneToUid(int uid) {
    wait([&](ClassroomEntryPoints& t) { t.send_ContentDoneToUid(uid); });
}
void MainThreadMarshaller::send_LoadBreakoutRooms() {
    wait([](ClassroomEntryPoints& t) { t.send_LoadBreakoutRooms(); });
}
void MainThreadMarshaller::send_ListUsersOfRoomId(int roomId) {
    wait([&](ClassroomEntryPoints& t) { t.send_ListUsersOfRoomId(roomId); });
}

// ---- participants

std::optional<TUserItem> MainThreadMarshaller::Safe_GetUserByID(int uid) {
    return wait([&](ClassroomEntryPoints& t) { return t.Safe_GetUserByID(uid); });
}
bool MainThreadMarshaller::Safe_ModifyUser(int uid, const std::function<void(TUserItem&)>& change) {
    return wait([&](ClassroomEntryPoints& t) { return t.Safe_ModifyUser(uid, change); });
}
void MainThreadMarshaller::Safe_AddUserItem(const TUserItem& item) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_AddUserItem(item); });
}
void MainThreadMarshaller::Safe_RemoveUserItem(int uid) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_RemoveUserItem(uid); });
}
void MainThreadMarshaller::Safe_UpdateUserListView(bool resort) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_UpdateUserListView(resort); });
}
void MainThreadMarshaller::Safe_UpdateMyControls() {
    wait([](ClassroomEntryPoints& t) { t.Safe_UpdateMyControls(); });
}
void MainThreadMarshaller::Safe_SetVoiceAllowed(bool allowed) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetVoiceAllowed(allowed); });
}
void MainThreadMarshaller::Safe_SetBoardAllowed(bool allowed) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetBoardAllowed(allowed); });
}
void MainThreadMarshaller::Safe_SetVideoAllowed(bool allowed) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetVideoAllowed(allowed); });
}
void MainThreadMarshaller::Safe_SetMikeStatus(int uid, int status) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetMikeStatus(uid, status); });
}
void MainThreadMarshaller::Safe_UpdateAudioStatusOfUser(int uid, int status) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_UpdateAudioStatusOfUser(uid, status); });
}
void MainThreadMarshaller::Safe_UpdateBoardStatusOfUser(int uid, bool allowed) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_UpdateBoardStatusOfUser(uid, allowed); });
}
void MainThreadMarshaller::Safe_UpdateMotionStatus(int uid, int motion) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_UpdateMotionStatus(uid, motion); });
}
void MainThreadMarshaller::Safe_UpdateMotionStatusDecFirst(int uid, int motion, bool decFirst) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_UpdateMotionStatusDecFirst(uid, motion, decFirst); });
}
void MainThreadMarshaller::Safe_ClearMotions() {
    wait([](ClassroomEntryPoints& t) { t.Safe_ClearMotions(); });
}
void MainThreadMarshaller::Safe_SetGreenTickToUser(int uid) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetGreenTickToUser(uid); });
}
void MainThreadMarshaller::Safe_SetOnlineStatusToUser(int uid, int status) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetOnlineStatusToUser(uid, status); });
}
void MainThreadMarshaller::Safe_ToggleModeratorStatusOfUser(int uid, int userType) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_ToggleModeratorStatusOfUser(uid, userType); });
}
void MainThreadMarshaller::Safe_UpdateVideoStatus(int uid, bool isOn) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_UpdateVideoStatus(uid, isOn); });
}
void MainThreadMarshaller::Safe_Kick(const std::string& reason) {
    post([reason](ClassroomEntryPoints& t) { t.Safe_Kick(reason); });
}
void MainThreadMarshaller::Safe_StartMic() {
    wait([](ClassroomEntryPoints& t) { t.Safe_StartMic(); });
}
void MainThreadMarshaller::Safe_StopMic() {
    wait([](ClassroomEntryPoints& t) { t.Safe_StopMic(); });
}

// ---- chat, notes and polls

void MainThreadMarshaller::Safe_UpdateTextView(const TTextMessage& message) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_UpdateTextView(message); });
}
void MainThreadMarshaller::Safe_AddNotificationMessage(const std::string& text) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_AddNotificationMessage(text); });
}
void MainThreadMarshaller::Safe_AddErrorMessage(const std::string& text) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_AddErrorMessage(text); });
}
void MainThreadMarshaller::Safe_SetChatStatus(int status) {
    post([status](ClassroomEntryPoints& t) { t.Safe_SetChatStatus(status); });
}
void MainThreadMarshaller::Safe_SetNotesStatus(int status) {
    post([status](ClassroomEntryPoints& t) { t.Safe_SetNotesStatus(status); });
}
void MainThreadMarshaller::Safe_ClearTextChatLog() {
    post([](ClassroomEntryPoints& t) { t.Safe_ClearTextChatLog(); });
}
void MainThreadMarshaller::Safe_RunPoll(const TPingPacket& packet) {
    post([packet](ClassroomEntryPoints& t) { t.Safe_RunPoll(packet); });
}
void MainThreadMarshaller::Safe_ShowPollResultFromUser(int uid, int answer) {
    post([uid, answer](ClassroomEntryPoints& t) { t.Safe_ShowPollResultFromUser(uid, answer); });
}

// ---- breakout rooms

void MainThreadMarshaller::Safe_ListTempRooms(const std::vector<TRoomHeader>& rooms) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_ListTempRooms(rooms); });
}
void MainThreadMarshaller::Safe_ListRoomUsers(int roomId, const std::vector<TClientRecord>& users) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_ListRoomUsers(roomId, users); });
}
void MainThreadMarshaller::Safe_MoveMeToRoomId(int roomId) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_MoveMeToRoomId(roomId); });
}
void MainThreadMarshaller::Safe_BreakoutRoomsStatus(bool allowed) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_BreakoutRoomsStatus(allowed); });
}

// ---- resource library

void MainThreadMarshaller::Safe_LoadSharedDocs(const std::vector<TFileInfo>& files) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_LoadSharedDocs(files); });
}
void MainThreadMarshaller::Safe_LoadInternetLinks(const std::vector<TFileInfo>& links) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_LoadInternetLinks(links); });
}
void MainThreadMarshaller::Safe_LoadPresentations(const std::vector<TFileInfo1>& presentations) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_LoadPresentations(presentations); });
}
void MainThreadMarshaller::Safe_DisplayDocOpenRequest(const std::string& fileName, int userId,
                                                      const std::string& details) {
    post([fileName, userId, details](ClassroomEntryPoints& t) {
        t.Safe_DisplayDocOpenRequest(fileName, userId, details);
    });
}

// ---- whiteboards

void MainThreadMarshaller::Safe_SwitchToBoard(int boardIndex) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SwitchToBoard(boardIndex); });
}
void MainThreadMarshaller::Safe_DeleteBoardFromList(int boardIndex) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_DeleteBoardFromList(boardIndex); });
}
void MainThreadMarshaller::Safe_LoadServerBoard(const TBoardSnapshot& board) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_LoadServerBoard(board); });
}
void MainThreadMarshaller::Safe_LoadSingleBoard(const TBoardSnapshot& board) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_LoadSingleBoard(board); });
}
void MainThreadMarshaller::Safe_CreateXBoard(const TNewBoard& board, int fromUid) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_CreateXBoard(board, fromUid); });
}
void MainThreadMarshaller::Safe_PaintXObject(const TPaintObjectHeader& header, const Bytes& body) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_PaintXObject(header, body); });
}
void MainThreadMarshaller::Safe_ItemReordered(int boardIndex, int localIndex, int position, int ownerUid) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_ItemReordered(boardIndex, localIndex, position, ownerUid); });
}
void MainThreadMarshaller::Safe_SetBoardRotation(int boardIndex, int imageType) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetBoardRotation(boardIndex, imageType); });
}
void MainThreadMarshaller::Safe_ClearWhiteboard(int boardIndex, int clearType) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_ClearWhiteboard(boardIndex, clearType); });
}
void MainThreadMarshaller::Safe_Pointer(int boardIndex, int x, int y, bool show, int pointerIndex) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_Pointer(boardIndex, x, y, show, pointerIndex); });
}

// ---- screen sharing

void MainThreadMarshaller::Safe_AppShareRefused() {
    wait([](ClassroomEntryPoints& t) { t.Safe_AppShareRefused(); });
}
void MainThreadMarshaller::Safe_AppShareStarted(const TAppShareStruct& share, int status) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_AppShareStarted(share, status); });
}
void MainThreadMarshaller::Safe_StartAppSharing() {
    wait([](ClassroomEntryPoints& t) { t.Safe_StartAppSharing(); });
}
void MainThreadMarshaller::Safe_StopAppShare(int sharerUid) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_StopAppShare(sharerUid); });
}
void MainThreadMarshaller::Safe_AppShareFrame(const TAppShareFrame& header, const Bytes& body) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_AppShareFrame(header, body); });
}
void MainThreadMarshaller::Safe_AppShareControl(int uid, int state) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_AppShareControl(uid, state); });
}
void MainThreadMarshaller::Safe_SetAppShareControl(int state) {
    wait([&](ClassroomEntryPoints& t) { t.Safe_SetAppShareControl(state); });
}
bool MainThreadMarshaller::Safe_AppShareRemoteControlPack(const TAppShareControlPacket& packet, bool buttonHeld) {
    return wait([&](ClassroomEntryPoints& t) { return t.Safe_AppShareRemoteControlPack(packet, buttonHeld); });
}
void MainThreadMarshaller::Safe_AppShareForce(int fromUid, int targetUid, int quality, int showFlag, int remoteControl,
                                              bool forceStop) {
    post([=](ClassroomEntryPoints& t) {
        t.Safe_AppShareForce(fromUid, targetUid, quality, showFlag, remoteControl, forceStop);
    });
}

}  // namespace veltrin
