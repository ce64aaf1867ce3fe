#include <gtest/gtest.h>

#include <vector>

#include "audio/GainAndPeak.h"

namespace veltrin::audio {
namespace {

struct GainCase {
    const char* name;
    int step;
    std::vector<std::int16_t> in;
    std::vector<std::int16_t> out;
    int peak;
};

TEST(GainAndPeak, AppliesTheStepAndAnswersThePeak) {
    const std::vector<GainCase> cases = {
        {"neutral step is bit-exact", 79, {0, 1, -1, 12345, -32768, 32767}, {0, 1, -1, 12345, -32768, 32767}, 32767},
        {"step 0 silences", 0, {1000, -32768, 32767}, {0, 0, 0}, 0},
        {"silent buffer", 120, {0, 0, 0, 0}, {0, 0, 0, 0}, 0},
        // tan(1.00) = 1.5574...: 1000 -> 1557.4 -> 1557; -3 -> -4.67 -> -5
        {"rounds tan(v/100) times the sample", 100, {1000, -3, 2}, {1557, -5, 3}, 1557},
        // tan(1.50) = 14.1: clipped to the symmetric range, never -32768
        {"clips at +-32767", 150, {3000, -3000, 2323, 2324}, {32767, -32767, 32758, 32767}, 32767},
        {"empty buffer", 100, {}, {}, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::int16_t> samples = c.in;
        EXPECT_EQ(PCMGetWavePeakValueOfBuffer(samples.data(), samples.size(), c.step), c.peak) << c.name;
        EXPECT_EQ(samples, c.out) << c.name;
    }
}

}  // namespace
}  // namespace veltrin::audio
