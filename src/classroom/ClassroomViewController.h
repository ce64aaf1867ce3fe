#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "app/core/Classroom.h"
#include "app/core/SessionParameters.h"
#include "classroom/ClassroomView.h"
#include "classroom/MainThreadMarshaller.h"
#include "classroom/ClassroomSidePanel.h"
#include "classroom/audio/AudioFeature.h"
#include "session/ClassroomEntryPoints.h"
#include "wire/Records.h"

namespace veltrin {

class PushToTalkMonitor;
class WhiteboardFeature;
class TSocketConnector;
struct MainLink;

// Status codes of the main connection as the connector reports them.
namespace ConnectionStatus {
inline constexpr int Connected = 0;
inline constexpr int ConnectFailed = 1;
inline constexpr int ReaderEnded = 2;
inline constexpr int WriterEnded = 3;
}  // namespace ConnectionStatus

// The session controller of one classroom: it connects (with the port fallback), joins, reports how
// the session ends to its delegate and tears everything down. It lives on the main thread and
// owns the session state; other threads reach it only through its MainThreadMarshaller, whose
// calls arrive here as the ClassroomEntryPoints and ConnectionTarget members — so those members
// run on the main thread despite their Safe_ names. Features keep their state in classes of
// their own (the roster of participants, …); this class wires them to the session.
class ClassroomViewController final : public QObject,
                                      public Classroom,
                                      public ClassroomEntryPoints,
                                      public MainThreadMarshaller::ConnectionTarget,
                                      private SidePanelHost,
                                      private AudioFeatureHost {
    Q_OBJECT

public:
    explicit ClassroomViewController(const ClassroomContext& context);
    ~ClassroomViewController() override;

    // ---- Classroom (what the application delegate drives)
    ClassroomMode mode() const override { return mode_; }
    QWidget* view() override;
    void removeAllTempFiles() override;
    void Connect() override;
    void Playback() override;
    void PlaybackFile(const QString& path) override;
    void DisconnectAndHide() override;
    MenuContext menuContext() const override;
    void performMenuCommand(int tag) override;
    bool setConnectionSpeed(int bytesPerSecond) override;

    // ---- lifecycle on the main thread
    // The end of the connect sequence.
    void ReceiveConnectionResult(int result);
    // The user's Exit action: asks, then leaves.
    void acDisconnect();
    void onSessionTimer();
    // Stores and saves the connection speed; safe from any thread.
    void Safe_setConnectionSpeed(int bytesPerSecond);
    int Safe_getMaxAppShareDataQueue();

    // ---- views, toasts and full screen
    int currentClassroomView() const { return currentClassroomView_; }
    // A view button: moderators switch the whole room through the server, others only themselves.
    void acSwitchToView(int view);
    void _setView(int view);
    void displayToastForView(int view);
    void Safe_ForceDisplayToast(const std::string& text, double seconds);
    void acFullScreen();
    void SetFullScreenView(bool on, bool animate);
    bool isFullScreen() const { return isFullScreen_; }
    // One-time set-up of the window for the controller's mode.
    void UpdateTheInterface();

    // ---- ConnectionTarget
    void _notifyConnectionStatusChange(int status) override;
    void setClientRecord(const TClientRecord& record) override;
    void updateNeeded(const std::string& serverVersion, const std::string& serverDate) override;
    void clearGreenTics() override;

    // ---- state for the window and for tests
    const TClientRecord& clientRecord() const { return clientRecord_; }
    const TRoomHeader& roomHeader() const { return roomHeader_; }
    int masterRoomId() const { return masterRoomId_; }
    const TAccountDataEx& accountDataEx() const { return accountDataEx_; }
    const ParticipantModel& participants() const { return sidePanel_->participants(); }
    ClassroomSidePanel& sidePanel() { return *sidePanel_; }
    bool isJoined() const { return joined_; }
    bool isConnected() const;
    bool toastsSuppressed() const { return allToastsSuppressed_; }
    bool sessionTimerActive() const { return sessionTimer_.isActive(); }
    bool showsDisconnectionNotification() const override { return showDisconnectionNotification_; }
    bool micActive() const { return micActive_; }
    ClassroomView* classroomView() const { return view_; }
    WhiteboardFeature* whiteboard() const { return whiteboard_.get(); }
    AudioFeature& audio() { return *audio_; }
    // The main connection while there is one (the features send through it).
    TSocketConnector* connector() const;

    // Push-to-talk conditions that the audio channel sets (state 0 is the only one where the key
    // acts); kept here because the key monitor lives as long as the view.
    void setAudioState(int state) { audioState_ = state; }
    void setMicCaptureRunning(bool running) { micCaptureRunning_ = running; }
    // Answers whether the key was consumed.
    bool handlePushToTalkKey(int virtualKey, bool down, bool isRepeat);

    // ---- ClassroomEntryPoints, main-thread side
    void Safe_JoinedVirtualRoom(std::int32_t roomId, const TRoomHeader& roomHeader,
                                const TClientRecord& clientRecord) override;
    void Safe_JoinedVirtualRoomDenied(int result) override;
    void Safe_Disconnect(const std::string& message) override;
    void Safe_ProcessTokenError(int result) override;
    void Safe_SetHostAccountType(int type) override { hostAccountType_ = type; }
    void Safe_SetHostAccountInt(int value) override { hostAccountInt_ = value; }
    void Safe_SetAccountDataEx(const TAccountDataEx& accountData) override { accountDataEx_ = accountData; }
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

    void Safe_UpdateTextView(const TTextMessage& message) override;
    void Safe_AddNotificationMessage(const std::string& text) override;
    void Safe_AddErrorMessage(const std::string& text) override;
    void Safe_SetChatStatus(int status) override;
    void Safe_SetNotesStatus(int status) override;
    void Safe_ClearTextChatLog() override;
    void Safe_RunPoll(const TPingPacket& packet) override;
    void Safe_ShowPollResultFromUser(int uid, int answer) override;

    void Safe_ListTempRooms(const std::vector<TRoomHeader>& rooms) override;
    void Safe_ListRoomUsers(int roomId, const std::vector<TClientRecord>& users) override;
    void Safe_MoveMeToRoomId(int roomId) override;
    void Safe_BreakoutRoomsStatus(bool allowed) override;

    void Safe_LoadSharedDocs(const std::vector<TFileInfo>& files) override;
    void Safe_LoadInternetLinks(const std::vector<TFileInfo>& links) override;
    void Safe_LoadPresentations(const std::vector<TFileInfo1>& presentations) override;
    void Safe_DisplayDocOpenRequest(const std::string& fileName, int userId, const std::string& details) override;

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
    void joinedVirtualRoom();
    // Asks whether to update after the server reported a newer version.
    void updateAvailable();
    void setStatusText(const QString& text);
    void applyMyControls();

    // SidePanelHost
    OutgoingCommands* liveConnection() override;
    void displayToast(const std::string& text, double seconds) override { Safe_DisplayToast(text, seconds); }
    int localUid() const override { return clientRecord_.UID; }
    int localUserType() const override { return clientRecord_.UserTypeID; }
    void setLocalUserType(int userType) override;
    bool isPlayback() const override { return mode_ == ClassroomMode::Playback; }
    bool isMicActive() const override { return micActive_; }
    void updateMyControls() override { Safe_UpdateMyControls(); }
    void onControl(ClassroomControl control);
    void retireMainLink();
    void installKeyMonitors();
    void removeKeyMonitors();

    // AudioFeatureHost (classroom/audio/ClassroomAudio.cpp)
    OutgoingCommands* audioCommands() override;
    bool audioVoiceAllowed() const override;
    bool audioMicActive() const override { return micActive_; }
    void setAudioMicActive(bool active) override { micActive_ = active; }
    AudioConnectParameters audioConnectParameters() const override;
    void addErrorMessage(const std::string& text) override { Safe_AddErrorMessage(text); }
    void addNotificationMessage(const std::string& text) override { Safe_AddNotificationMessage(text); }
    void setMicButton(const char* image) override;
    void setMicButtonEnabled(bool enabled) override;
    void audioStateChanged(int audioState, bool microphoneUsable) override;
    QWidget* audioTestParent() override { return view_; }

    ClassroomMode mode_;
    SessionParameters& session_;
    DefaultFlags& settings_;
    UserInterface& ui_;
    ClassroomDelegate& delegate_;

    QPointer<ClassroomView> view_;
    std::shared_ptr<MainThreadMarshaller> marshaller_;
    std::shared_ptr<MainLink> link_;

    TClientRecord clientRecord_;
    TRoomHeader roomHeader_;
    TAccountDataEx accountDataEx_;
    std::unique_ptr<ClassroomSidePanel> sidePanel_;
    int masterRoomId_ = 0;
    int hostAccountType_ = 0;
    int hostAccountInt_ = 0;
    bool micActive_ = false;
    bool micCaptureRunning_ = false;
    int audioState_ = 0;
    QString tempRecName_;
    bool joined_ = false;
    bool showDisconnectionNotification_ = false;
    bool tokenError_ = false;
    bool tmpShowModeratorTips_ = true;
    bool tmpShowWelcomePageOnRejoin_ = true;
    bool allToastsSuppressed_ = true;
    int currentClassroomView_ = 0;
    bool isFullScreen_ = false;
    QTimer sessionTimer_;
    QDateTime enterTimeStamp_;
    std::unique_ptr<PushToTalkMonitor> keyMonitor_;
    std::unique_ptr<WhiteboardFeature> whiteboard_;
    std::unique_ptr<AudioFeature> audio_;

    // Guards only the stored byte rate, which capture threads read.
    mutable std::mutex lock_;
};

}  // namespace veltrin
