// The reader thread's loop over loopback TCP: frames of 22 bytes without payload, pushed by a
// writer thread as fast as the socket takes them, decoded with readCommandNoCreate. Run against
// the buffered stream and against one recv per field, the baseline the buffer exists to beat.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "wire/VCTools.h"

namespace veltrin {
namespace {

// A connected pair of TCP sockets on 127.0.0.1.
class LoopbackConnection {
public:
    LoopbackConnection() {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        socklen_t len = sizeof addr;
        if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::listen(listener, 1) != 0 ||
            ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            throw std::runtime_error("cannot listen on loopback");
        writer_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (::connect(writer_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
            throw std::runtime_error("cannot connect on loopback");
        reader_ = ::accept(listener, nullptr, nullptr);
        ::close(listener);
        if (reader_ < 0) throw std::runtime_error("cannot accept on loopback");
    }
    ~LoopbackConnection() {
        ::close(reader_);
        ::close(writer_);
    }
    LoopbackConnection(const LoopbackConnection&) = delete;
    LoopbackConnection& operator=(const LoopbackConnection&) = delete;

    int reader() const { return reader_; }
    int writer() const { return writer_; }

private:
    int reader_ = -1;
    int writer_ = -1;
};

// The per-field rate, kept so that the buffered run can report its speed-up over it.
std::atomic<double> perFieldFramesPerSecond{0};

// Answers the frames per second it measured (wall clock, the writer thread runs alongside).
double readFrames(benchmark::State& state, std::size_t bufferSize, std::size_t framesPerIteration) {
    LoopbackConnection connection;

    // Whole frames only, so that the stream stays framed however often the chunk is repeated.
    constexpr int kFramesPerChunk = 4096;
    Bytes chunk;
    for (int i = 0; i < kFramesPerChunk; ++i) VCTools::writeCommandMD(chunk, TCommand(1 + i % 250, 5, 300));

    std::atomic<bool> stop{false};
    std::thread writer([&] {
        FdOutputStream out(connection.writer());
        while (!stop.load(std::memory_order_relaxed))
            if (!VCTools::writeToStream(out, chunk.data(), chunk.size())) break;
    });

    FdInputStream in(connection.reader(), bufferSize);
    TCommand command;
    std::uint64_t frames = 0;
    std::uint64_t checksum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (std::size_t i = 0; i < framesPerIteration; ++i) {
            if (!VCTools::readCommandNoCreate(in, command) || command.DataSize != 0 || command.UserID != 5) {
                state.SkipWithError("the stream lost its framing");
                break;
            }
            checksum += command.CommandID;
        }
        frames += framesPerIteration;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    benchmark::DoNotOptimize(checksum);

    stop = true;
    ::shutdown(connection.reader(), SHUT_RDWR);  // frees the writer if it is blocked in send
    writer.join();

    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<std::int64_t>(frames) * TCommand::kSize);
    return elapsed.count() > 0 ? static_cast<double>(frames) / elapsed.count() : 0;
}

// Registered first: the buffered run below compares itself with this one.
void BM_FrameReader_OneRecvPerField(benchmark::State& state) {
    perFieldFramesPerSecond = readFrames(state, 0, 50'000);
}
BENCHMARK(BM_FrameReader_OneRecvPerField)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_FrameReader_Buffered(benchmark::State& state) {
    const double rate = readFrames(state, FdInputStream::kDefaultBufferSize, 1'000'000);
    if (const double baseline = perFieldFramesPerSecond.load(); baseline > 0)
        state.counters["speedup_vs_per_field"] = rate / baseline;
}
BENCHMARK(BM_FrameReader_Buffered)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
}  // namespace veltrin
