#pragma once

#include <cstddef>
#include <cstdint>

namespace veltrin::audio {

// The volume rule shared by microphone and speakers: for a gain step v other than the neutral 79,
// every sample s becomes round(tan(v / 100) * s) clamped to -32767..32767; step 79 leaves the
// samples bit-exact. Answers the peak, the largest |s| after the change, in 0..32767 (an empty
// buffer answers 0).
int PCMGetWavePeakValueOfBuffer(std::int16_t* samples, std::size_t count, int changeBy);

}  // namespace veltrin::audio
