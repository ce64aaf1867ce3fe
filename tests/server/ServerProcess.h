#pragma once

// Runs the classroom-server executable as a child process for end-to-end tests: waits for its
// "listening HOST:PORT" lines and "ready", talks to its control channel (stdin/stdout) and
// collects its "recv UID CMD SIZE" trace lines (stderr, --trace) so that a test can wait for the
// exact commands a client sent.

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace veltrin::testkit {

struct TraceEntry {
    std::int32_t uid = 0;
    int command = 0;
    std::uint32_t size = 0;
    bool operator==(const TraceEntry&) const = default;
};

class ServerProcess {
public:
    struct Options {
        // Defaults to the classroom-server of this build tree.
        std::string binary;
        int listenPorts = 1;  // each on 127.0.0.1:0
        bool trace = true;
        // When not empty: written to a temporary file and passed as --rooms.
        std::string roomsText;
        std::vector<std::string> extraArgs;
    };

    ServerProcess();
    explicit ServerProcess(Options options);
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    // Stops the server (quit, then SIGKILL if it lingers) and removes the rooms file.
    ~ServerProcess();

    // Spawns the server and waits for "ready". False (see error()) when it exits or times out.
    bool start(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    const std::string& error() const { return error_; }
    pid_t pid() const { return pid_; }
    std::uint16_t port(std::size_t index = 0) const { return index < ports_.size() ? ports_[index] : 0; }
    const std::vector<std::uint16_t>& ports() const { return ports_; }
    const std::vector<std::string>& listeningLines() const { return listening_; }

    // One control command; answers its one-line answer, or nothing on timeout.
    std::optional<std::string> control(const std::string& line,
                                       std::chrono::milliseconds timeout = std::chrono::seconds(5));

    // Trace lines received so far, in order.
    std::vector<TraceEntry> trace() const;
    std::vector<TraceEntry> traceOf(std::int32_t uid) const;
    // Waits until `done` holds for the trace so far.
    bool waitForTrace(const std::function<bool(const std::vector<TraceEntry>&)>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // Waits until `uid` has sent `command`.
    bool waitForCommand(std::int32_t uid, int command, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // stderr lines that are not trace lines (diagnostics).
    std::vector<std::string> otherStderr() const;
    // Waits until such a line contains `fragment` (stderr is read by a thread of its own, so a
    // line may arrive after the process has already exited).
    bool waitForStderr(const std::string& fragment, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

    // Sends a signal and waits for the exit; answers the exit status (WEXITSTATUS), or -1 when it
    // did not exit in time or died of a signal.
    int signalAndWait(int signal, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    int waitExit(std::chrono::milliseconds timeout);
    bool running() const { return pid_ > 0; }

    static std::string defaultBinary();

private:
    std::optional<std::string> readStdoutLine(std::chrono::steady_clock::time_point deadline);
    void stderrLoop(int fd);

    Options options_;
    std::string roomsPath_;
    pid_t pid_ = -1;
    int stdinFd_ = -1;
    int stdoutFd_ = -1;
    std::string stdoutBuffer_;
    std::vector<std::uint16_t> ports_;
    std::vector<std::string> listening_;
    std::string error_;

    std::thread stderrThread_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<TraceEntry> trace_;
    std::vector<std::string> other_;
};

}  // namespace veltrin::testkit
