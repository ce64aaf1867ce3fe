// The notice sounds of the classroom, synthesised: short chimes that tell apart without looking
// (rising for a participant who joins, falling for one who leaves, a soft double blip for a text
// message, a knock for a motion, a bell for a ping).

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "ResourceGenerator.h"
#include "platform/sound/AiffSound.h"

namespace veltrin::resgen {

namespace {

constexpr int kRate = 22050;

// One partial of a note: frequency, loudness and how fast it dies away (per second).
struct Partial {
    double frequency;
    double amplitude;
    double decay;
};

struct Note {
    double start;     // seconds
    double duration;  // seconds
    std::vector<Partial> partials;
};

PcmSound render(const std::vector<Note>& notes) {
    double length = 0;
    for (const Note& note : notes) length = std::max(length, note.start + note.duration);
    std::vector<double> mix(static_cast<std::size_t>(std::ceil(length * kRate)) + 1, 0.0);
    for (const Note& note : notes) {
        const auto first = static_cast<std::size_t>(note.start * kRate);
        const auto count = static_cast<std::size_t>(note.duration * kRate);
        for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            // A 5 ms attack and release keep the edges from clicking.
            const double edge = std::min({1.0, t / 0.005, (note.duration - t) / 0.005});
            double value = 0;
            for (const Partial& p : note.partials)
                value += p.amplitude * std::exp(-p.decay * t) * std::sin(2 * std::numbers::pi * p.frequency * t);
            mix[first + i] += value * std::max(0.0, edge);
        }
    }
    PcmSound sound;
    sound.sampleRate = kRate;
    sound.channels = 1;
    sound.samples.reserve(mix.size());
    for (const double v : mix)
        sound.samples.push_back(static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32000.0)));
    return sound;
}

// A bell-like tone: the fundamental with a few quieter overtones.
Note chime(double start, double frequency, double duration, double loudness) {
    return {start,
            duration,
            {{frequency, 0.55 * loudness, 6.0},
             {frequency * 2, 0.2 * loudness, 9.0},
             {frequency * 3, 0.08 * loudness, 14.0}}};
}

void generateSounds(ResourceWriter& writer) {
    const auto write = [&writer](const char* name, const std::vector<Note>& notes) {
        writer.writeBytes(QStringLiteral("sounds"), QString::fromLatin1(name), encodeAiff(render(notes)));
    };
    write("sndEnter.aiff", {chime(0.0, 659.25, 0.25, 0.8), chime(0.12, 987.77, 0.35, 0.8)});
    write("sndExit.aiff", {chime(0.0, 987.77, 0.25, 0.8), chime(0.12, 659.25, 0.35, 0.8)});
    write("sndTextMessage.aiff", {chime(0.0, 1318.5, 0.09, 0.6), chime(0.1, 1318.5, 0.14, 0.6)});
    write("sndMotion.aiff", {{0.0, 0.12, {{180.0, 0.9, 35.0}, {420.0, 0.3, 50.0}}}});
    write("sndPing.aiff", {{0.0, 0.8, {{1760.0, 0.5, 4.0}, {2637.0, 0.18, 7.0}, {4186.0, 0.06, 12.0}}}});
}

}  // namespace

VELTRIN_RESOURCE_FAMILY("sounds", &generateSounds);

}  // namespace veltrin::resgen
