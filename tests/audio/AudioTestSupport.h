#pragma once

#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "audio/AudioConnector.h"
#include "audio/AudioFormat.h"

namespace veltrin::audio::test {

// A 3200-sample block of a sine tone: something the codec keeps audible.
inline std::vector<std::int16_t> toneBlock(double amplitude = 8000, double hz = 440) {
    std::vector<std::int16_t> pcm(kSamplesPerBlock);
    for (std::size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * M_PI * hz * double(i) / kSampleRate)));
    return pcm;
}

// Records what the connector reports, for the test thread to wait on.
class RecordingObserver : public AudioConnectorObserver {
public:
    struct Status {
        int code;
        bool playbackOk;
        bool microphoneOk;
        bool operator==(const Status&) const = default;
    };

    void Safe_NotifyAudioStatusChange(int code, bool playbackOk, bool microphoneOk) override {
        std::lock_guard lock(mutex_);
        statuses_.push_back({code, playbackOk, microphoneOk});
        changed_.notify_all();
    }
    void setMicPeak(int peak) override {
        std::lock_guard lock(mutex_);
        micPeaks_.push_back(peak);
    }
    void setWavPeak(int peak) override {
        std::lock_guard lock(mutex_);
        wavPeaks_.push_back(peak);
    }
    void storedAudioDeviceReset(bool input) override {
        std::lock_guard lock(mutex_);
        resets_.push_back(input);
    }

    std::vector<Status> statuses() const {
        std::lock_guard lock(mutex_);
        return statuses_;
    }
    std::vector<bool> resets() const {
        std::lock_guard lock(mutex_);
        return resets_;
    }
    // Waits until `count` status reports have arrived.
    bool waitForStatuses(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return statuses_.size() >= count; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Status> statuses_;
    std::vector<int> micPeaks_;
    std::vector<int> wavPeaks_;
    std::vector<bool> resets_;
};

}  // namespace veltrin::audio::test
