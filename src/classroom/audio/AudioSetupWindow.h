#pragma once

#include <QDialog>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/PortAudioSystem.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace veltrin {

class DefaultFlags;
class VolumeSlider;

// The audio setup test: a playback page that plays the shipped voice sample on the chosen speaker
// and a microphone page that loops the chosen microphone through encoder and decoder back to the
// speaker. One test runs at a time, on a worker thread; the window's controls change on the main
// thread only. Closing stores the chosen devices and emits closed().
class AudioSetupWindow final : public QDialog,
                               private audio::AudioInputDelegate,
                               private audio::AudioOutputDelegate {
    Q_OBJECT

public:
    // Fills the entries of a device pop-up; answers the device count, negative on an error
    // (EnumAudioDevices' contract).
    using DeviceLister = std::function<int(std::vector<audio::AudioDeviceEntry>& entries, bool input, bool output,
                                           bool addDefaultEntry)>;
    static DeviceLister defaultDeviceLister();

    static constexpr int kPlaybackPage = 0;
    static constexpr int kMicrophonePage = 1;
    static constexpr std::chrono::milliseconds kFeedInterval{150};

    AudioSetupWindow(DefaultFlags& settings, std::shared_ptr<audio::AudioDeviceFactory> devices, DeviceLister lister,
                     bool playbackMode, QWidget* parent);
    ~AudioSetupWindow() override;

    void LoadAudioDevices();
    void acPlay();
    void acRec();
    void acNextTest();
    void acClose();
    void acChangeAcmOutDevice();
    void acChangeAcmInDevice();
    void acWavSliderChange(int value);
    void acMicSliderChange(int value);
    void acAutomaticMicSettings();

    bool testRunning() const;
    int currentPage() const;
    // The sample to play; the shipped one unless a test sets another.
    void setSamplePath(const QString& path) { samplePath_ = path; }
    // How many blocks the last playback test fed.
    int blocksFed() const { return blocksFed_; }

    QPushButton* playButton() const { return play_; }
    QPushButton* recordButton() const { return record_; }
    QPushButton* nextButton() const { return next_; }
    QComboBox* speakerPopup() const { return speakers_; }
    QComboBox* microphonePopup() const { return microphones_; }
    VolumeSlider* wavSlider() const { return wavSlider_; }
    VolumeSlider* micSlider() const { return micSlider_; }
    QCheckBox* automaticMicBox() const { return automaticMic_; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PlayAudioSample(int deviceId, QString samplePath);
    void StartMicrophoneTest(int outputId, int inputId, bool automatic);
    void playbackFinished();
    void microphoneTestFinished();
    // Asks a running test to end and waits for its worker.
    void stopTest();
    bool stopRequested();
    void waitForWorker();
    void storeSpeaker();
    void storeMicrophone();

    void AcmInCompressedData(audio::AudioInput& mic, const std::uint8_t* data, std::size_t size) override;
    void AcmInPeakLevel(audio::AudioInput& mic, int peak) override;
    void AcmOutPeakLevel(audio::AudioOutput& player, int peak) override;

    DefaultFlags& settings_;
    std::shared_ptr<audio::AudioDeviceFactory> devices_;
    DeviceLister lister_;
    bool playbackMode_;
    QString samplePath_;
    int blocksFed_ = 0;
    bool closing_ = false;

    QStackedWidget* pages_;
    QComboBox* speakers_;
    QComboBox* microphones_;
    VolumeSlider* wavSlider_;
    VolumeSlider* micSlider_;
    QCheckBox* automaticMic_;
    QPushButton* play_;
    QPushButton* record_;
    QPushButton* next_;
    QPushButton* close_;

    // The test's monitor: the stop flag (FPlayerSTopped is its negation while a test runs).
    mutable std::mutex monitor_;
    std::condition_variable wake_;
    bool running_ = false;
    bool stop_ = false;
    std::thread worker_;

    // The test devices, between the worker, the device callbacks and the main thread.
    std::mutex devicesMutex_;
    std::unique_ptr<audio::AudioOutput> acmOut_;
    std::unique_ptr<audio::AudioInput> acmIn_;
};

}  // namespace veltrin
