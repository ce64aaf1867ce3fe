#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veltrin::audio {

// Speech for samples and tests: 16 kHz mono 16-bit PCM.

// `text` spoken by espeak-ng (run as a child process), resampled to 16 kHz; nothing when the
// program is missing or fails.
std::optional<std::vector<std::int16_t>> speakWithEspeak(const std::string& text, int wordsPerMinute = 150);

// A voiced sound without a speech synthesiser: syllables of a glottal pulse train through two
// formant resonators, with pauses between them, so that it has speech's envelope and pitch.
std::vector<std::int16_t> synthesisedVoice(double seconds);

// Linear-interpolation resampling of mono PCM from `fromRate` to 16000 Hz, after a simple
// low-pass when the source is faster.
std::vector<std::int16_t> resampleTo16k(const std::vector<std::int16_t>& pcm, int fromRate);

// The PCM of a RIFF/WAVE file of 16-bit mono PCM, and its rate; nothing for anything else.
std::optional<std::vector<std::int16_t>> pcmOfWave(const std::vector<std::uint8_t>& wave, int& rate);

// Encodes PCM (padded with silence to whole blocks) into 320-byte voice blocks, one after another.
std::vector<std::uint8_t> encodeVoiceBlocks(const std::vector<std::int16_t>& pcm);

}  // namespace veltrin::audio
