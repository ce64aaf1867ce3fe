#include "app/AppDelegate.h"

#include <QApplication>
#include <QTimer>
#include <QUrl>

#include <utility>

#include "app/MainMenu.h"
#include "app/MainWindow.h"
#include "app/MessageBoxPresenter.h"
#include "app/WelcomeArea.h"
#include "app/core/Branding.h"
#include "app/core/VeltrinTools.h"
#include "wire/Log.h"

namespace veltrin {
namespace {

constexpr int LaunchModeJoin = 0;
constexpr int LaunchModeRecordingFile = 3;
constexpr int HandOverRetryMs = 250;

}  // namespace

AppDelegate::AppDelegate(Options options)
    : options_(std::move(options)), settings_(options_.settings), window_(std::make_unique<MainWindow>()) {
    if (options_.startAudioDevices) options_.startAudioDevices();
    if (options_.ui != nullptr) {
        ui_ = options_.ui;
    } else {
        ownUi_ = std::make_unique<MessageBoxPresenter>(window_.get());
        ui_ = ownUi_.get();
    }

    MainMenu& menu = window_->mainMenu();
    menu.setValidator([this](int tag, const QString& title) { return validateMenuItem(tag, title); });
    connect(&menu, &MainMenu::classroomCommand, this, &AppDelegate::runClassroomCommand);
    connect(&menu, &MainMenu::reconnectRequested, this, &AppDelegate::reconnect);
    connect(&menu, &MainMenu::connectionSpeedChosen, this, &AppDelegate::chooseConnectionSpeed);
    connect(&menu, &MainMenu::aboutRequested, this, &AppDelegate::showAbout);
    connect(&menu, &MainMenu::helpRequested, this, &AppDelegate::showHelp);
    connect(&menu, &MainMenu::quitRequested, this, [this] { ui_->quit(); });

    WelcomeArea& welcome = window_->welcome();
    connect(&welcome, &WelcomeArea::reconnectRequested, this, &AppDelegate::reconnect);
    connect(&welcome, &WelcomeArea::closeRequested, this, [this] { ui_->quit(); });
    connect(&welcome, &WelcomeArea::helpRequested, this, &AppDelegate::showHelp);
}

AppDelegate::~AppDelegate() {
    window_->removeRoomView();
    classroom_.reset();
}

void AppDelegate::applicationDidFinishLaunching() {
    window_->centreOnScreen();
    window_->mainMenu().checkConnectionSpeed(settings_.defBytesPerSecond());
    window_->show();
    if (launchMode_ == 2) {
        window_->welcome().showStartup();
        window_->showWelcome();
        updateMainMenu(false);
    }
}

void AppDelegate::applicationWillTerminate() {
    if (options_.stopAudioDevices) options_.stopAudioDevices();
}

void AppDelegate::handleGetURLEvent(const QString& link) { handleLaunch(parseLaunchLink(link)); }

void AppDelegate::handleLaunchArgument(const QString& argument) { handleLaunch(parseLaunchLink(argument)); }

void AppDelegate::receiveHandOver(const QString& argument) {
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
    if (argument.isEmpty()) return;
    pendingHandOver_ = argument;
    deliverPendingHandOver();
}

void AppDelegate::deliverPendingHandOver() {
    if (!pendingHandOver_) return;
    // A modal dialog may belong to the classroom the new link replaces; replacing it under the
    // dialog's feet would return into a destroyed object. The latest hand-over waits for it.
    if (QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(HandOverRetryMs, this, &AppDelegate::deliverPendingHandOver);
        return;
    }
    const QString argument = *std::exchange(pendingHandOver_, std::nullopt);
    handleLaunchArgument(argument);
}

void AppDelegate::handleLaunch(const LaunchLink& link) {
    for (const QString& line : link.logLines) logLine(line.toStdString());
    switch (link.kind) {
    case LaunchKind::Ignored:
        return;
    case LaunchKind::Invalid:
        VeltrinTools::ShowSimpleMessage(*ui_, invalidUrlMessage(), QStringLiteral("Invalid URL"), QStringLiteral("OK"));
        return;
    case LaunchKind::RecordingFile:
        openFile(link.recordingPath);
        return;
    case LaunchKind::Join:
    case LaunchKind::Playback:
        break;
    }
    // The old session ends before the parameters change: its connection threads read them.
    removeRoomView();
    link.applyTo(session_);
    launchMode_ = link.launchMode;
    if (!addRoomView()) return;
    if (link.kind == LaunchKind::Join) {
        classroom_->Connect();
        updateMainMenu(true);
    } else {
        classroom_->Playback();
        updateMainMenu(false);
    }
}

bool AppDelegate::openFile(const QString& path) {
    removeRoomView();
    launchMode_ = LaunchModeRecordingFile;
    recordingPath_ = path;
    if (addRoomView()) {
        classroom_->PlaybackFile(path);
        updateMainMenu(false);
    }
    return true;
}

bool AppDelegate::addRoomView() {
    if (!options_.classroomFactory) return false;
    const ClassroomMode mode = launchMode_ == LaunchModeJoin ? ClassroomMode::Live : ClassroomMode::Playback;
    classroom_ = options_.classroomFactory(ClassroomContext{mode, session_, settings_, *ui_, *this});
    if (!classroom_) return false;
    window_->hideWelcome();
    window_->setRoomView(classroom_->view());
    classroom_->removeAllTempFiles();
    return true;
}

void AppDelegate::removeRoomView() {
    if (!classroom_) return;
    classroom_->DisconnectAndHide();
    window_->removeRoomView();
    classroom_.reset();
}

void AppDelegate::reconnect() {
    // Only a live session can be reconnected; a playback has nothing to reconnect to.
    if (!classroom_ || launchMode_ != LaunchModeJoin) return;
    removeRoomView();
    session_.resetToken();
    window_->hideWelcome();
    if (!addRoomView()) return;
    classroom_->Connect();
    updateMainMenu(true);
}

void AppDelegate::updateMainMenu(bool showSessionItems) {
    window_->mainMenu().setSessionItemsVisible(showSessionItems);
}

MenuContext AppDelegate::menuContext() const {
    if (!classroom_) return {};
    MenuContext context = classroom_->menuContext();
    context.classroomExists = true;
    return context;
}

bool AppDelegate::validateMenuItem(int tag, const QString& title) const {
    logf("menu item - %s", title.toUtf8().constData());
    return isMenuItemEnabled(tag, menuContext());
}

void AppDelegate::runClassroomCommand(int tag) {
    // Shortcuts reach items without their menu being opened, so the rule is checked here too.
    if (!classroom_ || !isMenuItemEnabled(tag, menuContext())) return;
    classroom_->performMenuCommand(tag);
}

void AppDelegate::chooseConnectionSpeed(int bytesPerSecond) {
    window_->mainMenu().checkConnectionSpeed(bytesPerSecond);
    if (classroom_ && classroom_->setConnectionSpeed(bytesPerSecond)) return;
    settings_.setDefBytesPerSecond(bytesPerSecond);
    settings_.SaveDefaultProperties();
}

QString AppDelegate::aboutText() {
    return QStringLiteral("Veltrin for Linux, Version ") + QStringLiteral(VELTRIN_VERSION) + u'\n' +
           QString::fromUtf8(branding::Copyright) + u'\n' + QLatin1String(branding::WebSite);
}

void AppDelegate::showAbout() {
    VeltrinTools::ShowSimpleMessage(*ui_, aboutText(), QStringLiteral("About Veltrin"), QStringLiteral("OK"));
}

void AppDelegate::showHelp() { ui_->openUrl(QUrl(QLatin1String(branding::SupportUrl))); }

void AppDelegate::classroomConnectionStatus(int status) {
    logLine("delegate - ");
    logf("classroom status: %d", status);
    updateMainMenu(false);
    switch (status) {
    case ClassroomStatus::ConnectFailed:
    case ClassroomStatus::ConnectionLost:
        window_->welcome().showConnectionFailed(status);
        window_->showWelcome();
        window_->mainMenu().reconnectAction().setVisible(true);
        break;
    case ClassroomStatus::Failed:
    case ClassroomStatus::TokenRefused:
    case ClassroomStatus::UserLeft:
    case ClassroomStatus::ServerEnded:
    case ClassroomStatus::Outdated:
        ui_->quit();
        break;
    default:
        break;
    }
}

void AppDelegate::classroomRemoveView(bool remove) {
    if (remove) window_->removeRoomView();
}

}  // namespace veltrin
