// Runs the real PortAudio devices against the file-backed ALSA configuration of
// tests/fixtures/alsa: the default device captures a tone from a file and plays into another.

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "audio/PortAudioSystem.h"
#include "audio/TACMIn.h"
#include "audio/TACMOut.h"
#include "tests/audio/AudioTestSupport.h"

namespace veltrin::audio {
namespace {

using namespace std::chrono_literals;

// ALSA reads its configuration once per process, so the fixture is set up before any test runs.
std::string setUpAlsaFixture() {
    char dirTemplate[] = "/tmp/veltrin-alsa-XXXXXX";
    const std::string dir = ::mkdtemp(dirTemplate);
    const std::string config =
        std::string("/usr/share/alsa/alsa.conf:") + VELTRIN_SOURCE_DIR + "/tests/fixtures/alsa/asound.conf";
    ::setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    ::setenv("VELTRIN_ALSA_DIR", dir.c_str(), 1);
    // Five seconds of tone: more than any test records.
    std::ofstream capture(dir + "/capture.raw", std::ios::binary);
    for (int i = 0; i < 25; ++i) {
        const auto pcm = test::toneBlock();
        capture.write(reinterpret_cast<const char*>(pcm.data()), std::streamsize(pcm.size() * 2));
    }
    return dir;
}
const std::string gAlsaDir = setUpAlsaFixture();
struct RemoveAlsaDir {
    ~RemoveAlsaDir() {
        std::error_code ec;
        std::filesystem::remove_all(gAlsaDir, ec);
    }
} gRemoveAlsaDir;

// The first `count` samples the player wrote.
std::vector<std::int16_t> playedSamples(std::size_t count) {
    std::ifstream in(gAlsaDir + "/playback.raw", std::ios::binary);
    std::vector<std::int16_t> samples(count);
    in.read(reinterpret_cast<char*>(samples.data()), std::streamsize(count * 2));
    samples.resize(std::size_t(in.gcount()) / 2);
    return samples;
}

std::uintmax_t playedBytes() {
    std::error_code ec;
    const auto size = std::filesystem::file_size(gAlsaDir + "/playback.raw", ec);
    return ec ? 0 : size;
}

class Loopback : public AudioInputDelegate, public AudioOutputDelegate {
public:
    void AcmInCompressedData(AudioInput&, const std::uint8_t* data, std::size_t size) override {
        std::lock_guard lock(mutex_);
        blocks.emplace_back(data, data + size);
        changed_.notify_all();
    }
    void AcmInPeakLevel(AudioInput&, int peak) override {
        std::lock_guard lock(mutex_);
        micPeaks.push_back(peak);
    }
    void AcmOutPeakLevel(AudioOutput&, int peak) override {
        std::lock_guard lock(mutex_);
        wavPeaks.push_back(peak);
    }
    bool waitForBlocks(std::size_t n) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return blocks.size() >= n; });
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::vector<std::uint8_t>> blocks;
    std::vector<int> micPeaks, wavPeaks;
};

TEST(AudioDevices, DefaultEntryFirstAndDuplexDevicesInBothLists) {
    std::vector<AudioDeviceEntry> inputs, outputs;
    const int count = EnumAudioDevices(inputs, true, false, true);
    ASSERT_GT(count, 0);
    ASSERT_EQ(EnumAudioDevices(outputs, false, true, true), count);
    ASSERT_FALSE(inputs.empty());
    EXPECT_EQ(inputs.front(), (AudioDeviceEntry{-1, "Default Device"}));
    EXPECT_EQ(outputs.front(), (AudioDeviceEntry{-1, "Default Device"}));

    const auto isDefault = [](const AudioDeviceEntry& e) { return e.title == "default"; };
    const auto in = std::find_if(inputs.begin() + 1, inputs.end(), isDefault);
    const auto out = std::find_if(outputs.begin() + 1, outputs.end(), isDefault);
    ASSERT_NE(in, inputs.end());
    ASSERT_NE(out, outputs.end());
    EXPECT_EQ(in->tag, out->tag) << "the duplex device is listed once in each direction";

    std::vector<AudioDeviceEntry> both;
    EnumAudioDevices(both, true, true, false);
    EXPECT_EQ(std::count(both.begin(), both.end(), *in), 2);

    EXPECT_TRUE(isDeviceWithIdMatchesName(in->tag, "default"));
    EXPECT_FALSE(isDeviceWithIdMatchesName(in->tag, "Default"));
    EXPECT_FALSE(isDeviceWithIdMatchesName(count, "default")) << "an index past the device count";
    EXPECT_FALSE(isDeviceWithIdMatchesName(-1, ""));
}

TEST(AudioDevices, MicrophoneBlocksPlayBackThroughAPlayer) {
    Loopback loop;
    auto mic = TACMIn::create(-1, true, loop);
    ASSERT_TRUE(mic);
    ASSERT_TRUE(mic->start());
    ASSERT_TRUE(loop.waitForBlocks(3));
    mic->stop();
    {
        std::lock_guard lock(loop.mutex_);
        for (const auto& b : loop.blocks) EXPECT_EQ(b.size(), 320u);
        EXPECT_EQ(loop.micPeaks.back(), 0) << "stopping reports silence";
        EXPECT_GT(*std::max_element(loop.micPeaks.begin(), loop.micPeaks.end()), 1000);
    }
    std::vector<std::vector<std::uint8_t>> blocks;
    {
        std::lock_guard lock(loop.mutex_);
        blocks = loop.blocks;
    }
    // The file device has no clock of its own and plays as fast as it is fed, so the sound is
    // queued before the stream starts and the stream is stopped once it has played that much.
    auto player = TACMOut::create(-1, loop);
    ASSERT_TRUE(player);
    for (const auto& b : blocks) player->addBuffer(b.data(), b.size());
    ASSERT_TRUE(player->start());
    const std::uintmax_t expected = blocks.size() * kPcmBytesPerBlock;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (playedBytes() < expected && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
    player->stop();
    EXPECT_TRUE(player->stopped());

    const auto played = playedSamples(expected / 2);
    ASSERT_EQ(played.size(), expected / 2);
    const auto loud = std::count_if(played.begin(), played.end(), [](std::int16_t v) { return std::abs(int(v)) > 1000; });
    EXPECT_GT(loud, std::ptrdiff_t(played.size() / 4)) << "the tone came through encoder, decoder and device";
    std::lock_guard lock(loop.mutex_);
    EXPECT_EQ(loop.wavPeaks.size(), blocks.size());
}

TEST(AudioDevices, SwitchingTheMicrophoneKeepsItsRunningState) {
    std::vector<AudioDeviceEntry> inputs;
    ASSERT_GT(EnumAudioDevices(inputs, true, false, false), 0);
    const auto named = std::find_if(inputs.begin(), inputs.end(), [](auto& e) { return e.title == "default"; });
    ASSERT_NE(named, inputs.end());

    Loopback loop;
    auto mic = TACMIn::create(-1, false, loop);
    ASSERT_TRUE(mic);
    ASSERT_TRUE(mic->start());
    EXPECT_EQ(mic->OpenDeviceWithId(named->tag), 0);
    EXPECT_TRUE(mic->running()) << "a running microphone restarts on the new device";
    ASSERT_TRUE(loop.waitForBlocks(2));
    mic->stop();
    EXPECT_EQ(mic->OpenDeviceWithId(-1), 0);
    EXPECT_FALSE(mic->running()) << "a stopped one stays stopped";
    EXPECT_NE(mic->OpenDeviceWithId(static_cast<int>(inputs.size()) + 100), 0) << "no such device";
    EXPECT_TRUE(mic->start()) << "the failed switch left the previous device in use";
    mic->stop();
}

}  // namespace
}  // namespace veltrin::audio
