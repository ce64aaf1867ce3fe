#include "audio/VoicePlayback.h"

#include "audio/GainAndPeak.h"

namespace veltrin::audio {

VoicePlayback::VoicePlayback(PeakSink onPeak, std::size_t queueCapacity)
    : onPeak_(std::move(onPeak)), queue_(queueCapacity) {}

void VoicePlayback::addBuffer(const std::uint8_t* data, std::size_t size) {
    if (!data || size != kVoiceBlockBytes) return;
    std::lock_guard lock(decoderMutex_);
    decoder_.decode({data, size}, pcm_);
    const int peak = PCMGetWavePeakValueOfBuffer(pcm_.data(), pcm_.size(), changeSampleBy_.load());
    if (onPeak_) onPeak_(peak);
    // Samples are little-endian on every platform this runs on, as the device expects them.
    queue_.append({reinterpret_cast<const std::uint8_t*>(pcm_.data()), kPcmBytesPerBlock});
}

}  // namespace veltrin::audio
