#include "audio/MicrophoneProcessor.h"

#include <algorithm>
#include <cstring>

#include "audio/GainAndPeak.h"

namespace veltrin::audio {

MicrophoneProcessor::MicrophoneProcessor(BlockSink onBlock, PeakSink onPeak)
    : onBlock_(std::move(onBlock)), onPeak_(std::move(onPeak)) {}

void MicrophoneProcessor::setAGC(bool on) {
    std::lock_guard lock(settingsMutex_);
    encoder_.setAGC(on);
}

void MicrophoneProcessor::setDenoise(bool on) {
    std::lock_guard lock(settingsMutex_);
    encoder_.setDenoise(on);
}

void MicrophoneProcessor::setAutomaticMicState(bool on) {
    automatic_.store(on);
    setAGC(on);
}

void MicrophoneProcessor::reset() {
    std::lock_guard lock(settingsMutex_);
    filled_ = 0;
}

void MicrophoneProcessor::process(const std::int16_t* samples, std::size_t count) {
    std::lock_guard lock(settingsMutex_);
    while (count > 0) {
        const std::size_t n = std::min(count, pcm_.size() - filled_);
        std::memcpy(pcm_.data() + filled_, samples, n * sizeof(std::int16_t));
        filled_ += n;
        samples += n;
        count -= n;
        if (filled_ == pcm_.size()) {
            processBlock();
            filled_ = 0;
        }
    }
}

void MicrophoneProcessor::processBlock() {
    encoder_.preprocess(pcm_);
    const int peak = PCMGetWavePeakValueOfBuffer(pcm_.data(), pcm_.size(), changeSampleBy_.load());
    if (onPeak_) onPeak_(peak);
    const std::size_t length = encoder_.encode(pcm_, block_);
    if (length > 0 && onBlock_) onBlock_(block_.data(), length);
}

}  // namespace veltrin::audio
