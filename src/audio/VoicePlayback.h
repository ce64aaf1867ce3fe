#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

#include "audio/AudioFormat.h"
#include "audio/PlaybackQueue.h"
#include "audio/SpeexCodec.h"

namespace veltrin::audio {

// The work of one speaker, apart from the device: decoding a voice block, the volume step and
// peak level, and the bounded queue the device callback reads. Decoding happens on the thread that
// adds blocks, so the callback (fill) only copies bytes.
class VoicePlayback {
public:
    using PeakSink = std::function<void(int peak)>;

    explicit VoicePlayback(PeakSink onPeak, std::size_t queueCapacity = PlaybackQueue::kDefaultCapacity);

    // One encoded block; any length but 320 is ignored without a peak report.
    void addBuffer(const std::uint8_t* data, std::size_t size);
    // The device callback: queued sound first, silence after it.
    std::size_t fill(std::span<std::uint8_t> out) { return queue_.take(out); }

    void setChangeSampleBy(int step) { changeSampleBy_.store(step); }
    int getChangeSampleBy() const { return changeSampleBy_.load(); }
    std::size_t queued() const { return queue_.queued(); }

private:
    PeakSink onPeak_;
    std::mutex decoderMutex_;
    VoiceDecoder decoder_;
    std::array<std::int16_t, kSamplesPerBlock> pcm_{};
    std::atomic<int> changeSampleBy_{kNeutralGainStep};
    PlaybackQueue queue_;
};

}  // namespace veltrin::audio
