#pragma once

// Comparing what a microphone captured with what a speaker played, through the timing files the
// paced test device writes (tests/fixtures/alsa/paced_file_pcm.c): both put on one clock, their
// loudness envelopes are aligned by normalised cross-correlation.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace veltrin::audio::test {

inline constexpr int kEnvelopeFrame = 160;  // 10 ms at 16 kHz

inline std::vector<std::int16_t> readRaw(const std::string& path, std::size_t maxSamples = SIZE_MAX) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::int16_t> pcm;
    std::int16_t s;
    while (pcm.size() < maxSamples && in.read(reinterpret_cast<char*>(&s), 2)) pcm.push_back(s);
    return pcm;
}

inline void writeRaw(const std::string& path, const std::vector<std::int16_t>& pcm) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(pcm.data()), std::streamsize(pcm.size() * 2));
}

// The first "START_NS FRAMES" line of a device's timing file.
inline std::optional<std::int64_t> startTimeNs(const std::string& timingFile) {
    std::ifstream in(timingFile);
    std::int64_t ns = 0;
    std::uint64_t frames = 0;
    if (!(in >> ns >> frames)) return std::nullopt;
    return ns - std::int64_t(frames) * 1000000000LL / 16000;
}

// RMS per 10 ms frame.
inline std::vector<double> envelope(const std::vector<std::int16_t>& pcm) {
    std::vector<double> env(pcm.size() / kEnvelopeFrame);
    for (std::size_t f = 0; f < env.size(); ++f) {
        double sum = 0;
        for (int i = 0; i < kEnvelopeFrame; ++i) {
            const double v = pcm[f * kEnvelopeFrame + std::size_t(i)];
            sum += v * v;
        }
        env[f] = std::sqrt(sum / kEnvelopeFrame);
    }
    return env;
}

inline double peakOf(const std::vector<std::int16_t>& pcm) {
    int peak = 0;
    for (const std::int16_t s : pcm) peak = std::max(peak, std::abs(int(s)));
    return peak;
}

struct Alignment {
    double correlation = -1;  // Pearson correlation of the envelopes at the best lag
    double latencyMs = 0;     // how much later the speaker played it
};

// Slides `played` (whose sample 0 is `playedOffsetMs` after sample 0 of `spoken`) over the whole
// of `spoken` for lags 0..maxLagMs, and answers the best.
inline Alignment align(const std::vector<std::int16_t>& spoken, const std::vector<std::int16_t>& played,
                       double playedOffsetMs, double maxLagMs) {
    const std::vector<double> x = envelope(spoken);
    const std::vector<double> y = envelope(played);
    const long offset = std::lround(playedOffsetMs / 10);
    Alignment best;
    for (long lag = 0; lag <= std::lround(maxLagMs / 10); ++lag) {
        double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
        const double n = double(x.size());
        for (std::size_t j = 0; j < x.size(); ++j) {
            const long k = long(j) + lag - offset;
            const double v = k >= 0 && k < long(y.size()) ? y[std::size_t(k)] : 0;
            sx += x[j];
            sy += v;
            sxx += x[j] * x[j];
            syy += v * v;
            sxy += x[j] * v;
        }
        const double cov = sxy - sx * sy / n;
        const double den = std::sqrt((sxx - sx * sx / n) * (syy - sy * sy / n));
        const double r = den > 0 ? cov / den : 0;
        if (r > best.correlation) best = {r, double(lag) * 10};
    }
    return best;
}

// The playback files a paced device wrote under `prefix` (prefix.0.raw, prefix.1.raw, …).
inline std::vector<std::string> playbackFiles(const std::string& prefix) {
    std::vector<std::string> files;
    for (int n = 0;; ++n) {
        const std::string name = prefix + "." + std::to_string(n) + ".raw";
        if (!std::filesystem::exists(name)) break;
        files.push_back(name);
    }
    return files;
}

}  // namespace veltrin::audio::test
