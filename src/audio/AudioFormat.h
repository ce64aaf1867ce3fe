#pragma once

#include <cstddef>

namespace veltrin::audio {

// The one sound format of the audio channel: signed 16-bit mono PCM at 16000 Hz, carried as
// voice blocks of ten 20 ms Speex wideband frames. Devices deliver and take 200 ms buffers, so one
// device buffer is exactly one voice block.
inline constexpr int kSampleRate = 16000;
inline constexpr int kFramesPerBlock = 10;
inline constexpr int kSamplesPerFrame = 320;
inline constexpr int kSamplesPerBlock = kFramesPerBlock * kSamplesPerFrame;  // 3200
inline constexpr std::size_t kPcmBytesPerBlock = kSamplesPerBlock * 2;       // 6400
// At quality 4 each wideband frame is 256 bits, so a block is always this long; receivers take
// no other length.
inline constexpr std::size_t kVoiceBlockBytes = 320;
// Gain step of the volume sliders that leaves samples untouched (tan(0.79) is about 1.009).
inline constexpr int kNeutralGainStep = 79;

}  // namespace veltrin::audio
