#include "ClassroomViewController.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUrl>
#include <QToolButton>
#include <QUrlQuery>

#include <thread>

#include "app/core/DefaultFlags.h"
#include "app/core/UserInterface.h"
#include "app/core/VeltrinTools.h"
#include "classroom/ClassroomView.h"
#include "classroom/MainLink.h"
#include "classroom/MainThread.h"
#include "classroom/PushToTalkMonitor.h"
#include "audio/PortAudioDeviceFactory.h"
#include "classroom/participants/MyControls.h"
#include "classroom/whiteboard/WhiteboardFeature.h"
#include "session/ConnectorSettings.h"
#include "wire/Handshake.h"
#include "wire/Log.h"

namespace veltrin {
namespace {

constexpr int kConnectTimeoutMs = 4000;
constexpr int kSessionTimerMs = 20000;
constexpr char kDownloadPage[] = "https://www.veltrin.example/downloads";

// Commands that ask for the speaking channel and give it back.
constexpr int kObtainSpeakingChannel = 6;
constexpr int kReleaseSpeakingChannel = 7;

QString qs(const std::string& s) { return QString::fromStdString(s); }

bool isSuccess(int result) { return result == 0 || result == 400; }

// What the connect thread works from: a copy taken on the main thread, so that the thread never
// reads state the main thread may change.
struct ConnectJob {
    std::string host;
    int port1 = 0;
    int port2 = 0;
    int port3 = 0;
    std::string userName;
    std::string password;
    int roomId = 0;
    std::string token;
    bool sendToken = false;
};

}  // namespace

ClassroomViewController::ClassroomViewController(const ClassroomContext& context)
    : mode_(context.mode),
      session_(context.session),
      settings_(context.settings),
      ui_(context.ui),
      delegate_(context.delegate),
      view_(new ClassroomView) {
    marshaller_ = MainThreadMarshaller::create(*this, *this);
    sidePanel_ = std::make_unique<ClassroomSidePanel>(static_cast<SidePanelHost&>(*this), ui_, *view_);
    WhiteboardLinks boardLinks;
    boardLinks.connection = [this] { return liveConnection(); };
    boardLinks.boardAllowed = [this] { return participants().boardAllowed(); };
    boardLinks.fullNameOf = [this](int uid) {
        const TUserItem* user = participants().findUser(uid);
        return user ? qs(user->FullName) : QString();
    };
    boardLinks.live = [this] { return mode_ == ClassroomMode::Live; };
    boardLinks.userType = [this] { return clientRecord_.UserTypeID; };
    boardLinks.ui = &ui_;
    boardLinks.toast = [this](const std::string& text, double seconds) { Safe_DisplayToast(text, seconds); };
    boardLinks.errorMessage = [this](const std::string& text) { Safe_AddErrorMessage(text); };
    // A board shown while the whiteboard is the chosen view brings the whiteboard page up.
    boardLinks.showWhiteboardView = [this] {
        if (currentClassroomView_ == ClassroomPage::Whiteboard) _setView(ClassroomPage::Whiteboard);
    };
    boardLinks.blinkWhiteboardView = [this] { Safe_BlinkView(BlinkTarget::WhiteboardViewButton); };
    whiteboard_ = std::make_unique<WhiteboardFeature>(std::move(boardLinks), settings_, *view_);
    audio_ = std::make_unique<AudioFeature>(static_cast<AudioFeatureHost&>(*this), settings_,
                                            std::make_shared<audio::PortAudioDeviceFactory>());
    audio_->attachVolumeControls(view_->volumeControls());
    sessionTimer_.setInterval(kSessionTimerMs);
    connect(&sessionTimer_, &QTimer::timeout, this, &ClassroomViewController::onSessionTimer);
    connect(view_, &ClassroomView::exitRequested, this, &ClassroomViewController::acDisconnect);
    connect(view_, &ClassroomView::controlTriggered, this, &ClassroomViewController::onControl);
    installKeyMonitors();
    UpdateTheInterface();
}

ClassroomViewController::~ClassroomViewController() {
    removeKeyMonitors();
    audio_.reset();
    marshaller_->detach();
    retire(std::move(link_));
    whiteboard_.reset();
    sidePanel_.reset();
    delete view_.data();
    logLine("DEALLOC roomview - deallocked");
}

QWidget* ClassroomViewController::view() { return view_; }

TSocketConnector* ClassroomViewController::connector() const { return link_ ? link_->connector.get() : nullptr; }

bool ClassroomViewController::isConnected() const {
    const TSocketConnector* c = connector();
    return c != nullptr && !c->isReaderTerminated();
}

void ClassroomViewController::setStatusText(const QString& text) {
    logf("status line: %s", qPrintable(text));
    if (view_) view_->setStatusText(text);
}

// ---- connect sequence

void ClassroomViewController::Connect() {
    if (view_) view_->showHud(tr("Connecting..."));
    mode_ = ClassroomMode::Live;
    if (!link_) {
        link_ = std::make_shared<MainLink>();
        link_->marshaller = marshaller_;
        link_->connector = std::make_unique<TSocketConnector>(*marshaller_, connectorSettingsFrom(settings_));
    }
    {
        std::lock_guard lock(link_->mutex);
        link_->connecting = true;
    }

    ConnectJob job;
    job.host = session_.Host.toStdString();
    job.port1 = session_.Port1;
    job.port2 = session_.Port2;
    job.port3 = session_.Port3;
    job.userName = session_.UserName.toStdString();
    job.password = session_.Password.toStdString();
    job.roomId = session_.RoomID;
    job.sendToken = session_.hasEntryToken();
    job.token = session_.Token.toStdString();

    auto scope = std::make_unique<LinkThreadScope>();
    QPointer<ClassroomViewController> self(this);
    std::thread([link = link_, job = std::move(job), self, scope = std::move(scope)]() mutable {
        QObject* app = QCoreApplication::instance();
        TSocketConnector& connector = *link->connector;
        auto connectOn = [&](int port) {
            postAndWait(app, [&] {
                if (self) self->session_.ConnectedPort = port;
            });
            return connector.connectToHost(job.host, port, kConnectTimeoutMs);
        };

        int result = connectOn(job.port1);
        if (!isSuccess(result) && result != 21 && !link->isCancelled()) result = connectOn(job.port2);
        if (!isSuccess(result) && result != 21 && !link->isCancelled()) result = connectOn(job.port3);
        if (link->isCancelled()) result = 300;

        if (isSuccess(result)) {
            const int versionResult = result;
            logf("Connection Result: %d", result);
            link->marshaller->Safe_NotifyConnectionStatusChange(ConnectionStatus::Connected);
            result = connector.LogIn(job.userName, job.password, job.roomId);
            if (result == 0 && !link->isCancelled()) {
                connector.StartProcessors();
                if (versionResult == 400) {
                    postAndWait(app, [&] {
                        if (self) self->updateAvailable();
                    });
                }
                if (job.sendToken) connector.send_Token(job.token);
                connector.send_ConnectionSpeedBytesIn(1000, 2000);
                connector.send_TimeZone();
                connector.send_NeedRemotePorts();
                connector.send_JoinVirtualRoom(job.roomId);
            }
        }

        bool cancelled = false;
        {
            std::lock_guard lock(link->mutex);
            link->connecting = false;
            cancelled = link->cancelled;
        }
        if (cancelled) {
            connector.DisconnectSocket();
        } else {
            postToMain(app, [self, result] {
                if (self) self->ReceiveConnectionResult(result);
            });
        }
        link.reset();  // may destroy the connection, here rather than on the main thread
        scope.reset();
    }).detach();
}

void ClassroomViewController::updateAvailable() {
    const int answer = ui_.showMessage(
        QStringLiteral("Update available!"),
        QStringLiteral("A newer updated version of the classroom is available. Would you like to update now?"),
        {QStringLiteral("Yes"), QStringLiteral("No, Not Now.")}, MessageStyle::Informational);
    if (answer != 0) return;
    QUrl url(QString::fromLatin1(kDownloadPage));
    url.setQuery(QStringLiteral("topic=plugindownload&mac=yes"));
    ui_.openUrl(url);
    ui_.quit();
}

void ClassroomViewController::ReceiveConnectionResult(int result) {
    if (view_) view_->closeHud();
    if (result == 0) return;
    QPointer<ClassroomViewController> self(this);
    DisconnectAndHide();
    VeltrinTools::ShowSimpleMessage(ui_, VeltrinTools::TranslateErrorCode(result), QStringLiteral("Connection Failed"),
                                    QStringLiteral("OK"));
    if (!self) return;
    delegate_.classroomConnectionStatus(result == 21 ? ClassroomStatus::Outdated : ClassroomStatus::ConnectFailed);
}

void ClassroomViewController::setClientRecord(const TClientRecord& record) {
    clientRecord_ = record;
    if (TSocketConnector* c = connector()) c->setOwnFullName(record.FullName);
}

void ClassroomViewController::updateNeeded(const std::string& serverVersion, const std::string& serverDate) {
    ui_.showMessage(QStringLiteral("Update Needed"),
                    QStringLiteral("You are using an outdated version of the virtual classroom. You have to update your "
                                   "application before you can continue. You will be taken to a downloads page to do "
                                   "so. \n\nPlease download and install the latest virtual classroom and then try to "
                                   "connect again."),
                    {QStringLiteral("OK")}, MessageStyle::Informational);
    QUrl url(QString::fromLatin1(kDownloadPage));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("topic"), QStringLiteral("plugindownload"));
    query.addQueryItem(QStringLiteral("mac"), QStringLiteral("yes"));
    query.addQueryItem(QStringLiteral("v"), qs(serverVersion));
    query.addQueryItem(QStringLiteral("vd"), qs(serverDate));
    url.setQuery(query);
    ui_.openUrl(url);
    ui_.quit();
}

// ---- joined

void ClassroomViewController::Safe_JoinedVirtualRoom(std::int32_t roomId, const TRoomHeader& roomHeader,
                                                     const TClientRecord& clientRecord) {
    session_.RoomID = roomId;
    roomHeader_ = roomHeader;
    clientRecord_ = clientRecord;
    settings_.setDefMikesCount(roomHeader.MikesCount);
    masterRoomId_ = roomHeader.ID > 999 ? roomHeader.ID : 0;
    if (TSocketConnector* c = connector()) c->setOwnFullName(clientRecord.FullName);
    joinedVirtualRoom();
}

void ClassroomViewController::joinedVirtualRoom() {
    logLine("joinedVirtualRoom: selector on main thread");
    // A fresh session: nothing of an earlier join survives.
    sidePanel_->resetForJoin(clientRecord_.UID, clientRecord_.UserTypeID, mode_ == ClassroomMode::Playback);
    // Read-only until the permissions are known.
    whiteboard_->resetForJoin(clientRecord_.UID);
    whiteboard_->applyControls(true, false);
    showDisconnectionNotification_ = true;
    enterTimeStamp_ = QDateTime::currentDateTime();
    currentClassroomView_ = ClassroomPage::Whiteboard;
    SetFullScreenView(false, false);
    if (view_) view_->setClassroomName(qs(roomHeader_.Name));
    joined_ = true;
    Safe_UpdateUserListView(true);
    if (mode_ == ClassroomMode::Playback) return;

    logLine("_updateMyControls from joinedVirtualRoom");
    Safe_UpdateMyControls();

    if (TSocketConnector* c = connector()) {
        c->send_SimpleCommand(2);
        c->send_LoadServerBoards(true);
        c->send_SimpleCommand(81);
        c->send_SimpleCommand(121);
        c->send_GetBoardView();
        for (const int request : {115, 128, 139, 140, 150, 162, 152, 148}) c->send_SimpleCommand(request);
        c->send_ClientSystemRecord();
    }

    if (mode_ == ClassroomMode::Live) sessionTimer_.start();
    if (mode_ == ClassroomMode::Live) audio_->ConnectAudio();
}

void ClassroomViewController::onSessionTimer() {
    allToastsSuppressed_ = false;
    if (!enterTimeStamp_.isValid()) return;
    const qint64 seconds = enterTimeStamp_.secsTo(QDateTime::currentDateTime());
    if (seconds >= 120) Safe_DisplayToast("In this session for " + std::to_string(seconds / 60) + " minutes", 2.0);
}

void ClassroomViewController::Safe_JoinedVirtualRoomDenied(int result) {
    masterRoomId_ = 0;
    showDisconnectionNotification_ = false;
    ui_.showMessage(QStringLiteral("Unable to join virtual room."),
                    QStringLiteral("This virtual room is either not present or not active at the moment.\n\nThe code "
                                   "returend was %1.")
                        .arg(result),
                    {QStringLiteral("OK")}, MessageStyle::Informational);
}

// ---- connection status and endings

void ClassroomViewController::_notifyConnectionStatusChange(int status) {
    logf("_notifyConnectionStatusChange: %d", status);
    if (status == ConnectionStatus::Connected) {
        setStatusText(QStringLiteral("Connected to: %1:%2").arg(session_.Host).arg(session_.ConnectedPort));
        return;
    }
    setStatusText(QStringLiteral("Disconnected"));
    if (!showDisconnectionNotification_ || tokenError_) return;
    showDisconnectionNotification_ = false;
    if (status == ConnectionStatus::ReaderEnded || status == ConnectionStatus::WriterEnded) {
        QPointer<ClassroomViewController> self(this);
        ui_.showMessage(QStringLiteral("Connection Lost"),
                        QStringLiteral("You have just lost your connection. Please try to reconnect in a few moments."),
                        {QStringLiteral("Close")}, MessageStyle::Informational);
        if (!self) return;
        DisconnectAndHide();
        delegate_.classroomConnectionStatus(ClassroomStatus::ConnectionLost);
    } else {
        DisconnectAndHide();
    }
}

void ClassroomViewController::Safe_Disconnect(const std::string& message) {
    showDisconnectionNotification_ = false;
    QPointer<ClassroomViewController> self(this);
    ui_.showMessage(QStringLiteral("Disconnected"), qs(message), {QStringLiteral("OK")}, MessageStyle::Informational);
    if (!self) return;
    DisconnectAndHide();
    delegate_.classroomConnectionStatus(ClassroomStatus::ServerEnded);
}

void ClassroomViewController::Safe_ProcessTokenError(int) {
    logLine("_processTokenError");
    showDisconnectionNotification_ = false;
    tokenError_ = true;
    QPointer<ClassroomViewController> self(this);
    ui_.showMessage(QStringLiteral("Session Entry Point Already Used Once."),
                    QStringLiteral("You are trying to access a session through an entry point which you have already "
                                   "used once.\nPlease close your web browser tab and try connecting again. \nIf you "
                                   "still cannot connect please contact Veltrin Support."),
                    {QStringLiteral("Close")}, MessageStyle::Informational);
    if (!self) return;
    DisconnectAndHide();
    delegate_.classroomConnectionStatus(ClassroomStatus::TokenRefused);
}

void ClassroomViewController::acDisconnect() {
    const QString text = mode_ == ClassroomMode::Live ? QStringLiteral("Would you like to exit this Veltrin session?")
                                                      : QStringLiteral("Would you like to stop this playback session?");
    QPointer<ClassroomViewController> self(this);
    const int answer = ui_.showMessage(QStringLiteral("Exit Now?"), text, {QStringLiteral("Yes"), QStringLiteral("Cancel")},
                                       MessageStyle::Informational);
    if (!self || answer != 0) return;
    if (micActive_) Safe_StopMic();
    showDisconnectionNotification_ = false;
    DisconnectAndHide();
    delegate_.classroomConnectionStatus(ClassroomStatus::UserLeft);
}

void ClassroomViewController::DisconnectAndHide() {
    showDisconnectionNotification_ = false;
    removeKeyMonitors();
    removeAllTempFiles();
    if (isConnected() && micActive_) connector()->send_SimpleCommand(kReleaseSpeakingChannel);
    micActive_ = false;
    audio_->dropConnector();
    retire(std::move(link_));
    link_.reset();
    sidePanel_->resetForJoin(clientRecord_.UID, clientRecord_.UserTypeID, mode_ == ClassroomMode::Playback);
    if (view_) view_->closeHud();
    enterTimeStamp_ = QDateTime();
    joined_ = false;
    sessionTimer_.stop();
    SetFullScreenView(false, false);
    delegate_.classroomRemoveView(true);
}

void ClassroomViewController::removeAllTempFiles() {
    QDir dir(VeltrinTools::getVeltrinTempDir());
    if (!tempRecName_.isEmpty() && QFile::exists(tempRecName_)) logLine(QFile::remove(tempRecName_) ? "Yes" : "No");
    const QStringList entries = dir.entryList(QDir::Files | QDir::NoDotAndDotDot);
    logf("Items Count to Delete: %lu", static_cast<unsigned long>(entries.size()));
    for (const QString& name : entries) {
        if (QFileInfo(name).suffix() == QLatin1String("wbf")) dir.remove(name);
    }
    // This classroom's board files live in a folder of its own.
    if (whiteboard_) whiteboard_->boards().files().removeAll();
}

// ---- push-to-talk

void ClassroomViewController::installKeyMonitors() {
    keyMonitor_ = std::make_unique<PushToTalkMonitor>(
        [this](int key, bool down, bool repeat) { return handlePushToTalkKey(key, down, repeat); });
}

void ClassroomViewController::removeKeyMonitors() { keyMonitor_.reset(); }

bool ClassroomViewController::handlePushToTalkKey(int virtualKey, bool down, bool isRepeat) {
    if (virtualKey != settings_.defPushToTalkKey()) return false;
    if (audioState_ != 0 || !participants().voiceAllowed() || !micCaptureRunning_) return false;
    TSocketConnector* c = isConnected() ? connector() : nullptr;
    if (down) {
        if (!micActive_ && !isRepeat && c != nullptr) c->send_SimpleCommand(kObtainSpeakingChannel);
    } else if (micActive_ && c != nullptr) {
        c->send_SimpleCommand(kReleaseSpeakingChannel);
    }
    return true;
}

// ---- connection speed

void ClassroomViewController::Safe_setConnectionSpeed(int bytesPerSecond) {
    std::lock_guard lock(lock_);
    settings_.setDefBytesPerSecond(bytesPerSecond);
    settings_.SaveDefaultProperties();
}

int ClassroomViewController::Safe_getMaxAppShareDataQueue() {
    std::lock_guard lock(lock_);
    return settings_.defBytesPerSecond();
}

bool ClassroomViewController::setConnectionSpeed(int bytesPerSecond) {
    TSocketConnector* c = connector();
    if (c == nullptr) return false;
    c->setBytesPerSecond(bytesPerSecond);
    Safe_setConnectionSpeed(bytesPerSecond);
    return true;
}

// ---- what the application delegate asks

void ClassroomViewController::Playback() {
    // Recorded sessions are played by the player, which this build does not have yet.
    ui_.showMessage(QStringLiteral("Playback"), QStringLiteral("Playing recorded sessions is not available yet."),
                    {QStringLiteral("OK")}, MessageStyle::Informational);
}

void ClassroomViewController::PlaybackFile(const QString& path) {
    tempRecName_.clear();
    Q_UNUSED(path);
    Playback();
}

MenuContext ClassroomViewController::menuContext() const {
    MenuContext context;
    context.classroomExists = true;
    context.liveMode = mode_ == ClassroomMode::Live;
    context.ownUserType = clientRecord_.UserTypeID;
    context.roomAllowsAppShare = roomHeader_.AllowAppShare;
    context.videoAllowed = participants().videoAllowed();
    return context;
}

void ClassroomViewController::performMenuCommand(int tag) {
    // The Share items act only while their tool bar button is enabled.
    auto shareThrough = [&](ClassroomControl control, const std::function<void()>& action) {
        if (view_ && view_->button(control)->isEnabled())
            action();
        else
            Safe_ForceDisplayToast("Tool not allowed.", 1.5);
    };
    ParticipantActions& actions = sidePanel_->actions();
    switch (tag) {
    case MenuTag::MotionHand:
    case MenuTag::MotionSmile:
    case MenuTag::MotionClap:
    case MenuTag::MotionYes:
    case MenuTag::MotionNo:
        actions.acMotion(tag - 500);
        break;
    case MenuTag::ClearMotions:
        actions.acClearMotions();
        break;
    case MenuTag::PingWithSound:
        actions.PingUsers(1);
        break;
    case MenuTag::PingSilent:
        actions.PingUsers(0);
        break;
    case MenuTag::MicrophoneToAll:
    case MenuTag::MicrophoneFromAll:
        actions.SetMicrophoneAccessToAll(tag == MenuTag::MicrophoneToAll);
        break;
    case MenuTag::GiveBoardAccessToAll:
    case MenuTag::TakeBoardAccessFromAll:
        actions.SetBoardAccessToAll(tag == MenuTag::GiveBoardAccessToAll);
        break;
    case MenuTag::NewWhiteboard:
        whiteboard_->wbacNewWhiteboard();
        break;
    case MenuTag::RemoveWhiteboard:
        whiteboard_->wbacRemoveWhiteboard();
        break;
    case MenuTag::RemoveAllWhiteboards:
        whiteboard_->wbacRemoveAllBoards();
        break;
    case MenuTag::RemoveMarkup:
        whiteboard_->wbacRemoveMarkup();
        break;
    case MenuTag::ToggleMarkup:
        whiteboard_->acwbToggleMarkup();
        break;
    case MenuTag::ScaleNone:
        whiteboard_->acWBScale(wb::kNoScaling);
        break;
    case MenuTag::ScaleFitWidth:
        whiteboard_->acWBScale(wb::kFitWidth);
        break;
    case MenuTag::ScaleFitAll:
        whiteboard_->acWBScale(wb::kFitBoard);
        break;
    case MenuTag::ExportCurrentWhiteboard:
        whiteboard_->exportCurrentBoard();
        break;
    case MenuTag::ExportAllWhiteboards:
        whiteboard_->ExportAllBoardsToPDFFile();
        break;
    case MenuTag::AudioTest:
        audio_->acAudioTest();
        break;
    case MenuTag::ReconnectAudio:
        audio_->reconnectAudio();
        break;
    case MenuTag::SaveTextMessages:
        sidePanel_->chat().SaveTextMessagesToFile();
        break;
    case MenuTag::ClearTextMessages:
        sidePanel_->chat().ClearTextMessages();
        break;
    case MenuTag::ShareWebTour:
        shareThrough(ClassroomControl::WebView, [&] { acSwitchToView(ClassroomPage::WebBrowser); });
        break;
    case MenuTag::SharePresentations:
        shareThrough(ClassroomControl::Presentations, [&] { onControl(ClassroomControl::Presentations); });
        break;
    case MenuTag::ShareResourceLibrary:
        shareThrough(ClassroomControl::FileLibrary, [&] { onControl(ClassroomControl::FileLibrary); });
        break;
    default:
        Safe_ForceDisplayToast("Tool not allowed.", 1.5);
        break;
    }
}

// ---- participants and chat: the side panel's models

OutgoingCommands* ClassroomViewController::liveConnection() {
    if (mode_ != ClassroomMode::Live || !isConnected()) return nullptr;
    return connector();
}

void ClassroomViewController::setLocalUserType(int userType) { clientRecord_.UserTypeID = userType; }

std::optional<TUserItem> ClassroomViewController::Safe_GetUserByID(int uid) {
    return sidePanel_->participants().getUserByID(uid);
}
bool ClassroomViewController::Safe_ModifyUser(int uid, const std::function<void(TUserItem&)>& change) {
    return sidePanel_->participants().modifyUser(uid, change);
}
void ClassroomViewController::Safe_AddUserItem(const TUserItem& item) { sidePanel_->participants().addUserItem(item); }
void ClassroomViewController::Safe_RemoveUserItem(int uid) { sidePanel_->participants().removeUserItem(uid); }
void ClassroomViewController::Safe_UpdateUserListView(bool resort) {
    sidePanel_->participants().updateUserListView(resort);
}
void ClassroomViewController::Safe_SetVoiceAllowed(bool allowed) { sidePanel_->participants().setVoiceAllowed(allowed); }
void ClassroomViewController::Safe_SetBoardAllowed(bool allowed) { sidePanel_->participants().setBoardAllowed(allowed); }
void ClassroomViewController::Safe_SetVideoAllowed(bool allowed) { sidePanel_->participants().setVideoAllowed(allowed); }

void ClassroomViewController::Safe_UpdateMyControls() { applyMyControls(); }

void ClassroomViewController::applyMyControls() {
    const ParticipantModel& model = participants();
    MyControlInputs in;
    in.userType = clientRecord_.UserTypeID;
    in.playback = mode_ == ClassroomMode::Playback;
    in.voiceAllowed = model.voiceAllowed();
    in.boardAllowed = model.boardAllowed();
    in.videoAllowed = model.videoAllowed();
    in.breakoutRoomsAllowed = model.breakoutRoomsAllowed();
    in.roomAllowsRecordings = roomHeader_.AllowRecordings;
    in.roomAllowsAppShare = roomHeader_.AllowAppShare;
    const MyControlStates st = computeMyControls(in);
    whiteboard_->applyControls(st.canvasReadOnly, st.whiteboardToolBarVisible);
    if (!view_ || in.playback) return;
    using C = ClassroomControl;
    view_->setControlVisible(C::ClearMotions, st.clearMotionsVisible);
    view_->setControlVisible(C::RecorderPause, st.recorderPauseVisible);
    view_->setControlVisible(C::RecorderStartStop, st.recorderStartStopVisible);
    view_->setControlEnabled(C::Microphone, st.microphoneEnabled);
    view_->setControlEnabled(C::SharedScreenView, st.sharedScreenViewEnabled);
    for (const C c : {C::WebView, C::WhiteboardView, C::FileLibrary, C::Presentations, C::Polling})
        view_->setControlEnabled(c, st.moderatorToolsEnabled);
    view_->setControlEnabled(C::MyWebcam, st.myWebcamEnabled);
    view_->setControlEnabled(C::Breakout, st.breakoutRoomsEnabled);
    view_->setControlVisible(C::Notes, st.notesAccessVisible);
}

void ClassroomViewController::Safe_SetMikesCount(int count) {
    settings_.setDefMikesCount(count);
    roomHeader_.MikesCount = count;
}

bool ClassroomViewController::Safe_GetNoticeSetting(NoticeSetting setting) {
    switch (setting) {
    case NoticeSetting::ShowNotificationsInChat:
        return settings_.defShowNotificationsInChat();
    case NoticeSetting::BeepOnEnter:
        return settings_.defBeepOnEnter();
    case NoticeSetting::BeepOnExit:
        return settings_.defBeepOnExit();
    case NoticeSetting::BeepOnMessages:
        return settings_.defBeepOnMessages();
    case NoticeSetting::BeepOnMotions:
        return settings_.defBeepOnMotions();
    }
    return false;
}

void ClassroomViewController::Safe_DisplayToast(const std::string& text, double seconds) {
    if (allToastsSuppressed_) return;
    Safe_ForceDisplayToast(text, seconds);
}

void ClassroomViewController::Safe_ForceDisplayToast(const std::string& text, double seconds) {
    if (view_) view_->showToast(qs(text), seconds);
}

// ---- views

void ClassroomViewController::UpdateTheInterface() {
    isFullScreen_ = false;
    if (!view_) return;
    view_->setStatusText(QString());
    view_->setPlaybackMode(mode_ == ClassroomMode::Playback);
    audio_->setPlaybackMode(mode_ == ClassroomMode::Playback);
    view_->setCounters(0, 0, 0);
}

void ClassroomViewController::acSwitchToView(int view) {
    if (mode_ == ClassroomMode::Live && clientRecord_.UserTypeID >= 1) {
        if (TSocketConnector* c = isConnected() ? connector() : nullptr) c->send_SetCurrentView(view);
        return;
    }
    _setView(view);
    displayToastForView(view);
}

void ClassroomViewController::displayToastForView(int view) {
    static const char* const kNames[] = {"Whiteboard", "Guided Web Browser", "Shared Screen"};
    if (view >= 0 && view < 3) Safe_DisplayToast(kNames[view], 1.0);
}

void ClassroomViewController::Safe_SetView(int view) { _setView(view); }

void ClassroomViewController::_setView(int view) {
    if (view != currentClassroomView_ && isFullScreen_) SetFullScreenView(false, true);
    if (view_) {
        const int before = view_->visiblePage();
        if (view == ClassroomPage::SharedScreen || view == ClassroomPage::WebBrowser ||
            (view == ClassroomPage::Whiteboard && view_->hasWhiteboardCanvas()))
            view_->showPage(view);
        const int after = view_->visiblePage();
        if (after != before) {
            static const char* const kToasts[] = {"Whiteboard View", "Guided Web Browser", "Screen Sharing View"};
            Safe_DisplayToast(kToasts[after], 1.5);
        }
    }
    currentClassroomView_ = view;
}

void ClassroomViewController::acFullScreen() { SetFullScreenView(!isFullScreen_, true); }

void ClassroomViewController::SetFullScreenView(bool on, bool) {
    isFullScreen_ = on;
    if (view_) view_->setFullScreenView(on);
}

void ClassroomViewController::Safe_BlinkView(BlinkTarget target) {
    if (!view_) return;
    switch (target) {
    case BlinkTarget::WhiteboardViewButton:
        view_->blinkControl(ClassroomControl::WhiteboardView);
        break;
    case BlinkTarget::WebViewButton:
        view_->blinkControl(ClassroomControl::WebView);
        break;
    case BlinkTarget::SharedScreenViewButton:
        view_->blinkControl(ClassroomControl::SharedScreenView);
        break;
    }
}

void ClassroomViewController::onControl(ClassroomControl control) {
    switch (control) {
    case ClassroomControl::WhiteboardView:
        acSwitchToView(ClassroomPage::Whiteboard);
        break;
    case ClassroomControl::WebView:
        acSwitchToView(ClassroomPage::WebBrowser);
        break;
    case ClassroomControl::SharedScreenView:
        acSwitchToView(ClassroomPage::SharedScreen);
        break;
    case ClassroomControl::FullScreen:
        acFullScreen();
        break;
    case ClassroomControl::Notes:
        sidePanel_->toggleNotes();
        break;
    case ClassroomControl::ClearMotions:
        sidePanel_->actions().acClearMotions();
        break;
    case ClassroomControl::Microphone:
        if (mode_ == ClassroomMode::Live) audio_->acMic();
        break;
    case ClassroomControl::AudioTest:
        audio_->acAudioTest();
        break;
    default:
        // The other tools arrive with their features.
        Safe_ForceDisplayToast("Tool not allowed.", 1.5);
        break;
    }
}

void ClassroomViewController::send_ContentDoneToUid(int uid) {
    if (isConnected()) connector()->send_ContentDoneToUid(uid);
}

void ClassroomViewController::send_LoadBreakoutRooms() {
    if (isConnected()) connector()->send_LoadBreakoutRooms();
}

void ClassroomViewController::send_ListUsersOfRoomId(int roomId) {
    if (isConnected()) connector()->send_ListUsersOfRoomId(roomId);
}

void ClassroomViewController::Safe_SetMikeStatus(int uid, int status) {
    sidePanel_->participants().setMikeStatus(uid, status);
}
void ClassroomViewController::Safe_UpdateAudioStatusOfUser(int uid, int status) {
    sidePanel_->participants().updateAudioStatusOfUser(uid, status);
}
void ClassroomViewController::Safe_UpdateBoardStatusOfUser(int uid, bool allowed) {
    sidePanel_->participants().updateBoardStatusOfUser(uid, allowed);
}
void ClassroomViewController::Safe_UpdateMotionStatus(int uid, int motion) {
    sidePanel_->participants().updateMotionStatus(uid, motion);
}
void ClassroomViewController::Safe_UpdateMotionStatusDecFirst(int uid, int motion, bool decFirst) {
    sidePanel_->participants().updateMotionStatusDecFirst(uid, motion, decFirst);
}
void ClassroomViewController::Safe_ClearMotions() { sidePanel_->participants().clearMotions(); }
void ClassroomViewController::clearGreenTics() { sidePanel_->participants().clearGreenTics(); }
void ClassroomViewController::Safe_SetGreenTickToUser(int uid) { sidePanel_->participants().setGreenTickToUser(uid); }
void ClassroomViewController::Safe_SetOnlineStatusToUser(int uid, int status) {
    sidePanel_->participants().setOnlineStatusToUser(uid, status);
}
void ClassroomViewController::Safe_ToggleModeratorStatusOfUser(int uid, int userType) {
    sidePanel_->participants().toggleModeratorStatusOfUser(uid, userType);
}
void ClassroomViewController::Safe_UpdateVideoStatus(int uid, bool isOn) {
    sidePanel_->participants().updateVideoStatus(uid, isOn);
}
void ClassroomViewController::Safe_BreakoutRoomsStatus(bool allowed) {
    sidePanel_->participants().setBreakoutRoomsAllowed(allowed);
    applyMyControls();
}

void ClassroomViewController::Safe_UpdateTextView(const TTextMessage& message) { sidePanel_->chat().UpdateTextView(message); }
void ClassroomViewController::Safe_AddNotificationMessage(const std::string& text) {
    sidePanel_->chat().AddNotificationMessage(text);
}
void ClassroomViewController::Safe_AddErrorMessage(const std::string& text) { sidePanel_->chat().AddErrorMessage(text); }
void ClassroomViewController::Safe_SetChatStatus(int status) { sidePanel_->chat().SetChatStatus(status); }
void ClassroomViewController::Safe_SetNotesStatus(int status) { sidePanel_->chat().SetNotesStatus(status); }
void ClassroomViewController::Safe_ClearTextChatLog() { sidePanel_->chat().ClearTextChatLog(); }
// The dispatcher has already checked the Beep* setting of the notice.
void ClassroomViewController::Safe_PlaySound(const std::string& name) { sidePanel_->playSound(name); }

void ClassroomViewController::Safe_StartMic() { audio_->_startMic(); }
void ClassroomViewController::Safe_StopMic() { audio_->_stopMic(); }

void ClassroomViewController::Safe_PaintXObject(const TPaintObjectHeader& header, const Bytes& body) {
    whiteboard_->Safe_PaintXObject(header, body);
}
void ClassroomViewController::Safe_ItemReordered(int boardIndex, int localIndex, int position, int ownerUid) {
    whiteboard_->Safe_ItemReordered(boardIndex, localIndex, position, ownerUid);
}
void ClassroomViewController::Safe_Pointer(int boardIndex, int x, int y, bool show, int pointerIndex) {
    whiteboard_->Safe_Pointer(boardIndex, x, y, show, pointerIndex);
}
void ClassroomViewController::Safe_SwitchToBoard(int boardIndex) { whiteboard_->Safe_SwitchToBoard(boardIndex); }
void ClassroomViewController::Safe_DeleteBoardFromList(int boardIndex) {
    whiteboard_->Safe_DeleteBoardFromList(boardIndex);
}
void ClassroomViewController::Safe_LoadServerBoard(const TBoardSnapshot& board) {
    whiteboard_->Safe_LoadServerBoard(board);
}
void ClassroomViewController::Safe_LoadSingleBoard(const TBoardSnapshot& board) {
    whiteboard_->Safe_LoadSingleBoard(board);
}
void ClassroomViewController::Safe_CreateXBoard(const TNewBoard& board, int fromUid) {
    whiteboard_->Safe_CreateXBoard(board, fromUid);
}
void ClassroomViewController::Safe_SetBoardRotation(int boardIndex, int imageType) {
    whiteboard_->Safe_SetBoardRotation(boardIndex, imageType);
}
void ClassroomViewController::Safe_ClearWhiteboard(int boardIndex, int clearType) {
    whiteboard_->Safe_ClearWhiteboard(boardIndex, clearType);
}

void ClassroomViewController::Safe_Kick(const std::string& reason) {
    showDisconnectionNotification_ = false;
    QPointer<ClassroomViewController> self(this);
    ui_.showMessage(QStringLiteral("Removed From Session by Host"), qs(reason), {QStringLiteral("OK")},
                    MessageStyle::Informational);
    if (!self) return;
    DisconnectAndHide();
    delegate_.classroomConnectionStatus(ClassroomStatus::Failed);
}

}  // namespace veltrin
