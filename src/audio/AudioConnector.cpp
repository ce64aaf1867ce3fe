#include "audio/AudioConnector.h"

#include <pthread.h>

#include "wire/Handshake.h"
#include "wire/Log.h"
#include "wire/VCTools.h"

namespace veltrin::audio {

namespace {

void nameThread(const char* name) {
    // The platform keeps 15 characters of a thread's name.
    const std::string shortName = std::string(name).substr(0, 15);
    ::pthread_setname_np(::pthread_self(), shortName.c_str());
}

}  // namespace

AudioConnector::AudioConnector(AudioConnectorObserver& mainView, AudioDeviceFactory& devices, int codecId,
                               int numPlayers, std::string host, int port, std::string username,
                               std::string password, int roomId, int userId)
    : mainView_(mainView),
      devices_(devices),
      codecId_(codecId),
      numPlayers_(numPlayers),
      host_(std::move(host)),
      port_(port),
      username_(std::move(username)),
      password_(std::move(password)),
      rid_(roomId),
      uid_(userId),
      voiceCommand_(kVoiceBlockCommand, static_cast<std::uint32_t>(userId), roomId) {}

AudioConnector::~AudioConnector() {
    DisconnectAudio();
    joinThreads();
}

// ---- set-up

int AudioConnector::InitAudio(const AudioChannelSettings& settings) {
    // A connection that is still up (it came up without devices, say) is replaced. Its threads end
    // without reporting: the report of this attempt supersedes theirs, and a "connection lost"
    // would be false. They must be gone before their stream pair is replaced.
    {
        std::lock_guard lock(monitor_);
        if (!audioReaderTerminated_ || !audioWriterTerminated_) {
            reportThreadEnds_ = false;
            audioReaderTerminated_ = true;
            audioWriterTerminated_ = true;
            writerWake_.notify_all();
            if (streams_) streams_->shutdown();
        }
    }
    joinThreads();
    if (const int result = connectAndLogOn(settings); result != 0) return result;
    startThreads();

    int inputId = -1;
    int outputId = -1;
    startDevices(settings, inputId, outputId);
    const bool in = acmInStatus_.load();
    const bool out = acmOutStatus_.load();
    const int result = in || out ? kAudioConnected : kAudioNoDevice;
    logf("Init Audio: Result %d, AcmIn Device %d, Status %d | AcmOut Device %d, Status %d", result, inputId,
         in ? 1 : 0, outputId, out ? 1 : 0);
    mainView_.Safe_NotifyAudioStatusChange(result, out, in);
    return result;
}

int AudioConnector::connectAndLogOn(const AudioChannelSettings& settings) {
    auto streams = std::make_unique<TcpStreamPair>(host_, port_);
    streams->setProxy(settings.proxy);
    int result = streams->open(kConnectTimeoutMs) ? 0 : kAudioConnectFailed;
    if (result == 0) streams->setNoDelay();
    logf("Audio Connect Result: %d", result);
    if (result != 0) {
        streams->close();
        return result;
    }
    streams->setReceiveTimeout(kLogOnTimeoutMs);
    InputStream& is = streams->input();
    OutputStream& os = streams->output();

    // The main channel has already dealt with an outdated client; here any refusal just fails.
    result = openChannel(ChannelSelector::Audio, is, os, {});
    if (result != 0) {
        logf("Audio Check Version %d", result);
        streams->close();
        return result;
    }

    TSimpleLogin login;
    login.UID = uid_;
    login.Username = username_;
    login.Password = password_;
    Bytes request;
    login.writeToMD(request);
    VCTools::writeWordMD(request, static_cast<std::uint16_t>(rid_));
    result = kResultExchangeFailed;
    if (VCTools::writeToStream(os, request.data(), request.size())) {
        if (const auto answer = VCTools::readCommand(is)) {
            result = answer->Result;
            // The answer carries nothing the client uses.
            if (is.skip(answer->DataSize) != answer->DataSize) result = kResultExchangeFailed;
        }
    }
    if (result != 0) {
        logf("Audio Auth %d", result);
        streams->close();
        return result;
    }
    streams->setReceiveTimeout(0);

    {
        std::lock_guard lock(monitor_);
        streams_ = std::move(streams);
    }
    {
        // Blocks queued for a connection that ended are stale.
        std::lock_guard lock(outputMutex_);
        dataBuffer_.clear();
    }
    return 0;
}

void AudioConnector::startThreads() {
    {
        std::lock_guard lock(monitor_);
        audioReaderTerminated_ = false;
        audioWriterTerminated_ = false;
        reportThreadEnds_ = true;
    }
    audioReaderThread_ = std::thread([this] { readerThreadProc(); });
    audioWriterThread_ = std::thread([this] { writerThreadProc(); });
}

void AudioConnector::startDevices(const AudioChannelSettings& settings, int& inputId, int& outputId) {
    inputId = settings.inputDeviceId;
    if (!devices_.isDeviceWithIdMatchesName(inputId, settings.inputDeviceName)) {
        if (inputId != -1 || !settings.inputDeviceName.empty()) mainView_.storedAudioDeviceReset(true);
        inputId = -1;
    }
    outputId = settings.outputDeviceId;
    if (!devices_.isDeviceWithIdMatchesName(outputId, settings.outputDeviceName)) {
        if (outputId != -1 || !settings.outputDeviceName.empty()) mainView_.storedAudioDeviceReset(false);
        outputId = -1;
    }

    std::lock_guard lock(devicesMutex_);
    if (!acmIn_) acmIn_ = devices_.createMicrophone(inputId, settings.autoMicSettings, *this);
    acmInStatus_.store(acmIn_ != nullptr);

    bool outOk = true;
    for (int i = 0; i < kPlayerCount; ++i) {
        auto& player = players_[static_cast<std::size_t>(i)];
        if (!player) {
            player = devices_.createPlayer(outputId, *this);
            if (!player) outOk = false;
        }
        slots_.setPresent(i, player != nullptr);
        if (outOk) outOk = player->start();
    }
    acmOutStatus_.store(outOk);
}

void AudioConnector::DisconnectAudio() {
    {
        std::lock_guard lock(devicesMutex_);
        acmInStatus_.store(false);
        acmOutStatus_.store(false);
        if (acmIn_) acmIn_->stop();
        acmIn_.reset();
        for (auto& player : players_)
            if (player) player->stop();
        for (auto& player : players_) player.reset();
        slots_.clear();
    }
    std::lock_guard lock(monitor_);
    audioReaderTerminated_ = true;
    audioWriterTerminated_ = true;
    writerWake_.notify_all();
    if (streams_) {
        logLine("Shutting down audio sockets");
        streams_->shutdown();
    }
}

void AudioConnector::joinThreads() {
    if (audioReaderThread_.joinable()) audioReaderThread_.join();
    if (audioWriterThread_.joinable()) audioWriterThread_.join();
}

// ---- stop flags

void AudioConnector::terminateBoth() {
    std::lock_guard lock(monitor_);
    audioReaderTerminated_ = true;
    audioWriterTerminated_ = true;
    writerWake_.notify_all();
    // The reader may be blocked in a receive; ending the socket is what wakes it.
    if (streams_) streams_->shutdown();
}

bool AudioConnector::readerTerminated() const {
    std::lock_guard lock(monitor_);
    return audioReaderTerminated_;
}

bool AudioConnector::shouldReportEnd() const {
    std::lock_guard lock(monitor_);
    return reportThreadEnds_;
}

bool AudioConnector::writerTerminated() const {
    std::lock_guard lock(monitor_);
    return audioWriterTerminated_;
}

// ---- threads

void AudioConnector::readerThreadProc() {
    nameThread("AudioConnectorReader");
    logLine("Entering audioReaderThreadProc");
    InputStream& is = streams_->input();
    Bytes payload(kMaxVoicePayload);
    while (!readerTerminated()) {
        if (const auto header = VCTools::readCommand(is)) {
            const std::uint32_t size = header->DataSize;
            if (header->CommandID == kRelayedVoiceBlockCommand && size <= kMaxVoicePayload) {
                if (is.readFully(payload.data(), size) == size) HandleInput(*header, {payload.data(), size});
            } else {
                is.skip(size);
            }
        }
        if (!is.readable()) {
            logf("Audio ReaderStream status: %lu", static_cast<unsigned long>(is.status()));
            terminateBoth();
        }
    }
    {
        std::lock_guard lock(devicesMutex_);
        if (acmIn_) acmIn_->stop();
    }
    is.close();
    logLine("Exiting audioReaderThreadProc");
    if (shouldReportEnd()) mainView_.Safe_NotifyAudioStatusChange(kAudioReaderEnded, false, false);
}

void AudioConnector::writerThreadProc() {
    nameThread("AudioConnectorWriter");
    logLine("Entering audioWriterThreadProc");
    OutputStream& os = streams_->output();
    Bytes pending;
    auto nextKeepAlive = std::chrono::steady_clock::now() + keepAliveInterval_;
    while (!writerTerminated()) {
        {
            // Swapping keeps both buffers' capacity, so the microphone's callback rarely allocates.
            std::lock_guard lock(outputMutex_);
            std::swap(pending, dataBuffer_);
        }
        if (!pending.empty() && os.writable()) os.writeAll(pending.data(), pending.size());
        pending.clear();
        if (!os.writable()) terminateBoth();

        std::unique_lock lock(monitor_);
        writerWake_.wait_for(lock, kWriterPeriod, [this] { return audioWriterTerminated_; });
        lock.unlock();
        if (std::chrono::steady_clock::now() >= nextKeepAlive) {
            send_KeepAlive();
            nextKeepAlive = std::chrono::steady_clock::now() + keepAliveInterval_;
        }
    }
    stopPlayers();
    os.close();
    logLine("Exiting audioWriterThreadProc");
    if (shouldReportEnd()) mainView_.Safe_NotifyAudioStatusChange(kAudioWriterEnded, false, false);
}

// ---- frames

void AudioConnector::HandleInput(const TCommand& header, std::span<const std::uint8_t> payload) {
    if (header.CommandID != kRelayedVoiceBlockCommand || header.DataSize == 0 || payload.empty()) return;
    std::lock_guard lock(devicesMutex_);
    if (!acmOutStatus_.load()) return;
    const int slot = slots_.slotFor(header.UserID);
    if (slot < 0) return;
    if (auto& player = players_[static_cast<std::size_t>(slot)]) player->addBuffer(payload.data(), payload.size());
}

void AudioConnector::send_KeepAlive() {
    const TCommand keepAlive(kAudioKeepAliveCommand, static_cast<std::uint32_t>(uid_), rid_);
    std::lock_guard lock(outputMutex_);
    VCTools::writeCommandMD(dataBuffer_, keepAlive);
}

void AudioConnector::AcmInCompressedData(AudioInput&, const std::uint8_t* data, std::size_t size) {
    std::lock_guard lock(outputMutex_);
    // Newest sound is dropped once the writer is far behind; what is queued still goes out in order.
    if (dataBuffer_.size() + TCommand::kSize + size > kMaxPendingOutput) return;
    voiceCommand_.DataSize = static_cast<std::uint32_t>(size);
    VCTools::writeCommandMD(dataBuffer_, voiceCommand_);
    dataBuffer_.insert(dataBuffer_.end(), data, data + size);
}

void AudioConnector::AcmInPeakLevel(AudioInput&, int peak) { mainView_.setMicPeak(peak); }

void AudioConnector::AcmOutPeakLevel(AudioOutput&, int peak) { mainView_.setWavPeak(peak); }

// ---- devices

void AudioConnector::startMic() {
    std::lock_guard lock(devicesMutex_);
    if (acmIn_) acmIn_->start();
}

void AudioConnector::stopMic() {
    std::lock_guard lock(devicesMutex_);
    if (acmIn_) acmIn_->stop();
}

void AudioConnector::setMicVolumeCangeBy(int step) {
    std::lock_guard lock(devicesMutex_);
    if (acmIn_) acmIn_->setChangeSampleBy(step);
}

void AudioConnector::setWavVolumeCangeBy(int step) {
    std::lock_guard lock(devicesMutex_);
    for (auto& player : players_)
        if (player) player->setChangeSampleBy(step);
}

bool AudioConnector::OpenInputDeviceWithId(int deviceId) {
    std::lock_guard lock(devicesMutex_);
    return acmIn_ && acmIn_->OpenDeviceWithId(deviceId) == 0;
}

bool AudioConnector::OpenOutputDeviceWithId(int deviceId) {
    std::lock_guard lock(devicesMutex_);
    for (auto& player : players_)
        if (!player || player->OpenDeviceWithId(deviceId) != 0) return false;
    return true;
}

void AudioConnector::setAutomaticMicState(bool on) {
    std::lock_guard lock(devicesMutex_);
    if (acmIn_) acmIn_->setAutomaticMicState(on);
}

void AudioConnector::startPlayers() {
    std::lock_guard lock(devicesMutex_);
    for (auto& player : players_)
        if (player) player->start();
}

void AudioConnector::stopPlayers() {
    std::lock_guard lock(devicesMutex_);
    for (auto& player : players_)
        if (player) player->stop();
}

std::uint32_t AudioConnector::playerUid(int slot) const {
    std::lock_guard lock(devicesMutex_);
    return slots_.uidOf(slot);
}

std::size_t AudioConnector::pendingOutputSize() const {
    std::lock_guard lock(outputMutex_);
    return dataBuffer_.size();
}

}  // namespace veltrin::audio
