#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace veltrin {

// Uncompressed sound as the system sounds carry it: signed 16-bit samples, interleaved by channel.
struct PcmSound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;

    int frameCount() const { return channels > 0 ? static_cast<int>(samples.size()) / channels : 0; }
};

// The limits a sound file must keep before anything is allocated: the notices are short chimes,
// so anything longer or stranger is a damaged or foreign file.
inline constexpr int kMaxSoundSeconds = 30;
inline constexpr int kMaxSoundRate = 192000;
inline constexpr int kMaxSoundChannels = 2;

// An AIFF file (FORM/AIFF with COMM and SSND chunks, 8- or 16-bit big-endian PCM) as written by
// encodeAiff(). Every chunk size is checked against the bytes that are there; anything else
// answers nothing and says why in `error`.
std::optional<PcmSound> decodeAiff(const QByteArray& file, QString* error = nullptr);

// Writes `sound` as a 16-bit AIFF file.
QByteArray encodeAiff(const PcmSound& sound);

}  // namespace veltrin
