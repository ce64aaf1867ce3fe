#include "audio/SetupTestSample.h"

#include "audio/AudioFormat.h"

namespace veltrin::audio {

std::vector<std::span<const std::uint8_t>> voiceBlocksOfSample(std::span<const std::uint8_t> sample) {
    std::vector<std::span<const std::uint8_t>> blocks;
    if (sample.size() < kSetupSampleHeadBytes) return blocks;
    auto rest = sample.subspan(kSetupSampleHeadBytes);
    while (rest.size() >= kVoiceBlockBytes) {
        blocks.push_back(rest.first(kVoiceBlockBytes));
        rest = rest.subspan(kVoiceBlockBytes);
    }
    return blocks;
}

}  // namespace veltrin::audio
