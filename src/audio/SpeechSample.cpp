#include "audio/SpeechSample.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/AudioFormat.h"
#include "audio/SpeexCodec.h"

namespace veltrin::audio {

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

}  // namespace

std::optional<std::vector<std::int16_t>> pcmOfWave(const std::vector<std::uint8_t>& wave, int& rate) {
    if (wave.size() < 12 || std::memcmp(wave.data(), "RIFF", 4) != 0 || std::memcmp(wave.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::size_t pos = 12;
    bool formatOk = false;
    while (pos + 8 <= wave.size()) {
        const std::uint8_t* chunk = wave.data() + pos;
        // A streamed WAVE (espeak-ng on a pipe) announces sizes it could not know: clamp to the data.
        const std::size_t size = std::min<std::size_t>(le32(chunk + 4), wave.size() - pos - 8);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            const std::uint16_t format = le16(chunk + 8);
            const std::uint16_t channels = le16(chunk + 10);
            rate = static_cast<int>(le32(chunk + 12));
            const std::uint16_t bits = le16(chunk + 22);
            formatOk = format == 1 && channels == 1 && bits == 16 && rate > 0;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!formatOk) return std::nullopt;
            std::vector<std::int16_t> pcm(size / 2);
            std::memcpy(pcm.data(), chunk + 8, pcm.size() * 2);
            return pcm;
        }
        pos += 8 + size + (size & 1);
    }
    return std::nullopt;
}

std::vector<std::int16_t> resampleTo16k(const std::vector<std::int16_t>& pcm, int fromRate) {
    if (fromRate == kSampleRate || pcm.empty() || fromRate <= 0) return pcm;
    std::vector<double> source(pcm.begin(), pcm.end());
    if (fromRate > kSampleRate) {
        // Two passes of a short moving average keep most of the speech band and tame aliasing.
        const int width = std::max(1, fromRate / kSampleRate);
        for (int pass = 0; pass < 2 && width > 1; ++pass) {
            std::vector<double> smoothed(source.size());
            double sum = 0;
            for (std::size_t i = 0; i < source.size(); ++i) {
                sum += source[i];
                if (i >= std::size_t(width)) sum -= source[i - std::size_t(width)];
                smoothed[i] = sum / std::min<double>(double(i + 1), width);
            }
            source.swap(smoothed);
        }
    }
    const double step = double(fromRate) / kSampleRate;
    const std::size_t count = static_cast<std::size_t>(double(source.size()) / step);
    std::vector<std::int16_t> out(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double at = double(i) * step;
        const std::size_t k = static_cast<std::size_t>(at);
        const double frac = at - double(k);
        const double next = k + 1 < source.size() ? source[k + 1] : source[k];
        const double v = source[k] * (1 - frac) + next * frac;
        out[i] = static_cast<std::int16_t>(std::clamp(std::lround(v), -32767L, 32767L));
    }
    return out;
}

std::optional<std::vector<std::int16_t>> speakWithEspeak(const std::string& text, int wordsPerMinute) {
    QProcess espeak;
    espeak.start(QStringLiteral("espeak-ng"),
                 {QStringLiteral("-v"), QStringLiteral("en"), QStringLiteral("-s"), QString::number(wordsPerMinute),
                  QStringLiteral("--stdout"), QStringLiteral("--stdin")});
    if (!espeak.waitForStarted(5000)) return std::nullopt;
    espeak.write(QByteArray::fromStdString(text));
    espeak.closeWriteChannel();
    if (!espeak.waitForFinished(30000) || espeak.exitStatus() != QProcess::NormalExit || espeak.exitCode() != 0)
        return std::nullopt;
    const QByteArray out = espeak.readAllStandardOutput();
    const std::vector<std::uint8_t> wave(out.begin(), out.end());
    int rate = 0;
    auto pcm = pcmOfWave(wave, rate);
    if (!pcm || pcm->empty()) return std::nullopt;
    return resampleTo16k(*pcm, rate);
}

std::vector<std::int16_t> synthesisedVoice(double seconds) {
    const std::size_t count = static_cast<std::size_t>(seconds * kSampleRate);
    std::vector<std::int16_t> pcm(count);
    // Two-pole resonator state per formant.
    struct Resonator {
        double a1, a2, gain, y1 = 0, y2 = 0;
        Resonator(double hz, double bandwidth) {
            const double r = std::exp(-M_PI * bandwidth / kSampleRate);
            a1 = 2 * r * std::cos(2 * M_PI * hz / kSampleRate);
            a2 = -r * r;
            gain = 1 - r;
        }
        double step(double x) {
            const double y = gain * x + a1 * y1 + a2 * y2;
            y2 = y1;
            y1 = y;
            return y;
        }
    };
    Resonator f1(650, 80), f2(1200, 120);
    constexpr double kSyllable = 0.22, kPause = 0.08;
    double phase = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = double(i) / kSampleRate;
        const double inCycle = std::fmod(t, kSyllable + kPause);
        const double envelope = inCycle < kSyllable ? std::sin(M_PI * inCycle / kSyllable) : 0;
        const double pitch = 120 + 30 * std::sin(2 * M_PI * 0.7 * t);
        phase += pitch / kSampleRate;
        const double pulse = phase >= 1 ? (phase -= 1, 1.0) : 0.0;
        const double v = f1.step(pulse * 400) * 10 + f2.step(pulse * 400) * 6;
        pcm[i] = static_cast<std::int16_t>(std::clamp(std::lround(v * envelope * 60), -32767L, 32767L));
    }
    return pcm;
}

std::vector<std::uint8_t> encodeVoiceBlocks(const std::vector<std::int16_t>& pcm) {
    VoiceEncoder encoder;
    std::vector<std::uint8_t> blocks;
    std::vector<std::int16_t> block(kSamplesPerBlock);
    std::vector<std::uint8_t> out(2 * kVoiceBlockBytes);
    for (std::size_t at = 0; at < pcm.size(); at += kSamplesPerBlock) {
        std::fill(block.begin(), block.end(), 0);
        std::copy_n(pcm.begin() + std::ptrdiff_t(at), std::min<std::size_t>(kSamplesPerBlock, pcm.size() - at),
                    block.begin());
        const std::size_t n = encoder.encode(block, out);
        blocks.insert(blocks.end(), out.begin(), out.begin() + std::ptrdiff_t(n));
    }
    return blocks;
}

}  // namespace veltrin::audio
