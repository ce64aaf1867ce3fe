// Mouth-to-ear latency of live voice: a moderator's microphone "hears" a click every 1.5 seconds
// (read from a file by a sound device that keeps real time), and the attendee's speaker file is
// searched for the same clicks. Both devices stamp their files on the monotonic clock, so every
// click gives one latency. The protocol's floor is one 200 ms capture buffer plus one 200 ms
// playback buffer: 400 ms.
//
//   veltrin_bench_audio_latency [clicks]

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>

#include "tests/audio/ClassroomAudioRig.h"
#include "tests/audio/VoiceAnalysis.h"
#include "tests/support/TestRooms.h"

using namespace veltrin;
using namespace veltrin::audio::test;
using namespace std::chrono_literals;

namespace {

constexpr int kRate = 16000;
constexpr double kClickSpacing = 1.5;  // seconds: longer than any latency, so clicks never mix up

// A click the pre-processor keeps: 80 ms of a voiced burst with a sharp attack.
std::vector<std::int16_t> clicks(int count) {
    std::vector<std::int16_t> pcm(std::size_t((count * kClickSpacing + 2) * kRate), 0);
    for (int c = 0; c < count; ++c) {
        const std::size_t at = std::size_t((0.5 + c * kClickSpacing) * kRate);
        for (std::size_t i = 0; i < std::size_t(0.08 * kRate); ++i) {
            const double t = double(i) / kRate;
            const double v = 12000 * std::exp(-t * 20) * (std::sin(2 * M_PI * 700 * t) + 0.5 * std::sin(2 * M_PI * 1400 * t));
            pcm[at + i] = static_cast<std::int16_t>(v);
        }
    }
    return pcm;
}

// Sample times (in seconds on the file's own timeline) where the envelope first rises above a
// threshold after at least 0.5 s below it.
std::vector<double> onsets(const std::vector<std::int16_t>& pcm) {
    const std::vector<double> env = envelope(pcm);
    const double top = env.empty() ? 0 : *std::max_element(env.begin(), env.end());
    std::vector<double> found;
    int quiet = 50;
    for (std::size_t f = 0; f < env.size(); ++f) {
        if (env[f] > top * 0.2) {
            if (quiet >= 50) found.push_back(double(f) * kEnvelopeFrame / kRate);
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return found;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::seconds timeout) {
    return veltrin::testing::waitUntil(condition, timeout);
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 8;
    const std::string dir = setUpPacedAlsa(VELTRIN_PACED_ALSA_CONF);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const auto input = clicks(count);
    writeRaw(dir + "/moderator-capture.raw", input);

    veltrin::testing::ServerProcess server;
    if (!server.start(1, {QStringLiteral("--rooms"),
                          veltrin::testing::writeTempFile(QString::fromLatin1(veltrin::testing::kTestRooms))})) {
        std::fprintf(stderr, "server: %s\n", qPrintable(server.error()));
        return 1;
    }
    auto teacher = joinOnDevice(server, "teacher", "veltrin_moderator");
    auto student = joinOnDevice(server, "student1", "veltrin_attendee");
    if (!waitFor([&] { return teacher->audioUp() && student->audioUp(); }, 20s)) {
        std::fprintf(stderr, "the audio channels did not come up\n");
        return 1;
    }
    teacher->c().audio().acMic();
    std::optional<std::int64_t> spokeAt;
    if (!waitFor([&] { return (spokeAt = startTimeNs(dir + "/moderator-capture.raw.start")).has_value(); }, 10s)) {
        std::fprintf(stderr, "the floor was not granted\n");
        return 1;
    }
    // Until the attendee's speaker has played past the last click plus two seconds.
    const std::int64_t until = *spokeAt + std::int64_t(double(input.size()) / kRate * 1e9) + 2000000000LL;
    waitFor([&] {
        for (const std::string& f : playbackFiles(dir + "/attendee-out"))
            if (const auto at = startTimeNs(f + ".start"))
                if (*at + std::int64_t(std::filesystem::file_size(f) / 2) * 1000000000LL / kRate > until) return true;
        return false;
    }, 60s);
    teacher->c().audio().acMic();

    std::vector<std::int16_t> played;
    std::string playedFile;
    for (const std::string& f : playbackFiles(dir + "/attendee-out")) {
        auto pcm = readRaw(f);
        if (peakOf(pcm) > peakOf(played)) {
            played = std::move(pcm);
            playedFile = f;
        }
    }
    const auto playedAt = startTimeNs(playedFile + ".start");
    if (playedFile.empty() || !playedAt) {
        std::fprintf(stderr, "nothing was played\n");
        return 1;
    }
    const double offset = double(*playedAt - *spokeAt) / 1e9;
    const std::vector<double> in = onsets(input);
    const std::vector<double> out = onsets(played);
    std::vector<double> latencies;
    for (const double t : in) {
        const auto next = std::find_if(out.begin(), out.end(), [&](double o) { return o + offset > t; });
        if (next != out.end() && *next + offset - t < kClickSpacing) latencies.push_back((*next + offset - t) * 1000);
    }
    if (latencies.empty()) {
        std::fprintf(stderr, "no click came through\n");
        return 1;
    }
    std::vector<double> sorted = latencies;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2];
    std::printf("clicks sent %zu, heard %zu\n", in.size(), latencies.size());
    std::printf("mouth-to-ear latency: median %.0f ms, min %.0f ms, max %.0f ms\n", median, sorted.front(),
                sorted.back());
    std::printf("protocol floor (one 200 ms capture + one 200 ms playback buffer): 400 ms; median is %.2f x the floor\n",
                median / 400);
    leave(teacher);
    leave(student);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
