#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

#include "audio/AudioFormat.h"
#include "audio/MicrophoneProcessor.h"
#include "audio/PlaybackQueue.h"
#include "audio/VoicePlayback.h"
#include "tests/audio/AudioTestSupport.h"

namespace veltrin::audio {
namespace {

using test::toneBlock;

// One encoded voice block of a tone, made by the real microphone path.
std::vector<std::uint8_t> encodedToneBlock() {
    std::vector<std::uint8_t> block;
    MicrophoneProcessor mic([&](const std::uint8_t* d, std::size_t n) { block.assign(d, d + n); }, nullptr);
    const auto pcm = toneBlock();
    mic.process(pcm.data(), pcm.size());
    return block;
}

TEST(PlaybackQueue, KeepsOrderAcrossTheWrapAndFillsWithSilence) {
    PlaybackQueue q(10);
    std::vector<std::uint8_t> in(7);
    std::iota(in.begin(), in.end(), 1);  // 1..7
    ASSERT_EQ(q.append(in), 7u);
    std::array<std::uint8_t, 5> out{};
    ASSERT_EQ(q.take(out), 5u);  // 1..5 out, 6 7 left at the end of the storage
    EXPECT_EQ(out, (std::array<std::uint8_t, 5>{1, 2, 3, 4, 5}));
    ASSERT_EQ(q.append(in), 7u);  // wraps: now 6 7 1..7
    EXPECT_EQ(q.append(in), 1u);  // one byte of room left: only the 1 goes in
    std::array<std::uint8_t, 12> all{};
    all.fill(0xEE);
    EXPECT_EQ(q.take(all), 10u);
    EXPECT_EQ(all, (std::array<std::uint8_t, 12>{6, 7, 1, 2, 3, 4, 5, 6, 7, 1, 0, 0}));
    EXPECT_EQ(q.queued(), 0u);
}

TEST(VoicePlayback, QueueHoldsSevenBlocksAndAPartOfTheEighth) {
    const auto block = encodedToneBlock();
    ASSERT_EQ(block.size(), kVoiceBlockBytes);
    std::vector<int> peaks;
    VoicePlayback player([&](int p) { peaks.push_back(p); });

    for (int i = 0; i < 7; ++i) player.addBuffer(block.data(), block.size());
    EXPECT_EQ(player.queued(), 44800u);
    player.addBuffer(block.data(), block.size());
    EXPECT_EQ(player.queued(), 48000u);  // only 3200 bytes of the eighth
    player.addBuffer(block.data(), block.size());
    EXPECT_EQ(player.queued(), 48000u);  // the ninth is dropped whole
    ASSERT_EQ(peaks.size(), 9u);         // every decoded block is metered, queued or not
    EXPECT_GT(peaks.front(), 1000) << "the tone survives encoding and decoding";
}

TEST(VoicePlayback, WrongBlockLengthsAreIgnoredWithoutAPeak) {
    const auto block = encodedToneBlock();
    int peaks = 0;
    VoicePlayback player([&](int) { ++peaks; });
    for (std::size_t size : {0u, 1u, 319u, 321u, 640u}) {
        std::vector<std::uint8_t> bytes(size, 0x55);
        player.addBuffer(bytes.data(), bytes.size());
    }
    player.addBuffer(nullptr, kVoiceBlockBytes);
    EXPECT_EQ(peaks, 0);
    EXPECT_EQ(player.queued(), 0u);
}

TEST(VoicePlayback, CallbackPlaysWhatIsQueuedThenSilence) {
    const auto block = encodedToneBlock();
    VoicePlayback player(nullptr, 3200);  // a small queue: one half block fits
    player.addBuffer(block.data(), block.size());
    ASSERT_EQ(player.queued(), 3200u);

    std::vector<std::uint8_t> device(kPcmBytesPerBlock, 0xAA);
    EXPECT_EQ(player.fill(device), 3200u);
    EXPECT_TRUE(std::any_of(device.begin(), device.begin() + 3200, [](auto b) { return b != 0 && b != 0xAA; }));
    EXPECT_TRUE(std::all_of(device.begin() + 3200, device.end(), [](auto b) { return b == 0; }));
    EXPECT_EQ(player.fill(device), 0u);
    EXPECT_TRUE(std::all_of(device.begin(), device.end(), [](auto b) { return b == 0; }));
}

TEST(VoicePlayback, VolumeStepChangesTheDecodedLevel) {
    const auto block = encodedToneBlock();
    std::vector<int> peaks;
    VoicePlayback player([&](int p) { peaks.push_back(p); });
    player.addBuffer(block.data(), block.size());
    player.setChangeSampleBy(0);
    player.addBuffer(block.data(), block.size());
    ASSERT_EQ(peaks.size(), 2u);
    EXPECT_GT(peaks[0], 0);
    EXPECT_EQ(peaks[1], 0);
}

TEST(MicrophoneProcessor, EveryWholeBufferBecomesOne320ByteBlock) {
    std::vector<std::size_t> blocks;
    std::vector<int> peaks;
    MicrophoneProcessor mic([&](const std::uint8_t*, std::size_t n) { blocks.push_back(n); },
                            [&](int p) { peaks.push_back(p); });
    const auto pcm = toneBlock();
    // Callbacks of odd sizes still make whole blocks: 1000 + 2200 = one, then 3200 and 100 more.
    mic.process(pcm.data(), 1000);
    mic.process(pcm.data() + 1000, 2200);
    mic.process(pcm.data(), pcm.size());
    mic.process(pcm.data(), 100);
    EXPECT_EQ(blocks, (std::vector<std::size_t>{kVoiceBlockBytes, kVoiceBlockBytes}));
    ASSERT_EQ(peaks.size(), 2u);
    EXPECT_GT(peaks[0], 0);
}

TEST(MicrophoneProcessor, SilenceAndGainStepZeroReportPeakZero) {
    std::vector<int> peaks;
    MicrophoneProcessor mic(nullptr, [&](int p) { peaks.push_back(p); });
    const std::vector<std::int16_t> silence(kSamplesPerBlock, 0);
    mic.process(silence.data(), silence.size());
    mic.setChangeSampleBy(0);
    const auto pcm = toneBlock();
    mic.process(pcm.data(), pcm.size());
    EXPECT_EQ(peaks, (std::vector<int>{0, 0}));
}

}  // namespace
}  // namespace veltrin::audio
