#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include <speex/speex.h>
#include <speex/speex_preprocess.h>

namespace veltrin::audio {

// Speex wideband encoder (quality 4, complexity 3, constant bit rate) with the Speex DSP
// pre-processor in front of it. Not thread-safe: one owner thread at a time.
class VoiceEncoder {
public:
    VoiceEncoder();
    ~VoiceEncoder();
    VoiceEncoder(const VoiceEncoder&) = delete;
    VoiceEncoder& operator=(const VoiceEncoder&) = delete;

    int frameSize() const { return frameSize_; }
    // Without a pre-processor (it could not be created) sound is encoded as it comes.
    bool hasPreprocessor() const { return preprocess_ != nullptr; }
    // Automatic gain towards level 8000; noise suppression at -40 dB. No effect without a
    // pre-processor.
    void setAGC(bool on);
    void setDenoise(bool on);

    // Runs the pre-processor in place over one block's frames (samples.size() a multiple of the
    // frame size).
    void preprocess(std::span<std::int16_t> samples);
    // Encodes one block's frames into one bit stream and writes it to `out`; answers its length
    // (320 for a whole block), 0 when `out` is too small.
    std::size_t encode(std::span<const std::int16_t> samples, std::span<std::uint8_t> out);

private:
    SpeexBits bits_{};
    void* state_ = nullptr;
    SpeexPreprocessState* preprocess_ = nullptr;
    int frameSize_ = 0;
};

// Speex wideband decoder with perceptual enhancement. Not thread-safe.
class VoiceDecoder {
public:
    VoiceDecoder();
    ~VoiceDecoder();
    VoiceDecoder(const VoiceDecoder&) = delete;
    VoiceDecoder& operator=(const VoiceDecoder&) = delete;

    int frameSize() const { return frameSize_; }
    // Decodes one voice block into samples.size() / frameSize frames (3200 samples for a block).
    void decode(std::span<const std::uint8_t> block, std::span<std::int16_t> samples);

private:
    SpeexBits bits_{};
    void* state_ = nullptr;
    int frameSize_ = 0;
};

}  // namespace veltrin::audio
