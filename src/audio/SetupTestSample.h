#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace veltrin::audio {

// The audio setup test's playback sample: a 60-byte head, then 320-byte voice blocks. Answers the
// whole blocks in order; a trailing partial block is left out, and a sample shorter than its head
// has none.
std::vector<std::span<const std::uint8_t>> voiceBlocksOfSample(std::span<const std::uint8_t> sample);

inline constexpr std::size_t kSetupSampleHeadBytes = 60;

}  // namespace veltrin::audio
