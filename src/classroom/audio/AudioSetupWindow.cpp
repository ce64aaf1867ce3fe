#include "classroom/audio/AudioSetupWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/core/DefaultFlags.h"
#include "app/core/Resources.h"
#include "audio/AudioFormat.h"
#include "audio/SetupTestSample.h"
#include "classroom/MainThread.h"
#include "classroom/audio/VolumeSlider.h"
#include "wire/Log.h"

namespace veltrin {

namespace {

constexpr int kPeakMax = kPeakLevelMax;
const QColor kLevelColour(Qt::green);
constexpr char kSampleName[] = "speex_test.wav";

void fillPopup(QComboBox* popup, const std::vector<audio::AudioDeviceEntry>& entries, int selectedTag) {
    popup->clear();
    for (const audio::AudioDeviceEntry& e : entries) popup->addItem(QString::fromStdString(e.title), e.tag);
    const int index = popup->findData(selectedTag);
    popup->setCurrentIndex(index >= 0 ? index : 0);
}

int selectedTag(const QComboBox* popup) {
    return popup->currentIndex() >= 0 ? popup->currentData().toInt() : -1;
}

}  // namespace

AudioSetupWindow::DeviceLister AudioSetupWindow::defaultDeviceLister() { return &audio::EnumAudioDevices; }

AudioSetupWindow::AudioSetupWindow(DefaultFlags& settings, std::shared_ptr<audio::AudioDeviceFactory> devices,
                                   DeviceLister lister, bool playbackMode, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      devices_(std::move(devices)),
      lister_(std::move(lister)),
      playbackMode_(playbackMode),
      samplePath_(resourcePath(ResourceFolder::Audio, QString::fromLatin1(kSampleName))),
      pages_(new QStackedWidget(this)),
      speakers_(new QComboBox(this)),
      microphones_(new QComboBox(this)),
      wavSlider_(new VolumeSlider(this)),
      micSlider_(new VolumeSlider(this)),
      automaticMic_(new QCheckBox(tr("Set the microphone level automatically"), this)),
      play_(new QPushButton(tr("Play"), this)),
      record_(new QPushButton(tr("Record"), this)),
      next_(new QPushButton(QStringLiteral("Microphone Test >>"), this)),
      close_(new QPushButton(tr("Close"), this)) {
    setObjectName(QStringLiteral("audioSetupWindow"));
    setWindowTitle(tr("Audio Setup"));
    setAttribute(Qt::WA_DeleteOnClose);
    for (VolumeSlider* s : {wavSlider_, micSlider_}) {
        s->setRange(0, kVolumeStepMax);
        s->setProgressValues(0, 0, kPeakMax, kLevelColour);
    }
    speakers_->setAccessibleName(tr("Speaker"));
    microphones_->setAccessibleName(tr("Microphone"));
    wavSlider_->setAccessibleName(tr("Speaker volume"));
    micSlider_->setAccessibleName(tr("Microphone volume"));

    auto* playbackPage = new QWidget(pages_);
    auto* pl = new QGridLayout(playbackPage);
    pl->addWidget(new QLabel(tr("Click Play to hear a short recording on the selected speakers."), playbackPage), 0, 0,
                  1, 2);
    pl->addWidget(new QLabel(tr("Speakers:"), playbackPage), 1, 0);
    pl->addWidget(speakers_, 1, 1);
    pl->addWidget(new QLabel(tr("Volume:"), playbackPage), 2, 0);
    pl->addWidget(wavSlider_, 2, 1);
    pl->addWidget(play_, 3, 1, Qt::AlignRight);

    auto* micPage = new QWidget(pages_);
    auto* ml = new QGridLayout(micPage);
    ml->addWidget(new QLabel(tr("Click Record and speak: you hear yourself on the selected speakers."), micPage), 0,
                  0, 1, 2);
    ml->addWidget(new QLabel(tr("Microphone:"), micPage), 1, 0);
    ml->addWidget(microphones_, 1, 1);
    ml->addWidget(new QLabel(tr("Level:"), micPage), 2, 0);
    ml->addWidget(micSlider_, 2, 1);
    ml->addWidget(automaticMic_, 3, 1);
    ml->addWidget(record_, 4, 1, Qt::AlignRight);
    pages_->addWidget(playbackPage);
    pages_->addWidget(micPage);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(next_);
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);

    connect(play_, &QPushButton::clicked, this, [this] { acPlay(); });
    connect(record_, &QPushButton::clicked, this, [this] { acRec(); });
    connect(next_, &QPushButton::clicked, this, [this] { acNextTest(); });
    connect(close_, &QPushButton::clicked, this, [this] { close(); });
    connect(speakers_, &QComboBox::activated, this, [this] { acChangeAcmOutDevice(); });
    connect(microphones_, &QComboBox::activated, this, [this] { acChangeAcmInDevice(); });
    connect(wavSlider_, &QSlider::valueChanged, this, [this](int v) { acWavSliderChange(v); });
    connect(micSlider_, &QSlider::valueChanged, this, [this](int v) { acMicSliderChange(v); });
    connect(automaticMic_, &QCheckBox::toggled, this, [this] { acAutomaticMicSettings(); });

    // What the window shows when it loads.
    LoadAudioDevices();
    pages_->setCurrentIndex(kPlaybackPage);
    wavSlider_->setValue(settings_.defStoredWavVolume());
    if (!settings_.defAutoMicSettings()) micSlider_->setValue(settings_.defStoredMicVolume());
    next_->setVisible(!playbackMode_);
    if (parent) {
        adjustSize();
        move(parent->mapToGlobal(parent->rect().center()) - rect().center());
    }
}

AudioSetupWindow::~AudioSetupWindow() { stopTest(); }

// ---- devices

void AudioSetupWindow::LoadAudioDevices() {
    std::vector<audio::AudioDeviceEntry> entries;
    lister_(entries, false, true, true);
    fillPopup(speakers_, entries, settings_.defAudioOutputDeviceId());
    lister_(entries, true, false, true);
    fillPopup(microphones_, entries, settings_.defAudioInputDeviceId());
    const QSignalBlocker block(automaticMic_);
    automaticMic_->setChecked(settings_.defAutoMicSettings());
    acAutomaticMicSettings();
}

void AudioSetupWindow::acChangeAcmOutDevice() {
    if (!testRunning()) return;
    std::lock_guard lock(devicesMutex_);
    if (acmOut_ && acmOut_->OpenDeviceWithId(selectedTag(speakers_)) != 0) logLine("failed to open selected device");
}

void AudioSetupWindow::acChangeAcmInDevice() {
    if (!testRunning()) return;
    std::lock_guard lock(devicesMutex_);
    if (acmIn_ && acmIn_->OpenDeviceWithId(selectedTag(microphones_)) != 0) logLine("failed to open selected device");
}

void AudioSetupWindow::acWavSliderChange(int value) {
    std::lock_guard lock(devicesMutex_);
    if (!acmOut_) return;
    acmOut_->setChangeSampleBy(value);
    settings_.setDefStoredWavVolume(value);
}

void AudioSetupWindow::acMicSliderChange(int value) {
    std::lock_guard lock(devicesMutex_);
    if (!acmIn_) return;
    acmIn_->setChangeSampleBy(value);
    settings_.setDefStoredMicVolume(value);
}

void AudioSetupWindow::acAutomaticMicSettings() {
    const bool automatic = automaticMic_->isChecked();
    {
        const QSignalBlocker block(micSlider_);
        if (automatic) micSlider_->setValue(audio::kNeutralGainStep);
    }
    micSlider_->setEnabled(!automatic && !playbackMode_);
    std::lock_guard lock(devicesMutex_);
    if (!acmIn_) return;
    if (automatic) acmIn_->setChangeSampleBy(audio::kNeutralGainStep);
    acmIn_->setAutomaticMicState(automatic);
}

void AudioSetupWindow::storeSpeaker() {
    settings_.setDefAudioOutputDeviceId(selectedTag(speakers_));
    settings_.setDefAudioOutputDeviceName(speakers_->currentIndex() > 0 ? speakers_->currentText() : QString());
}

void AudioSetupWindow::storeMicrophone() {
    settings_.setDefAudioInputDeviceId(selectedTag(microphones_));
    settings_.setDefAudioInputDeviceName(microphones_->currentIndex() > 0 ? microphones_->currentText() : QString());
    settings_.setDefAutoMicSettings(automaticMic_->isChecked());
}

// ---- pages

int AudioSetupWindow::currentPage() const { return pages_->currentIndex(); }

void AudioSetupWindow::acNextTest() {
    const bool toMicrophone = pages_->currentIndex() == kPlaybackPage;
    pages_->setCurrentIndex(toMicrophone ? kMicrophonePage : kPlaybackPage);
    next_->setText(toMicrophone ? QStringLiteral("<< Playback Test") : QStringLiteral("Microphone Test >>"));
}

// ---- the tests

bool AudioSetupWindow::testRunning() const {
    std::lock_guard lock(monitor_);
    return running_;
}

bool AudioSetupWindow::stopRequested() {
    std::lock_guard lock(monitor_);
    return stop_;
}

void AudioSetupWindow::stopTest() {
    {
        std::lock_guard lock(monitor_);
        stop_ = true;
        wake_.notify_all();
    }
    waitForWorker();
}

void AudioSetupWindow::waitForWorker() {
    // The worker never waits for the main thread, so joining here cannot deadlock.
    if (worker_.joinable()) worker_.join();
}

void AudioSetupWindow::acPlay() {
    if (testRunning()) {
        stopTest();
        return;
    }
    waitForWorker();
    play_->setText(QStringLiteral("STOP"));
    next_->setEnabled(false);
    {
        std::lock_guard lock(monitor_);
        running_ = true;
        stop_ = false;
    }
    worker_ = std::thread([this, id = selectedTag(speakers_), path = samplePath_] { PlayAudioSample(id, path); });
}

void AudioSetupWindow::PlayAudioSample(int deviceId, QString samplePath) {
    {
        std::lock_guard lock(devicesMutex_);
        acmOut_ = devices_->createPlayer(deviceId, *this);
        if (acmOut_) {
            acmOut_->setChangeSampleBy(settings_.defStoredWavVolume());
            acmOut_->start();
        }
    }
    QByteArray sample;
    QFile file(samplePath);
    if (file.open(QIODevice::ReadOnly)) sample = file.readAll();
    else logf("audio sample missing: %s", qPrintable(samplePath));
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(sample.constData()), std::size_t(sample.size()));
    int fed = 0;
    for (const auto block : audio::voiceBlocksOfSample(bytes)) {
        if (stopRequested()) break;
        const auto began = std::chrono::steady_clock::now();
        {
            std::lock_guard lock(devicesMutex_);
            if (!acmOut_) break;
            acmOut_->addBuffer(block.data(), block.size());
        }
        ++fed;
        const auto took = std::chrono::steady_clock::now() - began;
        logf("%f", std::chrono::duration<double>(took).count());
        std::unique_lock lock(monitor_);
        wake_.wait_for(lock, kFeedInterval - took, [this] { return stop_; });
    }
    // The last blocks are still queued in the player: let them play out before it stops.
    {
        std::unique_lock lock(monitor_);
        wake_.wait_for(lock, std::chrono::milliseconds(fed > 0 ? 1500 : 0), [this] { return stop_; });
    }
    std::unique_ptr<audio::AudioOutput> player;
    {
        std::lock_guard lock(devicesMutex_);
        player = std::move(acmOut_);
    }
    if (player) player->stop();
    player.reset();
    {
        std::lock_guard lock(monitor_);
        running_ = false;
    }
    postToMain(this, [this, fed] {
        blocksFed_ = fed;
        playbackFinished();
    });
}

void AudioSetupWindow::playbackFinished() {
    play_->setText(QStringLiteral("Start Over"));
    next_->setEnabled(true);
    wavSlider_->setProgressValues(0, 0, kPeakMax, kLevelColour);
    storeSpeaker();
    settings_.SaveDefaultProperties();
}

void AudioSetupWindow::acRec() {
    if (testRunning()) {
        stopTest();
        return;
    }
    waitForWorker();
    record_->setText(QStringLiteral("STOP"));
    next_->setEnabled(false);
    microphones_->setEnabled(false);
    {
        std::lock_guard lock(monitor_);
        running_ = true;
        stop_ = false;
    }
    worker_ = std::thread([this, out = selectedTag(speakers_), in = selectedTag(microphones_),
                           automatic = automaticMic_->isChecked()] { StartMicrophoneTest(out, in, automatic); });
}

void AudioSetupWindow::StartMicrophoneTest(int outputId, int inputId, bool automatic) {
    {
        std::lock_guard lock(devicesMutex_);
        acmOut_ = devices_->createPlayer(outputId, *this);
        if (acmOut_) acmOut_->start();
        acmIn_ = devices_->createMicrophone(inputId, automatic, *this);
        if (acmIn_) {
            if (!automatic) acmIn_->setChangeSampleBy(settings_.defStoredMicVolume());
            acmIn_->start();
        }
    }
    {
        std::unique_lock lock(monitor_);
        wake_.wait(lock, [this] { return stop_; });
    }
    std::unique_ptr<audio::AudioInput> mic;
    std::unique_ptr<audio::AudioOutput> player;
    {
        std::lock_guard lock(devicesMutex_);
        mic = std::move(acmIn_);
        player = std::move(acmOut_);
    }
    // The microphone first: its callback feeds the player.
    if (mic) mic->stop();
    mic.reset();
    if (player) player->stop();
    player.reset();
    {
        std::lock_guard lock(monitor_);
        running_ = false;
    }
    postToMain(this, [this] { microphoneTestFinished(); });
}

void AudioSetupWindow::microphoneTestFinished() {
    record_->setText(QStringLiteral("Try Again"));
    next_->setEnabled(true);
    microphones_->setEnabled(true);
    micSlider_->setProgressValues(0, 0, kPeakMax, kLevelColour);
    storeMicrophone();
    settings_.SaveDefaultProperties();
}

// ---- device reports (device and worker threads)

void AudioSetupWindow::AcmInCompressedData(audio::AudioInput&, const std::uint8_t* data, std::size_t size) {
    // Called with the microphone's stream running, which the main thread stops only through the
    // worker; the lock keeps the player from going away mid-block.
    std::unique_lock lock(devicesMutex_, std::try_to_lock);
    if (lock.owns_lock() && acmOut_) acmOut_->addBuffer(data, size);
}

void AudioSetupWindow::AcmInPeakLevel(audio::AudioInput&, int peak) {
    postToMain(this, [this, peak] { micSlider_->setProgressValues(peak, 0, kPeakMax, kLevelColour); });
}

void AudioSetupWindow::AcmOutPeakLevel(audio::AudioOutput&, int peak) {
    postToMain(this, [this, peak] { wavSlider_->setProgressValues(peak, 0, kPeakMax, kLevelColour); });
}

// ---- closing

void AudioSetupWindow::acClose() { close(); }

void AudioSetupWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        stopTest();
        storeSpeaker();
        storeMicrophone();
        settings_.SaveDefaultProperties();
        emit closed();
    }
    QDialog::closeEvent(event);
}

}  // namespace veltrin
