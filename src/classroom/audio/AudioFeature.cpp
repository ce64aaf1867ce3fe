#include "classroom/audio/AudioFeature.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/core/DefaultFlags.h"
#include "audio/AudioSettings.h"
#include "audio/AudioStatus.h"
#include "classroom/MainThread.h"
#include "classroom/audio/AudioSetupWindow.h"
#include "classroom/audio/ClassroomVolumeControls.h"
#include "classroom/audio/VolumeSlider.h"
#include "session/OutgoingCommands.h"
#include "wire/Log.h"

namespace veltrin {

namespace {

constexpr int kObtainSpeakingChannel = 6;
constexpr int kReleaseSpeakingChannel = 7;
constexpr int kReconnectDelayMs = 1000;
constexpr std::uint8_t kOnlinePresent = 0;
constexpr int kConnectorPlayers = 5;

// Counts the audio channel's background threads, for waitForAudioThreads.
struct ThreadCount {
    std::mutex mutex;
    std::condition_variable idle;
    int running = 0;
};
ThreadCount& threadCount() {
    static ThreadCount count;
    return count;
}

class ThreadScope {
public:
    ThreadScope() {
        std::lock_guard lock(threadCount().mutex);
        ++threadCount().running;
    }
    ~ThreadScope() {
        std::lock_guard lock(threadCount().mutex);
        if (--threadCount().running == 0) threadCount().idle.notify_all();
    }
    ThreadScope(const ThreadScope&) = delete;
    ThreadScope& operator=(const ThreadScope&) = delete;
};

// The connector's reports, carried to the main thread. They never wait for it: the main thread
// may be letting the connector go at that very moment.
class StatusHop final : public audio::AudioConnectorObserver {
public:
    StatusHop(QPointer<AudioFeature> feature, int serial) : feature_(std::move(feature)), serial_(serial) {}

    void Safe_NotifyAudioStatusChange(int code, bool playbackOk, bool microphoneOk) override {
        post([=](AudioFeature& f) { f.NotifyAudioStatusChange(code, playbackOk, microphoneOk); });
    }
    void setMicPeak(int peak) override {
        post([=](AudioFeature& f) { f.setMicPeak(peak); });
    }
    void setWavPeak(int peak) override {
        post([=](AudioFeature& f) { f.setWavPeak(peak); });
    }
    void storedAudioDeviceReset(bool input) override {
        post([=](AudioFeature& f) { f.storedDeviceReset(input); });
    }

private:
    template <typename F>
    void post(F work) {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app) return;
        // Reports of a connector the feature has let go of are stale.
        postToMain(app, [feature = feature_, serial = serial_, work = std::move(work)] {
            if (feature && feature->isCurrentLink(serial)) work(*feature);
        });
    }

    const QPointer<AudioFeature> feature_;
    const int serial_;
};

}  // namespace

// The connector with what it refers to, shared by the feature and the thread that connects it:
// whoever lets go last ends it. Members are destroyed in reverse order, the connector first.
struct AudioFeature::Link {
    Link(QPointer<AudioFeature> feature, std::shared_ptr<audio::AudioDeviceFactory> factory,
         const AudioConnectParameters& p)
        : serial(nextSerial()),
          devices(std::move(factory)),
          observer(std::move(feature), serial),
          connector(std::make_unique<audio::AudioConnector>(observer, *devices, p.codecId, kConnectorPlayers, p.host,
                                                            p.port, p.userName, p.password, p.roomId, p.userId)) {}

    static int nextSerial() {
        static std::atomic<int> serial{0};
        return ++serial;
    }

    const int serial;
    std::shared_ptr<audio::AudioDeviceFactory> devices;
    StatusHop observer;
    std::unique_ptr<audio::AudioConnector> connector;
};

namespace {

// Lets go of a connector away from the main thread: ending it joins its threads.
void retire(std::shared_ptr<AudioFeature::Link> link) {
    if (!link) return;
    auto scope = std::make_shared<ThreadScope>();
    std::thread([link = std::move(link), scope]() mutable {
        link->connector->DisconnectAudio();
        link.reset();
        scope.reset();
    }).detach();
}

}  // namespace

bool waitForAudioThreads(int timeoutMs) {
    std::unique_lock lock(threadCount().mutex);
    return threadCount().idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                       [] { return threadCount().running == 0; });
}

AudioFeature::AudioFeature(AudioFeatureHost& host, DefaultFlags& settings,
                           std::shared_ptr<audio::AudioDeviceFactory> devices)
    : host_(host), settings_(settings), devices_(std::move(devices)) {
    levelTimer_.setInterval(kLevelRefreshMs);
    connect(&levelTimer_, &QTimer::timeout, this, [this] { refreshLevels(); });
}

AudioFeature::~AudioFeature() {
    delete setupWindow_.data();
    dropConnector();
}

bool AudioFeature::isCurrentLink(int serial) const { return link_ && link_->serial == serial; }

AudioSetupWindow* AudioFeature::setupWindow() const { return setupWindow_.data(); }

audio::AudioConnector* AudioFeature::connector() const { return link_ ? link_->connector.get() : nullptr; }

// ---- connecting

void AudioFeature::ConnectAudio() {
    if (connecting_) return;
    host_.setMicButtonEnabled(false);
    if (!link_) link_ = std::make_shared<Link>(QPointer<AudioFeature>(this), devices_, host_.audioConnectParameters());
    connecting_ = true;
    wantConnected_ = true;
    updateVolumeControls();

    // Copied here, on the main thread, which is the store's only writer.
    const audio::AudioChannelSettings channel = audio::audioChannelSettingsFrom(settings_);
    const int wavVolume = settings_.defStoredWavVolume();
    const int micVolume = settings_.defStoredMicVolume();
    auto scope = std::make_shared<ThreadScope>();
    std::thread([link = link_, channel, wavVolume, micVolume, self = QPointer<AudioFeature>(this), scope]() mutable {
        audio::AudioConnector& c = *link->connector;
        const int result = c.InitAudio(channel);
        if (result == audio::kAudioConnected) {
            c.setWavVolumeCangeBy(wavVolume);
            c.setMicVolumeCangeBy(micVolume);
        }
        if (QCoreApplication* app = QCoreApplication::instance()) {
            postToMain(app, [self, result, serial = link->serial] {
                if (self && self->isCurrentLink(serial)) self->connectFinished(result);
            });
        }
        link.reset();  // may end the connector, here rather than on the main thread
        scope.reset();
    }).detach();
}

void AudioFeature::connectFinished(int result) {
    connecting_ = false;
    audioState_ = result;
    if (!wantConnected_ && link_) {
        // Disconnected while the connection was being made.
        lossReported_ = true;
        link_->connector->DisconnectAudio();
    }
    host_.setMicButtonEnabled(host_.audioVoiceAllowed());
    updateHostState();
    updateLevelTimer();
}

void AudioFeature::DisconnectAudio() {
    wantConnected_ = false;
    lossReported_ = true;
    if (link_) link_->connector->DisconnectAudio();
    updateLevelTimer();
}

void AudioFeature::dropConnector() {
    wantConnected_ = false;
    lossReported_ = true;
    retire(std::move(link_));
    link_.reset();
    connecting_ = false;
    updateLevelTimer();
    updateVolumeControls();
}

void AudioFeature::connectTheAudioAfterWizard() {
    showAudioErrors_ = true;
    ConnectAudio();
    if (OutgoingCommands* c = host_.audioCommands()) c->send_OnlineStatus(kOnlinePresent);
}

void AudioFeature::reconnectAudio() {
    if (!link_) return;
    showAudioErrors_ = false;
    DisconnectAudio();
    QTimer::singleShot(kReconnectDelayMs, this, [this] { connectTheAudioAfterWizard(); });
}

// ---- status

void AudioFeature::NotifyAudioStatusChange(int code, bool playbackOk, bool microphoneOk) {
    audioState_ = code;
    const bool lost = code == audio::kAudioReaderEnded || code == audio::kAudioWriterEnded;
    if (code == audio::kAudioConnected) lossReported_ = false;
    // Both threads of a lost channel report its end; the user hears of it once.
    const bool reportLoss = showAudioErrors_ && lost && !lossReported_;
    if (lost) lossReported_ = true;
    const audio::AudioStatusPresentation p = audio::presentAudioStatus(code, playbackOk, microphoneOk, reportLoss);
    if (p.deactivateMic) host_.setAudioMicActive(false);
    if (p.micImage) setMicImage(p.micImage->c_str());
    if (p.releaseSpeakingChannel) {
        if (OutgoingCommands* c = host_.audioCommands()) c->send_SimpleCommand(kReleaseSpeakingChannel);
    }
    for (const std::string& line : p.errorLines) host_.addErrorMessage(line);
    for (const std::string& line : p.notificationLines) host_.addNotificationMessage(line);
    for (const audio::AudioToast& toast : p.toasts) host_.displayToast(toast.text, toast.seconds);
    updateHostState();
    updateLevelTimer();
}

void AudioFeature::updateHostState() {
    const audio::AudioConnector* c = connector();
    host_.audioStateChanged(audioState_, c != nullptr && c->ACMInStatus());
}

void AudioFeature::setMicImage(const char* image) {
    micImage_ = image;
    host_.setMicButton(image);
}

void AudioFeature::setMicPeak(int peak) {
    micPeak_ = peak;
    micPeakAge_ = 0;
}

void AudioFeature::setWavPeak(int peak) {
    // Up to five speakers report between two refreshes; the bar shows the loudest of them.
    wavPeak_ = wavPeakAge_ == 0 ? std::max(wavPeak_, peak) : peak;
    wavPeakAge_ = 0;
}

void AudioFeature::storedDeviceReset(bool input) {
    audio::resetStoredAudioDevice(settings_, input);
    settings_.SaveDefaultProperties();
}

// ---- the floor

void AudioFeature::acMic() {
    if (audioState_ != audio::kAudioConnected) {
        ConnectAudio();
        return;
    }
    if (!link_) return;
    if (OutgoingCommands* c = host_.audioCommands())
        c->send_SimpleCommand(host_.audioMicActive() ? kReleaseSpeakingChannel : kObtainSpeakingChannel);
}

void AudioFeature::_startMic() {
    if (audio::AudioConnector* c = connector()) c->startMic();
    setMicImage(audio::kMicImageActive);
    host_.setAudioMicActive(true);
}

void AudioFeature::_stopMic() {
    if (audio::AudioConnector* c = connector()) c->stopMic();
    host_.setAudioMicActive(false);
    setMicImage(audio::stoppedMicImage(audioState_));
    host_.setMicButtonEnabled(host_.audioVoiceAllowed());
}

// ---- volumes

void AudioFeature::acWavVolume(int step) {
    if (playback_) {
        if (!recordingPlayerVolume_) return;
        recordingPlayerVolume_(step);
    } else {
        audio::AudioConnector* c = connector();
        if (!c) return;
        c->setWavVolumeCangeBy(step);
    }
    settings_.setDefStoredWavVolume(step);
}

void AudioFeature::acMicVolume(int step) {
    audio::AudioConnector* c = connector();
    if (!c) return;
    c->setMicVolumeCangeBy(step);
    settings_.setDefStoredMicVolume(step);
}

void AudioFeature::attachVolumeControls(ClassroomVolumeControls* controls) {
    if (controls_) disconnect(controls_, nullptr, this, nullptr);
    controls_ = controls;
    if (!controls) return;
    for (VolumeSlider* slider : {controls->wavSlider(), controls->micSlider()}) {
        disconnect(slider, nullptr, this, nullptr);
        // Values set from the settings are no user moves: nothing to apply or store.
        QSignalBlocker quiet(slider);
        slider->setValue(slider == controls->wavSlider() ? settings_.defStoredWavVolume()
                                                         : settings_.defStoredMicVolume());
    }
    connect(controls->wavSlider(), &QSlider::valueChanged, this, [this](int step) { acWavVolume(step); });
    connect(controls->micSlider(), &QSlider::valueChanged, this, [this](int step) { acMicVolume(step); });
    controls->showLevels(0, 0);
    updateVolumeControls();
}

void AudioFeature::setPlaybackMode(bool playback) {
    playback_ = playback;
    updateVolumeControls();
    updateLevelTimer();
}

void AudioFeature::setRecordingPlayerVolume(std::function<void(int)> apply) {
    recordingPlayerVolume_ = std::move(apply);
    if (recordingPlayerVolume_) recordingPlayerVolume_(settings_.defStoredWavVolume());
    updateVolumeControls();
    updateLevelTimer();
}

void AudioFeature::applyAutomaticMicSettings(bool on) {
    settings_.setDefAutoMicSettings(on);
    if (audio::AudioConnector* c = connector()) {
        if (on) c->setMicVolumeCangeBy(kVolumeStepNeutral);
        c->setAutomaticMicState(on);
    }
    if (on && controls_) {
        QSignalBlocker quiet(controls_->micSlider());
        controls_->micSlider()->setValue(kVolumeStepNeutral);
    }
    updateVolumeControls();
}

void AudioFeature::updateVolumeControls() {
    if (!controls_) return;
    const bool automatic = settings_.defAutoMicSettings();
    controls_->wavSlider()->setEnabled(playback_ ? bool(recordingPlayerVolume_) : link_ != nullptr);
    controls_->setMicrophoneShown(!playback_);
    controls_->micSlider()->setEnabled(!playback_ && !automatic && link_ != nullptr);
    controls_->automaticIndicator()->setVisible(!playback_ && automatic);
}

void AudioFeature::updateLevelTimer() {
    const bool soundRuns = playback_ ? bool(recordingPlayerVolume_)
                                     : link_ != nullptr && wantConnected_ && audioState_ == audio::kAudioConnected;
    if (soundRuns == levelTimer_.isActive()) return;
    micPeak_ = wavPeak_ = 0;
    micPeakAge_ = wavPeakAge_ = 0;
    if (soundRuns) {
        levelTimer_.start();
    } else {
        levelTimer_.stop();
        if (controls_) controls_->showLevels(0, 0);
    }
}

void AudioFeature::refreshLevels() {
    if (controls_)
        controls_->showLevels(wavPeakAge_ < kLevelHoldRefreshes ? wavPeak_ : 0,
                              micPeakAge_ < kLevelHoldRefreshes ? micPeak_ : 0);
    wavPeakAge_ = std::min(wavPeakAge_ + 1, kLevelHoldRefreshes);
    micPeakAge_ = std::min(micPeakAge_ + 1, kLevelHoldRefreshes);
}

// ---- the setup test

void AudioFeature::acAudioTest() {
    if (setupWindow_) {
        setupWindow_->raise();
        setupWindow_->activateWindow();
        return;
    }
    if (OutgoingCommands* c = host_.audioCommands()) c->send_OnlineStatus(2);
    showAudioErrors_ = false;
    DisconnectAudio();
    host_.setMicButtonEnabled(false);
    setupWindow_ = new AudioSetupWindow(settings_, devices_, lister_, false,
                                        host_.audioTestParent());
    connect(setupWindow_, &AudioSetupWindow::closed, this, [this] { setupWindowClosed(); });
    setupWindow_->show();
}

void AudioFeature::setupWindowClosed() {
    if (controls_ && setupWindow_) {
        const std::pair<VolumeSlider*, VolumeSlider*> pairs[] = {{setupWindow_->wavSlider(), controls_->wavSlider()},
                                                                 {setupWindow_->micSlider(), controls_->micSlider()}};
        // A test slider moved while no test ran was not stored; taking its value as a move
        // stores it too, so the channel connects again with the volume the slider shows.
        for (const auto& [test, classroom] : pairs) classroom->setValue(test->value());
    }
    updateVolumeControls();
    setupWindow_.clear();
    host_.setMicButtonEnabled(host_.audioVoiceAllowed());
    if (host_.audioCommands() != nullptr) connectTheAudioAfterWizard();
}

}  // namespace veltrin
