#pragma once

#include <memory>
#include <mutex>

#include "audio/AudioDevice.h"
#include "audio/MicrophoneProcessor.h"
#include "audio/PortAudioSystem.h"

typedef void PaStream;  // NOLINT: PortAudio's own declaration

namespace veltrin::audio {

// The microphone: a PortAudio input stream (mono, 16-bit, 16000 Hz, 3200 frames per buffer)
// whose callback runs MicrophoneProcessor and reports to the delegate on the callback thread.
class TACMIn final : public AudioInput {
public:
    // Nothing when PortAudio or the device fails (logged). The stream is open and stopped.
    static std::unique_ptr<TACMIn> create(int deviceId, bool automaticGain, AudioInputDelegate& delegate);
    ~TACMIn() override;

    int OpenDeviceWithId(int deviceId) override;
    bool start() override;
    void stop() override;
    void setChangeSampleBy(int step) override { processor_.setChangeSampleBy(step); }
    int getChangeSampleBy() const override { return processor_.getChangeSampleBy(); }
    void setAutomaticMicState(bool on) override { processor_.setAutomaticMicState(on); }
    void setDenoise(bool on) { processor_.setDenoise(on); }
    // Whether the stream is running (delivering buffers).
    bool running();

private:
    explicit TACMIn(AudioInputDelegate& delegate);
    void closeStream();
    int openStream(int deviceId);  // under streamMutex_

    PortAudioSession session_;
    AudioInputDelegate& delegate_;
    MicrophoneProcessor processor_;
    std::mutex streamMutex_;  // the stream pointer, between the main thread and the connector
    PaStream* stream_ = nullptr;
    int deviceId_ = -1;
};

}  // namespace veltrin::audio
