#include "audio/GainAndPeak.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "audio/AudioFormat.h"

namespace veltrin::audio {

namespace {
constexpr int kMaxLevel = 32767;
}

int PCMGetWavePeakValueOfBuffer(std::int16_t* samples, std::size_t count, int changeBy) {
    int peak = 0;
    if (changeBy != kNeutralGainStep) {
        const double factor = std::tan(changeBy / 100.0);
        for (std::size_t i = 0; i < count; ++i) {
            const double scaled = std::round(factor * samples[i]);
            const double clamped = std::clamp(scaled, -double(kMaxLevel), double(kMaxLevel));
            samples[i] = static_cast<std::int16_t>(clamped);
        }
    }
    for (std::size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(int(samples[i])));
    // An untouched -32768 is the one sample whose magnitude exceeds the meter's range.
    return std::min(peak, kMaxLevel);
}

}  // namespace veltrin::audio
