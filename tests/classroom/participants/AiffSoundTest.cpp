// The notice sounds' file format: what the generator writes the player reads back, and damaged
// files are refused before anything is allocated for them.

#include <gtest/gtest.h>

#include <functional>

#include "platform/sound/AiffSound.h"

namespace veltrin {
namespace {

PcmSound ramp(int rate, int channels, int frames) {
    PcmSound s;
    s.sampleRate = rate;
    s.channels = channels;
    for (int i = 0; i < frames * channels; ++i) s.samples.push_back(static_cast<std::int16_t>(i * 997 - 30000));
    return s;
}

void putBe32(QByteArray& file, qsizetype at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (24 - 8 * i));
}
void putBe16(QByteArray& file, qsizetype at, std::uint16_t v) {
    file[at] = static_cast<char>(v >> 8);
    file[at + 1] = static_cast<char>(v);
}

// Offsets in a file written by encodeAiff: FORM header 12, COMM chunk at 12, SSND chunk at 38.
constexpr qsizetype kChannels = 20, kFrames = 22, kBits = 26, kRate = 28, kSsndSize = 42, kSsndOffset = 46;

TEST(AiffSound, RoundTripsRatesAndChannels) {
    for (const auto& [rate, channels] : std::vector<std::pair<int, int>>{{22050, 1}, {44100, 2}, {8000, 1}, {1000, 2}}) {
        const PcmSound original = ramp(rate, channels, 300);
        QString error;
        const std::optional<PcmSound> decoded = decodeAiff(encodeAiff(original), &error);
        ASSERT_TRUE(decoded) << rate << ": " << error.toStdString();
        EXPECT_EQ(decoded->sampleRate, rate);
        EXPECT_EQ(decoded->channels, channels);
        EXPECT_EQ(decoded->samples, original.samples);
    }
}

TEST(AiffSound, WritesTheStandardLayout) {
    const QByteArray file = encodeAiff(ramp(22050, 1, 2));
    ASSERT_EQ(file.size(), 54 + 4);
    EXPECT_EQ(file.left(4), "FORM");
    EXPECT_EQ(file.mid(8, 8), "AIFFCOMM");
    EXPECT_EQ(file.mid(38, 4), "SSND");
    // 22050 as an 80-bit extended number.
    EXPECT_EQ(file.mid(kRate, 10).toHex(), "400dac44000000000000");
    // Samples are big-endian: -30000 is 0x8AD0.
    EXPECT_EQ(file.mid(54, 2).toHex(), "8ad0");
}

TEST(AiffSound, ReadsEightBitSamplesAndSkipsOtherChunks) {
    QByteArray file = encodeAiff(ramp(8000, 1, 4));
    // Turn the 16-bit data into 8-bit: 8 bytes of data now hold 4 frames with bytes to spare.
    putBe16(file, kBits, 8);
    file[54] = static_cast<char>(-128);
    file[55] = 127;
    // An unknown chunk of odd size (padded) before the sound data is stepped over.
    QByteArray withExtra = file.left(38) + QByteArray("NAME\0\0\0\3abc\0", 12) + file.mid(38);
    putBe32(withExtra, 4, static_cast<std::uint32_t>(withExtra.size() - 8));
    for (const QByteArray& f : {file, withExtra}) {
        const std::optional<PcmSound> sound = decodeAiff(f);
        ASSERT_TRUE(sound);
        ASSERT_EQ(sound->samples.size(), 4u);
        EXPECT_EQ(sound->samples[0], -32768);
        EXPECT_EQ(sound->samples[1], 127 * 256);
    }
}

TEST(AiffSound, RefusesDamagedFiles) {
    const QByteArray good = encodeAiff(ramp(22050, 1, 100));
    struct Case {
        const char* what;
        std::function<void(QByteArray&)> damage;
    };
    const std::vector<Case> cases = {
        {"empty", [](QByteArray& f) { f.clear(); }},
        {"not a FORM", [](QByteArray& f) { f[0] = 'X'; }},
        {"a WAVE form", [](QByteArray& f) { f.replace(8, 4, "WAVE"); }},
        {"cut inside the samples", [](QByteArray& f) { f.chop(10); }},
        {"cut inside COMM", [](QByteArray& f) { f.truncate(30); }},
        {"more frames than samples", [](QByteArray& f) { putBe32(f, kFrames, 101); }},
        {"frames beyond any length", [](QByteArray& f) { putBe32(f, kFrames, 0xffffffffu); }},
        {"chunk size past the end", [](QByteArray& f) { putBe32(f, kSsndSize, 0x7fffffffu); }},
        {"SSND offset past its chunk", [](QByteArray& f) { putBe32(f, kSsndOffset, 0xfffffff0u); }},
        {"three channels", [](QByteArray& f) { putBe16(f, kChannels, 3); }},
        {"no channels", [](QByteArray& f) { putBe16(f, kChannels, 0); }},
        {"24-bit samples", [](QByteArray& f) { putBe16(f, kBits, 24); }},
        {"zero rate", [](QByteArray& f) { f.replace(kRate, 10, QByteArray(10, '\0')); }},
        {"negative rate", [](QByteArray& f) { f[kRate] = static_cast<char>(f[kRate] | 0x80); }},
        {"huge rate", [](QByteArray& f) { putBe16(f, kRate, 16383 + 30); }},
        {"no SSND", [](QByteArray& f) { f.replace(38, 4, "JUNK"); }},
        {"no COMM", [](QByteArray& f) { f.replace(12, 4, "JUNK"); }},
    };
    for (const Case& c : cases) {
        QByteArray file = good;
        c.damage(file);
        QString error;
        EXPECT_FALSE(decodeAiff(file, &error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
    }
    EXPECT_TRUE(decodeAiff(good));
}

}  // namespace
}  // namespace veltrin
