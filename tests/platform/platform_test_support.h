#pragma once

// Loopback helpers for the socket tests: free and closed ports, and an echo server.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace veltrin::test {

inline constexpr auto kWaitLimit = std::chrono::seconds(10);

inline sockaddr_in loopback(int port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    return addr;
}

inline int boundPort(int fd) {
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    return ntohs(addr.sin_port);
}

// A port that was free a moment ago (for servers that must be told their port).
inline int freePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in addr = loopback(0);
    ::bind(s, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    const int port = boundPort(s);
    ::close(s);
    return port;
}

// A port nobody listens on.
inline int closedPort() { return freePort(); }

inline bool canConnect(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in addr = loopback(port);
    const bool ok = ::connect(s, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    ::close(s);
    return ok;
}

// A socket that listens on loopback and never accepts: the kernel completes connections, nobody
// ever answers on them.
class SilentListener {
public:
    SilentListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in addr = loopback(0);
        ::bind(fd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
        ::listen(fd_, 4);
    }
    ~SilentListener() { ::close(fd_); }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;
    int port() const { return boundPort(fd_); }

private:
    int fd_ = -1;
};

// Echoes every byte back on each accepted connection, one thread per connection.
class EchoServer {
public:
    EchoServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in addr = loopback(0);
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 8);
        port_ = boundPort(listener_);
        acceptor_ = std::thread([this] { run(); });
    }
    ~EchoServer() {
        stopping_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        acceptor_.join();
        for (const int fd : connections_) ::shutdown(fd, SHUT_RDWR);
        for (auto& t : echoers_) t.join();
        for (const int fd : connections_) ::close(fd);
        ::close(listener_);
    }
    EchoServer(const EchoServer&) = delete;
    EchoServer& operator=(const EchoServer&) = delete;

    int port() const { return port_; }

private:
    void run() {
        while (!stopping_) {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            connections_.push_back(fd);
            echoers_.emplace_back([fd] {
                char buffer[4096];
                for (;;) {
                    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
                    if (n <= 0) return;
                    if (::send(fd, buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL) != n) return;
                }
            });
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    // Touched by the acceptor thread only until it is joined.
    std::vector<int> connections_;
    std::vector<std::thread> echoers_;
};

}  // namespace veltrin::test
