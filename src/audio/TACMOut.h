#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "audio/AudioDevice.h"
#include "audio/PortAudioSystem.h"
#include "audio/VoicePlayback.h"

typedef void PaStream;  // NOLINT: PortAudio's own declaration

namespace veltrin::audio {

// A speaker: VoicePlayback fed by addBuffer, drained by a PortAudio output stream of its own
// (mono, 16-bit, 16000 Hz, 3200 frames per buffer) that plays silence when nothing is queued.
class TACMOut final : public AudioOutput {
public:
    // Nothing when PortAudio or the device fails (logged). The stream is open and stopped.
    static std::unique_ptr<TACMOut> create(int deviceId, AudioOutputDelegate& delegate);
    ~TACMOut() override;

    int OpenDeviceWithId(int deviceId) override;
    bool start() override;
    void stop() override;
    void addBuffer(const std::uint8_t* data, std::size_t size) override { playback_.addBuffer(data, size); }
    void setChangeSampleBy(int step) override { playback_.setChangeSampleBy(step); }
    int getChangeSampleBy() const override { return playback_.getChangeSampleBy(); }
    bool stopped() const { return stopped_.load(); }

private:
    explicit TACMOut(AudioOutputDelegate& delegate);
    void closeStream();
    int openStream(int deviceId);  // under streamMutex_

    PortAudioSession session_;
    AudioOutputDelegate& delegate_;
    VoicePlayback playback_;
    std::mutex streamMutex_;
    PaStream* stream_ = nullptr;
    int deviceId_ = -1;
    std::atomic<bool> stopped_{true};
};

}  // namespace veltrin::audio
