#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

#include "app/core/Classroom.h"
#include "app/core/DefaultFlags.h"
#include "app/core/LaunchLink.h"
#include "app/core/SessionParameters.h"

namespace veltrin {

class MainWindow;
class UserInterface;

// The application's owner of everything: the main window and its menu, the settings store, the
// session parameters and the one classroom. Turns launch links and recording files into a
// classroom and reacts to how that classroom's session ends.
class AppDelegate final : public QObject, public ClassroomDelegate {
    Q_OBJECT
public:
    struct Options {
        DefaultFlags::Storage settings;  // default: the user's preferences
        // Dialogs and the browser; default: real dialogs over the main window. Must outlive the
        // delegate.
        UserInterface* ui = nullptr;
        // Creates the classroom for a launch. Without one, links are read and checked but nothing
        // is opened.
        ClassroomFactory classroomFactory;
        // The audio device library's process lifetime: started when the delegate is created, ended
        // by applicationWillTerminate(). Either may be empty.
        std::function<void()> startAudioDevices;
        std::function<void()> stopAudioDevices;
    };

    explicit AppDelegate(Options options);
    ~AppDelegate() override;

    // Centres and shows the window; with nothing launched yet, shows the welcome area.
    void applicationDidFinishLaunching();
    void applicationWillTerminate();

    // A launch link from the desktop (a join or playback link); anything else is ignored.
    void handleGetURLEvent(const QString& link);
    // A local recording file; always accepted (the player reports unreadable files).
    bool openFile(const QString& path);
    // A command-line argument: a link, a file: URL or a path.
    void handleLaunchArgument(const QString& argument);
    // An argument handed over by a later start: brings the window forward, then handles the
    // argument once no modal dialog is open (empty: only brings the window forward).
    void receiveHandOver(const QString& argument);

    void reconnect();
    void updateMainMenu(bool showSessionItems);
    bool validateMenuItem(int tag, const QString& title) const;
    MenuContext menuContext() const;
    void chooseConnectionSpeed(int bytesPerSecond);
    void showAbout();
    void showHelp();
    static QString aboutText();

    // ClassroomDelegate
    void classroomConnectionStatus(int status) override;
    void classroomRemoveView(bool remove) override;

    int launchMode() const { return launchMode_; }
    const SessionParameters& sessionParameters() const { return session_; }
    const QString& recordingPath() const { return recordingPath_; }
    DefaultFlags& settings() { return settings_; }
    MainWindow& mainWindow() { return *window_; }
    UserInterface& ui() { return *ui_; }
    Classroom* classroom() const { return classroom_.get(); }

private:
    void handleLaunch(const LaunchLink& link);
    void deliverPendingHandOver();
    void runClassroomCommand(int tag);
    // Creates the classroom for the current launch mode and shows its view; false without one.
    bool addRoomView();
    void removeRoomView();

    Options options_;
    DefaultFlags settings_;
    SessionParameters session_;
    int launchMode_ = 2;
    QString recordingPath_;
    std::optional<QString> pendingHandOver_;
    // Declared before the classroom: the classroom's view leaves the window before either goes.
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<UserInterface> ownUi_;
    UserInterface* ui_ = nullptr;
    std::unique_ptr<Classroom> classroom_;
};

}  // namespace veltrin
