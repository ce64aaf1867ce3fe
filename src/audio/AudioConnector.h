#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "audio/AudioDevice.h"
#include "audio/PlayerSlots.h"
#include "platform/TcpStreamPair.h"
#include "wire/Streams.h"
#include "wire/TCommand.h"

namespace veltrin::audio {

// audioState values the connector reports; any other value is a version-check or log-on result.
inline constexpr int kAudioConnected = 0;
inline constexpr int kAudioReaderEnded = 1;
inline constexpr int kAudioWriterEnded = 2;
inline constexpr int kAudioNoDevice = 35;
inline constexpr int kAudioConnectFailed = -1;

// Audio-channel commands. Values are the server's; append only.
inline constexpr std::uint16_t kVoiceBlockCommand = 9;
inline constexpr std::uint16_t kRelayedVoiceBlockCommand = 27;
inline constexpr std::uint16_t kAudioKeepAliveCommand = 100;

// What InitAudio takes from the settings store (see audioChannelSettingsFrom).
struct AudioChannelSettings {
    SocksProxy proxy;
    int inputDeviceId = -1;  // -1: the default device
    std::string inputDeviceName;
    int outputDeviceId = -1;
    std::string outputDeviceName;
    bool autoMicSettings = true;
};

// The classroom controller as the audio channel sees it. Every call may come from a connector,
// device or connecting thread; implementations post to the main thread and must never wait for
// it (the main thread may be releasing the connector at that moment).
class AudioConnectorObserver {
public:
    virtual ~AudioConnectorObserver() = default;
    // Safe_NotifyAudioStatusChange:Out:In: — 0 (with which devices work) at the end of InitAudio,
    // 1 when the reader ends and 2 when the writer ends (both devices then reported unusable).
    virtual void Safe_NotifyAudioStatusChange(int code, bool playbackOk, bool microphoneOk) = 0;
    virtual void setMicPeak(int peak) = 0;
    virtual void setWavPeak(int peak) = 0;
    // The stored device of that direction no longer exists under its name: the settings store
    // should now hold -1 and "" for it ("AudioInputDeviceId"/"…Name" or the output pair).
    virtual void storedAudioDeviceReset(bool input) = 0;
};

// The audio channel: its own TCP connection (version check, selector 251, simple log-on with the
// room id), a reader thread that hands relayed voice blocks (27) to one of five per-speaker
// players, and a writer thread that sends queued microphone blocks (9) every 100 ms and a
// keep-alive (100) every 30 seconds.
//
// Threads: InitAudio runs on a background thread of the caller's; the other members may be called
// from any thread. The connector outlives its threads: they are joined by the next InitAudio and by
// the destructor, after DisconnectAudio (or a lost connection) has ended them.
class AudioConnector final : public AudioInputDelegate, public AudioOutputDelegate {
public:
    static constexpr int kPlayerCount = PlayerSlots::kCount;
    static constexpr int kConnectTimeoutMs = 4000;
    // Bound on the version check and log-on, so that a silent server cannot hold the connecting
    // thread.
    static constexpr int kLogOnTimeoutMs = 20000;
    static constexpr std::chrono::milliseconds kWriterPeriod{100};
    static constexpr std::chrono::seconds kKeepAliveInterval{30};
    // Relayed frames of the audio channel are voice blocks of 320 bytes; payloads above this are
    // skipped unread instead of being buffered.
    static constexpr std::uint32_t kMaxVoicePayload = 4096;
    // Bound on the blocks waiting for the writer (about 20 s of voice): a server that stops reading
    // holds the writer in its write, and the microphone must not grow the buffer without end.
    static constexpr std::size_t kMaxPendingOutput = 32 * 1024;

    // init:CodecId:NumPlayers:Host:Port:Username:Password:RoomId:UserId:
    AudioConnector(AudioConnectorObserver& mainView, AudioDeviceFactory& devices, int codecId, int numPlayers,
                   std::string host, int port, std::string username, std::string password, int roomId,
                   int userId);
    ~AudioConnector() override;
    AudioConnector(const AudioConnector&) = delete;
    AudioConnector& operator=(const AudioConnector&) = delete;

    // Connects, logs on, starts the threads and the devices. Answers 0 (at least one device
    // works), 35 (neither does), -1 (no connection) or the version-check or log-on result.
    int InitAudio(const AudioChannelSettings& settings);
    // Stops and drops the devices and ends the threads (they report 1 and 2). InitAudio may follow.
    void DisconnectAudio();

    void startMic();
    void stopMic();
    void setMicVolumeCangeBy(int step);
    void setWavVolumeCangeBy(int step);
    bool OpenInputDeviceWithId(int deviceId);
    bool OpenOutputDeviceWithId(int deviceId);
    void setAutomaticMicState(bool on);
    void startPlayers();
    void stopPlayers();

    // Called by the reader for every frame; public for the dispatch tests.
    void HandleInput(const TCommand& header, std::span<const std::uint8_t> payload);
    void send_KeepAlive();

    bool ACMInStatus() const { return acmInStatus_.load(); }
    bool ACMOutStatus() const { return acmOutStatus_.load(); }
    int codecId() const { return codecId_; }
    int numPlayers() const { return numPlayers_; }
    // The speaker slot `slot` plays, 0 when free.
    std::uint32_t playerUid(int slot) const;
    // Bytes queued for the writer.
    std::size_t pendingOutputSize() const;
    // For tests: how often the writer adds a keep-alive. Set before InitAudio.
    void setKeepAliveInterval(std::chrono::milliseconds interval) { keepAliveInterval_ = interval; }

    // AudioInputDelegate / AudioOutputDelegate
    void AcmInCompressedData(AudioInput& mic, const std::uint8_t* data, std::size_t size) override;
    void AcmInPeakLevel(AudioInput& mic, int peak) override;
    void AcmOutPeakLevel(AudioOutput& player, int peak) override;

private:
    int connectAndLogOn(const AudioChannelSettings& settings);
    void startThreads();
    void startDevices(const AudioChannelSettings& settings, int& inputId, int& outputId);
    void joinThreads();
    void readerThreadProc();
    void writerThreadProc();
    void terminateBoth();
    bool readerTerminated() const;
    bool writerTerminated() const;
    bool shouldReportEnd() const;

    AudioConnectorObserver& mainView_;
    AudioDeviceFactory& devices_;
    const int codecId_;
    const int numPlayers_;
    const std::string host_;
    const int port_;
    const std::string username_;
    const std::string password_;
    const std::int32_t rid_;
    const std::int32_t uid_;

    // Output lock: only around dataBuffer_.
    mutable std::mutex outputMutex_;
    Bytes dataBuffer_;
    TCommand voiceCommand_;

    // The connector's monitor: stop flags and the stream pair pointer.
    mutable std::mutex monitor_;
    std::condition_variable writerWake_;
    bool audioReaderTerminated_ = true;
    bool audioWriterTerminated_ = true;
    bool reportThreadEnds_ = true;
    std::unique_ptr<TcpStreamPair> streams_;
    std::thread audioReaderThread_;
    std::thread audioWriterThread_;
    std::chrono::milliseconds keepAliveInterval_ = kKeepAliveInterval;

    // Devices: the microphone, the players and their speakers.
    mutable std::mutex devicesMutex_;
    std::unique_ptr<AudioInput> acmIn_;
    std::array<std::unique_ptr<AudioOutput>, kPlayerCount> players_;
    PlayerSlots slots_;
    std::atomic<bool> acmInStatus_{false};
    std::atomic<bool> acmOutStatus_{false};
};

}  // namespace veltrin::audio
