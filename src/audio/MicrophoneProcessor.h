#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

#include "audio/AudioFormat.h"
#include "audio/SpeexCodec.h"

namespace veltrin::audio {

// The work of one microphone buffer, apart from the device: pre-processing, the gain step, the
// peak level and encoding into a 320-byte voice block. process() runs on the device callback;
// it allocates nothing, and the settings lock it takes is held elsewhere only for a settings call.
class MicrophoneProcessor {
public:
    using BlockSink = std::function<void(const std::uint8_t* data, std::size_t size)>;
    using PeakSink = std::function<void(int peak)>;

    MicrophoneProcessor(BlockSink onBlock, PeakSink onPeak);

    // Takes any number of samples; every complete 3200-sample buffer becomes one block (devices
    // deliver exactly that many, but a short or long callback never loses the rhythm).
    void process(const std::int16_t* samples, std::size_t count);

    void setChangeSampleBy(int step) { changeSampleBy_.store(step); }
    int getChangeSampleBy() const { return changeSampleBy_.load(); }
    void setAGC(bool on);
    void setDenoise(bool on);
    void setAutomaticMicState(bool on);
    bool automaticMicState() const { return automatic_.load(); }
    bool hasPreprocessor() const { return encoder_.hasPreprocessor(); }
    // Drops a partly filled buffer (the stream stopped or moved to another device).
    void reset();

private:
    void processBlock();

    BlockSink onBlock_;
    PeakSink onPeak_;
    std::mutex settingsMutex_;  // the encoder and pre-processor state
    VoiceEncoder encoder_;
    std::atomic<int> changeSampleBy_{kNeutralGainStep};
    std::atomic<bool> automatic_{false};
    std::array<std::int16_t, kSamplesPerBlock> pcm_{};
    std::size_t filled_ = 0;
    std::array<std::uint8_t, 2 * kVoiceBlockBytes> block_{};
};

}  // namespace veltrin::audio
