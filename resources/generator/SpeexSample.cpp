// The audio setup test's playback sample, "speex_test.wav" in the audio folder: a 60-byte head,
// then 320-byte Speex wideband voice blocks of a short spoken sentence. The sentence is spoken by
// espeak-ng when it is installed and otherwise synthesised, so the build never depends on it.

#include <QByteArray>

#include <cstring>

#include "ResourceGenerator.h"
#include "audio/SpeechSample.h"
#include "audio/SetupTestSample.h"

namespace {

constexpr char kSentence[] =
    "This is the audio test. If you can hear this sentence clearly, your speakers are working.";

void generateSpeexSample(veltrin::resgen::ResourceWriter& writer) {
    auto pcm = veltrin::audio::speakWithEspeak(kSentence);
    if (!pcm) pcm = veltrin::audio::synthesisedVoice(4.0);
    const std::vector<std::uint8_t> blocks = veltrin::audio::encodeVoiceBlocks(*pcm);

    QByteArray sample(static_cast<qsizetype>(veltrin::audio::kSetupSampleHeadBytes), '\0');
    constexpr char kHead[] = "Veltrin voice sample: Speex wideband, 16000 Hz, 320-byte blocks";
    std::memcpy(sample.data(), kHead, std::min(sizeof kHead - 1, veltrin::audio::kSetupSampleHeadBytes));
    sample.append(reinterpret_cast<const char*>(blocks.data()), static_cast<qsizetype>(blocks.size()));
    writer.writeBytes(QStringLiteral("audio"), QStringLiteral("speex_test.wav"), sample);
}

}  // namespace

VELTRIN_RESOURCE_FAMILY("speex-sample", &generateSpeexSample);
