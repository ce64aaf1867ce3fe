// The audio work per 200 ms buffer: what the microphone callback does (pre-process, gain,
// encode), what the channel's reader does per relayed block (decode, gain, queue), and what a
// speaker callback does (copy out of the queue), the last against a plain memcpy of the same size
// as its baseline. All three must stay far below the 200 ms they cover.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "audio/AudioFormat.h"
#include "audio/MicrophoneProcessor.h"
#include "audio/VoicePlayback.h"

namespace {

using namespace veltrin::audio;

std::vector<std::int16_t> tone() {
    std::vector<std::int16_t> pcm(kSamplesPerBlock);
    for (std::size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(std::lround(8000 * std::sin(2 * M_PI * 440 * double(i) / kSampleRate)));
    return pcm;
}

std::vector<std::uint8_t> encodedBlock() {
    std::vector<std::uint8_t> block;
    MicrophoneProcessor mic([&](const std::uint8_t* d, std::size_t n) { block.assign(d, d + n); }, nullptr);
    const auto pcm = tone();
    mic.process(pcm.data(), pcm.size());
    return block;
}

void BM_MicrophoneBuffer(benchmark::State& state) {
    std::size_t bytes = 0;
    MicrophoneProcessor mic([&](const std::uint8_t*, std::size_t n) { bytes += n; }, [](int) {});
    mic.setAGC(state.range(0) != 0);
    mic.setDenoise(true);
    mic.setChangeSampleBy(100);  // a non-neutral step, so the gain loop runs too
    const auto pcm = tone();
    for (auto _ : state) mic.process(pcm.data(), pcm.size());
    benchmark::DoNotOptimize(bytes);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MicrophoneBuffer)->Arg(0)->Arg(1)->ArgName("agc");

void BM_PlayerBlock(benchmark::State& state) {
    const auto block = encodedBlock();
    VoicePlayback player([](int) {});
    player.setChangeSampleBy(60);
    std::vector<std::uint8_t> device(kPcmBytesPerBlock);
    for (auto _ : state) {
        player.addBuffer(block.data(), block.size());
        player.fill(device);  // keeps the queue from filling up
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlayerBlock);

void BM_SpeakerCallback(benchmark::State& state) {
    VoicePlayback player([](int) {});
    const auto block = encodedBlock();
    std::vector<std::uint8_t> device(kPcmBytesPerBlock);
    for (auto _ : state) {
        state.PauseTiming();
        player.addBuffer(block.data(), block.size());
        state.ResumeTiming();
        benchmark::DoNotOptimize(player.fill(device));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kPcmBytesPerBlock));
}
BENCHMARK(BM_SpeakerCallback);

void BM_SpeakerCallbackBaselineMemcpy(benchmark::State& state) {
    std::vector<std::uint8_t> from(kPcmBytesPerBlock, 1), to(kPcmBytesPerBlock);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kPcmBytesPerBlock));
}
BENCHMARK(BM_SpeakerCallbackBaselineMemcpy);

}  // namespace
