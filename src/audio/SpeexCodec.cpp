#include "audio/SpeexCodec.h"

#include <algorithm>

#include "audio/AudioFormat.h"

namespace veltrin::audio {

namespace {
constexpr int kWidebandMode = 1;
constexpr int kEncoderQuality = 4;
constexpr int kEncoderComplexity = 3;
constexpr float kAgcLevel = 8000.0f;
constexpr int kNoiseSuppressDb = -40;
}  // namespace

VoiceEncoder::VoiceEncoder() {
    speex_bits_init(&bits_);
    state_ = speex_encoder_init(speex_lib_get_mode(kWidebandMode));
    int rate = kSampleRate;
    speex_encoder_ctl(state_, SPEEX_SET_SAMPLING_RATE, &rate);
    speex_encoder_ctl(state_, SPEEX_GET_FRAME_SIZE, &frameSize_);
    int complexity = kEncoderComplexity;
    speex_encoder_ctl(state_, SPEEX_SET_COMPLEXITY, &complexity);
    int quality = kEncoderQuality;
    speex_encoder_ctl(state_, SPEEX_SET_QUALITY, &quality);
    preprocess_ = speex_preprocess_state_init(frameSize_, kSampleRate);
}

VoiceEncoder::~VoiceEncoder() {
    if (preprocess_) speex_preprocess_state_destroy(preprocess_);
    speex_encoder_destroy(state_);
    speex_bits_destroy(&bits_);
}

void VoiceEncoder::setAGC(bool on) {
    if (!preprocess_) return;
    int flag = on ? 1 : 0;
    speex_preprocess_ctl(preprocess_, SPEEX_PREPROCESS_SET_AGC, &flag);
    float level = kAgcLevel;
    speex_preprocess_ctl(preprocess_, SPEEX_PREPROCESS_SET_AGC_LEVEL, &level);
}

void VoiceEncoder::setDenoise(bool on) {
    if (!preprocess_) return;
    int flag = on ? 1 : 0;
    speex_preprocess_ctl(preprocess_, SPEEX_PREPROCESS_SET_DENOISE, &flag);
    int suppress = kNoiseSuppressDb;
    speex_preprocess_ctl(preprocess_, SPEEX_PREPROCESS_SET_NOISE_SUPPRESS, &suppress);
}

void VoiceEncoder::preprocess(std::span<std::int16_t> samples) {
    if (!preprocess_ || frameSize_ <= 0) return;
    const auto frame = static_cast<std::size_t>(frameSize_);
    for (std::size_t at = 0; at + frame <= samples.size(); at += frame)
        speex_preprocess_run(preprocess_, samples.data() + at);
}

std::size_t VoiceEncoder::encode(std::span<const std::int16_t> samples, std::span<std::uint8_t> out) {
    if (frameSize_ <= 0) return 0;
    const auto frame = static_cast<std::size_t>(frameSize_);
    for (std::size_t at = 0; at + frame <= samples.size(); at += frame) {
        // speex_encode_int keeps its input untouched in practice but is declared non-const.
        speex_encode_int(state_, const_cast<spx_int16_t*>(samples.data() + at), &bits_);
    }
    const auto length = static_cast<std::size_t>(speex_bits_nbytes(&bits_));
    std::size_t written = 0;
    if (length <= out.size())
        written = static_cast<std::size_t>(speex_bits_write(&bits_, reinterpret_cast<char*>(out.data()),
                                                            static_cast<int>(out.size())));
    speex_bits_reset(&bits_);
    return written;
}

VoiceDecoder::VoiceDecoder() {
    speex_bits_init(&bits_);
    state_ = speex_decoder_init(speex_lib_get_mode(kWidebandMode));
    speex_decoder_ctl(state_, SPEEX_GET_FRAME_SIZE, &frameSize_);
    int enhance = 1;
    speex_decoder_ctl(state_, SPEEX_SET_ENH, &enhance);
}

VoiceDecoder::~VoiceDecoder() {
    speex_decoder_destroy(state_);
    speex_bits_destroy(&bits_);
}

void VoiceDecoder::decode(std::span<const std::uint8_t> block, std::span<std::int16_t> samples) {
    if (frameSize_ <= 0) return;
    speex_bits_read_from(&bits_, reinterpret_cast<const char*>(block.data()), static_cast<int>(block.size()));
    const auto frame = static_cast<std::size_t>(frameSize_);
    for (std::size_t at = 0; at + frame <= samples.size(); at += frame) {
        // A damaged block (the decoder reports an error) plays as silence rather than noise.
        if (speex_decode_int(state_, &bits_, samples.data() + at) != 0)
            std::fill(samples.begin() + static_cast<std::ptrdiff_t>(at),
                      samples.begin() + static_cast<std::ptrdiff_t>(at + frame), std::int16_t{0});
    }
    speex_bits_reset(&bits_);
}

}  // namespace veltrin::audio
