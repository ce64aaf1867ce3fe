#include "platform/sound/AiffSound.h"

#include <cmath>
#include <cstring>

namespace veltrin {

namespace {

std::uint32_t readBe32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return (std::uint32_t{u[0]} << 24) | (std::uint32_t{u[1]} << 16) | (std::uint32_t{u[2]} << 8) | u[3];
}

std::uint16_t readBe16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>((u[0] << 8) | u[1]);
}

void appendBe32(QByteArray& out, std::uint32_t v) {
    out.append(static_cast<char>(v >> 24));
    out.append(static_cast<char>(v >> 16));
    out.append(static_cast<char>(v >> 8));
    out.append(static_cast<char>(v));
}

void appendBe16(QByteArray& out, std::uint16_t v) {
    out.append(static_cast<char>(v >> 8));
    out.append(static_cast<char>(v));
}

// The sample rate is an 80-bit IEEE extended number: sign and 15-bit exponent, then a 64-bit
// mantissa with an explicit integer bit.
std::optional<double> readExtended(const char* p) {
    const std::uint16_t signExponent = readBe16(p);
    std::uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i) mantissa = (mantissa << 8) | static_cast<unsigned char>(p[2 + i]);
    const int exponent = (signExponent & 0x7fff) - 16383;
    if ((signExponent & 0x8000) != 0 || mantissa == 0 || exponent < 0 || exponent > 31) return std::nullopt;
    return std::ldexp(static_cast<double>(mantissa), exponent - 63);
}

void appendExtended(QByteArray& out, std::uint32_t value) {
    int exponent = 31;
    while (exponent > 0 && (value >> exponent) == 0) --exponent;
    appendBe16(out, static_cast<std::uint16_t>(16383 + exponent));
    const std::uint64_t mantissa = std::uint64_t{value} << (63 - exponent);
    appendBe32(out, static_cast<std::uint32_t>(mantissa >> 32));
    appendBe32(out, static_cast<std::uint32_t>(mantissa));
}

std::optional<PcmSound> failWith(QString* error, const char* why) {
    if (error != nullptr) *error = QString::fromLatin1(why);
    return std::nullopt;
}

}  // namespace

std::optional<PcmSound> decodeAiff(const QByteArray& file, QString* error) {
    const char* data = file.constData();
    const qsizetype size = file.size();
    if (size < 12 || std::memcmp(data, "FORM", 4) != 0 || std::memcmp(data + 8, "AIFF", 4) != 0)
        return failWith(error, "not an AIFF file");
    // A FORM size larger than the file means a cut-off file; the chunks that are there still count.
    const qsizetype formEnd = std::min<qsizetype>(size, qsizetype{8} + readBe32(data + 4));

    int channels = 0;
    std::uint32_t frames = 0;
    int bits = 0;
    double rate = 0;
    bool haveCommon = false;
    const char* soundData = nullptr;
    qsizetype soundBytes = 0;

    qsizetype at = 12;
    while (at + 8 <= formEnd) {
        const char* chunk = data + at;
        const std::uint32_t chunkSize = readBe32(chunk + 4);
        const qsizetype available = formEnd - at - 8;
        if (chunkSize > static_cast<std::uint64_t>(available)) return failWith(error, "chunk larger than the file");
        if (std::memcmp(chunk, "COMM", 4) == 0) {
            if (chunkSize < 18) return failWith(error, "short COMM chunk");
            channels = readBe16(chunk + 8);
            frames = readBe32(chunk + 10);
            bits = readBe16(chunk + 14);
            const std::optional<double> sampleRate = readExtended(chunk + 16);
            if (!sampleRate) return failWith(error, "bad sample rate");
            rate = *sampleRate;
            haveCommon = true;
        } else if (std::memcmp(chunk, "SSND", 4) == 0) {
            if (chunkSize < 8) return failWith(error, "short SSND chunk");
            const std::uint32_t offset = readBe32(chunk + 8);
            if (offset > chunkSize - 8) return failWith(error, "SSND offset past its chunk");
            soundData = chunk + 16 + offset;
            soundBytes = static_cast<qsizetype>(chunkSize - 8 - offset);
        }
        at += 8 + static_cast<qsizetype>(chunkSize) + (chunkSize & 1);
    }

    if (!haveCommon) return failWith(error, "no COMM chunk");
    if (soundData == nullptr) return failWith(error, "no SSND chunk");
    if (channels < 1 || channels > kMaxSoundChannels) return failWith(error, "unsupported channel count");
    if (bits != 8 && bits != 16) return failWith(error, "unsupported sample size");
    if (rate < 1000 || rate > kMaxSoundRate || rate != std::floor(rate)) return failWith(error, "unsupported sample rate");
    const int sampleRate = static_cast<int>(rate);
    if (frames > static_cast<std::uint64_t>(sampleRate) * kMaxSoundSeconds) return failWith(error, "sound too long");
    const int bytesPerSample = bits / 8;
    const std::uint64_t needed = std::uint64_t{frames} * static_cast<std::uint64_t>(channels * bytesPerSample);
    if (needed > static_cast<std::uint64_t>(soundBytes)) return failWith(error, "fewer samples than announced");

    PcmSound sound;
    sound.sampleRate = sampleRate;
    sound.channels = channels;
    const std::size_t count = std::size_t{frames} * static_cast<std::size_t>(channels);
    sound.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (bytesPerSample == 1)
            sound.samples[i] = static_cast<std::int16_t>(static_cast<signed char>(soundData[i]) * 256);
        else
            sound.samples[i] = static_cast<std::int16_t>(readBe16(soundData + 2 * i));
    }
    return sound;
}

QByteArray encodeAiff(const PcmSound& sound) {
    const auto frames = static_cast<std::uint32_t>(sound.frameCount());
    const auto dataBytes = static_cast<std::uint32_t>(std::size_t{frames} * static_cast<std::size_t>(sound.channels) * 2);
    QByteArray out;
    out.reserve(static_cast<qsizetype>(54 + dataBytes));
    out.append("FORM", 4);
    appendBe32(out, 4 + (8 + 18) + (8 + 8 + dataBytes));
    out.append("AIFF", 4);
    out.append("COMM", 4);
    appendBe32(out, 18);
    appendBe16(out, static_cast<std::uint16_t>(sound.channels));
    appendBe32(out, frames);
    appendBe16(out, 16);
    appendExtended(out, static_cast<std::uint32_t>(sound.sampleRate));
    out.append("SSND", 4);
    appendBe32(out, 8 + dataBytes);
    appendBe32(out, 0);  // offset
    appendBe32(out, 0);  // block size
    for (std::size_t i = 0; i < std::size_t{frames} * static_cast<std::size_t>(sound.channels); ++i)
        appendBe16(out, static_cast<std::uint16_t>(sound.samples[i]));
    return out;
}

}  // namespace veltrin
