#include "ServerProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

extern char** environ;

namespace veltrin::testkit {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

std::optional<TraceEntry> parseTrace(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    TraceEntry e;
    if (!(in >> word) || word != "recv" || !(in >> e.uid >> e.command >> e.size)) return std::nullopt;
    return e;
}

}  // namespace

ServerProcess::ServerProcess() : ServerProcess(Options{}) {}

ServerProcess::ServerProcess(Options options) : options_(std::move(options)) {
    if (options_.binary.empty()) options_.binary = defaultBinary();
}

std::string ServerProcess::defaultBinary() {
    if (const char* env = std::getenv("VELTRIN_SERVER_BINARY")) return env;
    return VELTRIN_SERVER_BINARY;
}

ServerProcess::~ServerProcess() {
    if (pid_ > 0) {
        if (stdinFd_ >= 0) {
            // Closing stdin ends the control channel, which stops the server.
            ::close(stdinFd_);
            stdinFd_ = -1;
        }
        if (waitExit(std::chrono::seconds(5)) == -1 && pid_ > 0) {
            ::kill(pid_, SIGKILL);
            waitExit(std::chrono::seconds(5));
        }
    }
    if (stdinFd_ >= 0) ::close(stdinFd_);
    if (stdoutFd_ >= 0) ::close(stdoutFd_);
    if (stderrThread_.joinable()) stderrThread_.join();
    if (!roomsPath_.empty()) std::remove(roomsPath_.c_str());
}

bool ServerProcess::start(std::chrono::milliseconds timeout) {
    std::vector<std::string> args{options_.binary};
    for (int i = 0; i < options_.listenPorts; ++i) {
        args.push_back("--listen");
        args.push_back("127.0.0.1:0");
    }
    if (options_.trace) args.push_back("--trace");
    if (!options_.roomsText.empty()) {
        char path[] = "/tmp/veltrin-rooms-XXXXXX";
        const int fd = ::mkstemp(path);
        if (fd < 0) return error_ = "cannot create the rooms file", false;
        const bool written = ::write(fd, options_.roomsText.data(), options_.roomsText.size()) ==
                             static_cast<ssize_t>(options_.roomsText.size());
        ::close(fd);
        roomsPath_ = path;
        if (!written) return error_ = "cannot write the rooms file", false;
        args.push_back("--rooms");
        args.push_back(roomsPath_);
    }
    args.insert(args.end(), options_.extraArgs.begin(), options_.extraArgs.end());

    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        return error_ = "pipe failed", false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = ::posix_spawn(&pid_, options_.binary.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    stdinFd_ = in[1];
    stdoutFd_ = out[0];
    stderrThread_ = std::thread([this, fd = err[0]] { stderrLoop(fd); });
    if (rc != 0) {
        pid_ = -1;
        return error_ = "cannot start " + options_.binary, false;
    }

    const auto deadline = Clock::now() + timeout;
    while (true) {
        auto line = readStdoutLine(deadline);
        if (!line) return error_ = "no \"ready\" from the server", false;
        if (*line == "ready") return true;
        if (line->rfind("listening ", 0) == 0) {
            listening_.push_back(line->substr(10));
            const auto colon = line->rfind(':');
            ports_.push_back(static_cast<std::uint16_t>(std::stoi(line->substr(colon + 1))));
        }
    }
}

std::optional<std::string> ServerProcess::readStdoutLine(Clock::time_point deadline) {
    while (true) {
        if (auto nl = stdoutBuffer_.find('\n'); nl != std::string::npos) {
            std::string line = stdoutBuffer_.substr(0, nl);
            stdoutBuffer_.erase(0, nl + 1);
            return line;
        }
        if (stdoutFd_ < 0) return std::nullopt;
        pollfd p{stdoutFd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, remainingMs(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        char buf[4096];
        const ssize_t n = ::read(stdoutFd_, buf, sizeof buf);
        if (n <= 0) return std::nullopt;
        stdoutBuffer_.append(buf, static_cast<std::size_t>(n));
    }
}

std::optional<std::string> ServerProcess::control(const std::string& line, std::chrono::milliseconds timeout) {
    if (stdinFd_ < 0) return std::nullopt;
    const std::string text = line + "\n";
    if (::write(stdinFd_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) return std::nullopt;
    return readStdoutLine(Clock::now() + timeout);
}

void ServerProcess::stderrLoop(int fd) {
    std::string pending;
    char buf[4096];
    while (true) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        pending.append(buf, static_cast<std::size_t>(n));
        std::size_t nl;
        while ((nl = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, nl);
            pending.erase(0, nl + 1);
            std::lock_guard lock(mutex_);
            if (auto e = parseTrace(line)) {
                trace_.push_back(*e);
            } else {
                other_.push_back(line);
            }
        }
        changed_.notify_all();
    }
    ::close(fd);
}

std::vector<TraceEntry> ServerProcess::trace() const {
    std::lock_guard lock(mutex_);
    return trace_;
}

std::vector<TraceEntry> ServerProcess::traceOf(std::int32_t uid) const {
    std::vector<TraceEntry> out;
    for (const auto& e : trace())
        if (e.uid == uid) out.push_back(e);
    return out;
}

std::vector<std::string> ServerProcess::otherStderr() const {
    std::lock_guard lock(mutex_);
    return other_;
}

bool ServerProcess::waitForStderr(const std::string& fragment, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        for (const auto& l : other_)
            if (l.find(fragment) != std::string::npos) return true;
        return false;
    });
}

bool ServerProcess::waitForTrace(const std::function<bool(const std::vector<TraceEntry>&)>& done,
                                 std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return done(trace_); });
}

bool ServerProcess::waitForCommand(std::int32_t uid, int command, std::chrono::milliseconds timeout) const {
    return waitForTrace(
        [&](const std::vector<TraceEntry>& t) {
            for (const auto& e : t)
                if (e.uid == uid && e.command == command) return true;
            return false;
        },
        timeout);
}

int ServerProcess::waitExit(std::chrono::milliseconds timeout) {
    if (pid_ <= 0) return -1;
    const auto deadline = Clock::now() + timeout;
    while (true) {
        int status = 0;
        const pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (r < 0 || Clock::now() >= deadline) return -1;
        // Child exit has no descriptor to wait on; poll the status in short steps.
        ::poll(nullptr, 0, 10);
    }
}

int ServerProcess::signalAndWait(int signal, std::chrono::milliseconds timeout) {
    if (pid_ <= 0) return -1;
    ::kill(pid_, signal);
    return waitExit(timeout);
}

}  // namespace veltrin::testkit
