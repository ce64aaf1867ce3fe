// The session layer end to end on loopback: how fast the reader and the dispatcher take a flood of
// small commands, and how long a chat message relayed by the reference server takes there and back.

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "NullClassroom.h"
#include "session/CommandHandler.h"
#include "session/ConnectionObserver.h"
#include "session/OutgoingCommands.h"
#include "session/TSocketConnector.h"
#include "wire/Log.h"
#include "wire/ServerHandshake.h"
#include "wire/Streams.h"
#include "wire/TCommand.h"
#include "wire/VCTools.h"

namespace veltrin::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Counts every frame before handing it to the real dispatcher.
class CountingHandler final : public FrameHandler {
public:
    CountingHandler(std::unique_ptr<FrameHandler> inner, std::atomic<long>& count) : inner_(std::move(inner)), count_(count) {}
    void HandleInput(const TCommand& command, std::span<const std::uint8_t> payload) override {
        inner_->HandleInput(command, payload);
        count_.fetch_add(1, std::memory_order_release);
    }

private:
    std::unique_ptr<FrameHandler> inner_;
    std::atomic<long>& count_;
};

class FloodObserver final : public ConnectionObserver {
public:
    void Safe_NotifyConnectionStatusChange(int) override {}
    void Safe_SetClientRecord(const TClientRecord&) override {}
    void Safe_UpdateNeeded(const std::string&, const std::string&) override {}
    std::unique_ptr<FrameHandler> createFrameHandler(int uid, int rid) override {
        return std::make_unique<CountingHandler>(std::make_unique<CommandHandler>(classroom, uid, rid), frames);
    }
    NullClassroom classroom;
    std::atomic<long> frames{0};
};

int listenLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(fd, 1);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}

// A server side that answers the opening and then writes `frames` as fast as the socket takes them.
void serveFlood(int listener, const Bytes& frames) {
    const int fd = ::accept(listener, nullptr, nullptr);
    FdInputStream in(fd);
    FdOutputStream out(fd);
    const VersionIdentity server{"8.0", "Mar-01-2015"};
    readVersionExchange(in);
    writeVersionAnswer(out, 0, &server);
    readChannelSelector(in);
    readSimpleLogIn(in);
    TClientRecord record;
    record.UID = 7;
    writeLogOnAnswer(out, 0, &record);
    out.writeAll(frames.data(), frames.size());
    // Keep the connection until the client has read everything and hangs up.
    std::uint8_t sink[4096];
    while (in.readSome(sink, sizeof sink) > 0) {
    }
    ::close(fd);
}

// Frames of the given command with a one-byte payload (an online status) or none.
Bytes floodOf(int command, long count) {
    Bytes one;
    CommandBuffer buffer(3, 1001);
    if (command == 64)
        buffer.send_OnlineStatus(1);
    else
        buffer.send_SimpleCommand(command);
    one = buffer.take();
    Bytes all;
    all.reserve(one.size() * static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) all.insert(all.end(), one.begin(), one.end());
    return all;
}

void runFlood(benchmark::State& state, int command) {
    setLogSink([](std::string_view) {});
    const long count = state.range(0);
    const Bytes frames = floodOf(command, count);
    for (auto _ : state) {
        int port = 0;
        const int listener = listenLoopback(port);
        std::thread server(serveFlood, listener, std::cref(frames));
        FloodObserver observer;
        {
            TSocketConnector connector(observer, ConnectorSettings{});
            connector.connectToHost("127.0.0.1", port, 4000);
            connector.LogIn("u", "p", 1001);
            const auto start = Clock::now();
            connector.StartProcessors();
            while (observer.frames.load(std::memory_order_acquire) < count) std::this_thread::yield();
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            state.SetIterationTime(seconds);
            connector.DisconnectSocket();
        }
        server.join();
        ::close(listener);
    }
    state.counters["commands_per_s"] = benchmark::Counter(static_cast<double>(count) * static_cast<double>(state.iterations()),
                                                          benchmark::Counter::kIsRate);
    setLogSink({});
}

// Command 64 goes through its decoder and one controller call; 200 is ignored after the frame.
void BM_DispatchFloodOnlineStatus(benchmark::State& state) { runFlood(state, 64); }
void BM_DispatchFloodIgnored(benchmark::State& state) { runFlood(state, 200); }
BENCHMARK(BM_DispatchFloodOnlineStatus)->Arg(1'000'000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DispatchFloodIgnored)->Arg(1'000'000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// ---- relayed chat round trip through the reference server

class ServerChild {
public:
    bool start() {
        int out[2];
        if (::pipe(out) != 0) return false;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::execl(VELTRIN_SERVER_PATH, "classroom-server", "--listen", "127.0.0.1:0", "--no-control",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        FILE* f = ::fdopen(out[0], "r");
        char line[256];
        while (std::fgets(line, sizeof line, f) != nullptr) {
            std::sscanf(line, "listening 127.0.0.1:%d", &port_);
            if (std::string(line).rfind("ready", 0) == 0) break;
        }
        stdout_ = f;
        return port_ > 0;
    }
    ~ServerChild() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        if (stdout_ != nullptr) std::fclose(stdout_);
    }
    int port() const { return port_; }

private:
    pid_t pid_ = -1;
    int port_ = 0;
    FILE* stdout_ = nullptr;
};

// A participant whose reader wakes a waiter on every text message, optionally answering it.
class ChatPeer final : public ConnectionObserver, public FrameHandler {
public:
    explicit ChatPeer(bool echo) : echo_(echo), connector_(*this, ConnectorSettings{}) {}

    bool join(int port, const std::string& user) {
        if (connector_.connectToHost("127.0.0.1", port, 4000) != 0) return false;
        if (connector_.LogIn(user, user, 1001) != 0) return false;
        connector_.StartProcessors();
        connector_.send_JoinVirtualRoom(1001);
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, std::chrono::seconds(5), [&] { return joined_; });
    }
    TSocketConnector& connector() { return connector_; }
    void waitForMessages(long n) {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [&] { return messages_ >= n; });
    }

    void HandleInput(const TCommand& command, std::span<const std::uint8_t> payload) override {
        if (command.CommandID == 75) {
            std::lock_guard lock(mutex_);
            joined_ = true;
            cv_.notify_all();
        } else if (command.CommandID == 130 && payload.size() >= 4) {
            // Only the other participant's messages count: a server may copy a message to its sender.
            std::int32_t from = 0;
            std::memcpy(&from, payload.data(), 4);
            if (from == connector_.uid()) return;
            if (echo_) connector_.send_TextMessage("pong", 0, 0);
            std::lock_guard lock(mutex_);
            ++messages_;
            cv_.notify_all();
        }
    }
    void Safe_NotifyConnectionStatusChange(int) override {}
    void Safe_SetClientRecord(const TClientRecord&) override {}
    void Safe_UpdateNeeded(const std::string&, const std::string&) override {}
    std::unique_ptr<FrameHandler> createFrameHandler(int, int) override { return std::make_unique<Forward>(*this); }

private:
    struct Forward final : FrameHandler {
        explicit Forward(ChatPeer& peer) : peer(peer) {}
        void HandleInput(const TCommand& c, std::span<const std::uint8_t> p) override { peer.HandleInput(c, p); }
        ChatPeer& peer;
    };
    bool echo_;
    TSocketConnector connector_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool joined_ = false;
    long messages_ = 0;
};

void BM_RelayedChatRoundTrip(benchmark::State& state) {
    setLogSink([](std::string_view) {});
    ServerChild server;
    if (!server.start()) {
        state.SkipWithError("reference server did not start");
        return;
    }
    ChatPeer a(false);
    ChatPeer b(true);
    if (!a.join(server.port(), "teacher") || !b.join(server.port(), "student1")) {
        state.SkipWithError("cannot join the demo room");
        return;
    }
    std::vector<double> micros;
    long sent = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        a.connector().send_TextMessage("ping", 0, 0);
        ++sent;
        b.waitForMessages(sent);
        a.waitForMessages(sent);
        const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        micros.push_back(us);
        state.SetIterationTime(us / 1e6);
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["median_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
    }
    a.connector().DisconnectSocket();
    b.connector().DisconnectSocket();
    setLogSink({});
}
BENCHMARK(BM_RelayedChatRoundTrip)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace veltrin::bench
