#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "audio/AudioConnector.h"
#include "classroom/audio/AudioSetupWindow.h"

class QWidget;

namespace veltrin {

class ClassroomVolumeControls;
class DefaultFlags;
class OutgoingCommands;

// Where the audio channel connects and as whom; taken from the session when it is first needed.
struct AudioConnectParameters {
    std::string host;
    int port = 0;  // the port the main connection got through on
    std::string userName;
    std::string password;
    int roomId = 0;
    int userId = 0;
    int codecId = 0;  // the room header's DefaultAudioCodecID, stored only
};

// What the audio feature needs of the classroom. Main thread only.
class AudioFeatureHost {
public:
    virtual ~AudioFeatureHost() = default;
    // The main connection of a live session while it is up, else nothing.
    virtual OutgoingCommands* audioCommands() = 0;
    virtual bool audioVoiceAllowed() const = 0;
    virtual bool audioMicActive() const = 0;
    virtual void setAudioMicActive(bool active) = 0;
    virtual AudioConnectParameters audioConnectParameters() const = 0;
    virtual void addErrorMessage(const std::string& text) = 0;
    virtual void addNotificationMessage(const std::string& text) = 0;
    virtual void displayToast(const std::string& text, double seconds) = 0;
    virtual void setMicButton(const char* image) = 0;
    virtual void setMicButtonEnabled(bool enabled) = 0;
    // The push-to-talk conditions the audio channel decides: its state and a working microphone.
    virtual void audioStateChanged(int audioState, bool microphoneUsable) = 0;
    // The window the setup test attaches to; nothing while there is none (tests).
    virtual QWidget* audioTestParent() = 0;
};

// The classroom's side of the audio channel: it owns the connector, connects it in the
// background, shows its status on the Mic button and in the chat, asks for and gives back the
// speaking channel, and opens the audio setup test. Main thread only; the connector's threads
// reach it through posts that are dropped once it is gone.
class AudioFeature final : public QObject {
public:
    AudioFeature(AudioFeatureHost& host, DefaultFlags& settings, std::shared_ptr<audio::AudioDeviceFactory> devices);
    ~AudioFeature() override;

    // Connects the channel on a background thread (creating the connector the first time).
    void ConnectAudio();
    // Ends the channel and keeps the connector for a later ConnectAudio.
    void DisconnectAudio();
    // Leaving the session: ends the channel and lets the connector go.
    void dropConnector();
    // The Mic button: connects when the channel is not up, else asks for or gives back the floor.
    void acMic();
    void _startMic();
    void _stopMic();
    // Reconnect audio (menu): silenced disconnect, then after a second connectTheAudioAfterWizard.
    void reconnectAudio();
    void connectTheAudioAfterWizard();
    void setShowAudioErrors(bool show) { showAudioErrors_ = show; }
    void acAudioTest();
    void acWavVolume(int step);
    void acMicVolume(int step);

    // The classroom's volume sliders: the feature sets their values from the settings, forwards
    // their moves, shows the levels while sound runs and decides which of them can be used.
    void attachVolumeControls(ClassroomVolumeControls* controls);
    // A recorded session has no microphone; its speaker volume goes to the recording's player.
    void setPlaybackMode(bool playback);
    // How the recorded-session player takes a volume step; empty while there is no player.
    void setRecordingPlayerVolume(std::function<void(int)> apply);
    // "AutoMicSettings" switched in the settings window: on fixes the microphone at the neutral
    // step and hands its level to the automatic gain.
    void applyAutomaticMicSettings(bool on);
    // Whether the level bars are being refreshed.
    bool levelsRunning() const { return levelTimer_.isActive(); }
    static constexpr int kLevelRefreshMs = 100;
    // A level not reported again within this many refreshes has gone quiet: players report only
    // while they receive sound, so their last level would otherwise stay up.
    static constexpr int kLevelHoldRefreshes = 4;

    // Safe_NotifyAudioStatusChange:Out:In:, on the main thread.
    void NotifyAudioStatusChange(int code, bool playbackOk, bool microphoneOk);
    void setMicPeak(int peak);
    void setWavPeak(int peak);
    // The stored device of that direction no longer exists: the default device is stored instead.
    void storedDeviceReset(bool input);

    int audioState() const { return audioState_; }
    bool showAudioErrors() const { return showAudioErrors_; }
    bool isConnecting() const { return connecting_; }
    bool hasConnector() const { return link_ != nullptr; }
    audio::AudioConnector* connector() const;
    const std::string& micImage() const { return micImage_; }
    int micPeak() const { return micPeak_; }
    int wavPeak() const { return wavPeak_; }
    AudioSetupWindow* setupWindow() const;
    // Where the setup test lists devices from; the sound system's lists unless a test sets others.
    void setDeviceLister(AudioSetupWindow::DeviceLister lister) { lister_ = std::move(lister); }

    struct Link;
    // Whether reports of the connector with this serial number still count.
    bool isCurrentLink(int serial) const;

private:
    void connectFinished(int result);
    void setMicImage(const char* image);
    void updateHostState();
    void setupWindowClosed();
    void updateVolumeControls();
    void updateLevelTimer();
    void refreshLevels();

    AudioFeatureHost& host_;
    DefaultFlags& settings_;
    std::shared_ptr<audio::AudioDeviceFactory> devices_;
    std::shared_ptr<Link> link_;
    int audioState_ = 0;
    bool showAudioErrors_ = true;
    bool connecting_ = false;
    // The channel should be up: false after a deliberate disconnect, so that a connection that
    // was still being made when it came is ended as soon as it is made.
    bool wantConnected_ = false;
    // A lost channel is reported once, not once for each of its threads; a deliberate disconnect
    // counts as reported.
    bool lossReported_ = true;
    std::string micImage_;
    int micPeak_ = 0;
    int wavPeak_ = 0;
    int micPeakAge_ = 0;
    int wavPeakAge_ = 0;
    bool playback_ = false;
    std::function<void(int)> recordingPlayerVolume_;
    QPointer<ClassroomVolumeControls> controls_;
    QTimer levelTimer_;
    QPointer<AudioSetupWindow> setupWindow_;
    AudioSetupWindow::DeviceLister lister_ = AudioSetupWindow::defaultDeviceLister();
};

// Waits until the background threads of every audio channel (connecting, or ending a connector
// that was let go) are done, at most `timeoutMs`. Called before the application quits and by tests.
bool waitForAudioThreads(int timeoutMs);

}  // namespace veltrin
