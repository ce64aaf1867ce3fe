#include "TcpStreamPair.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace veltrin {
namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Connects one resolved address before the deadline; answers the socket or -1 with errno set.
int connectOne(const addrinfo* ai, Clock::time_point deadline) {
    const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol);
    if (fd < 0) return -1;
    const int flags = ::fcntl(fd, F_GETFL, 0);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int rc = ::connect(fd, ai->ai_addr, ai->ai_addrlen);
    if (rc < 0 && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        do {
            rc = ::poll(&p, 1, remainingMs(deadline));
        } while (rc < 0 && errno == EINTR);
        if (rc == 0) {
            ::close(fd);
            errno = ETIMEDOUT;
            return -1;
        }
        int err = 0;
        socklen_t len = sizeof err;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
        if (rc < 0 || err != 0) {
            ::close(fd);
            errno = err != 0 ? err : errno;
            return -1;
        }
    } else if (rc < 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

int connectTcp(const std::string& host, int port, Clock::time_point deadline, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const std::string service = std::to_string(port);
    const int gai = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
    if (gai != 0) {
        error = "cannot resolve " + host + ": " + ::gai_strerror(gai);
        return -1;
    }
    int fd = -1;
    int lastErr = 0;
    for (const addrinfo* ai = list; ai != nullptr && fd < 0; ai = ai->ai_next) {
        fd = connectOne(ai, deadline);
        if (fd < 0) lastErr = errno;
        if (remainingMs(deadline) == 0 && fd < 0) break;
    }
    ::freeaddrinfo(list);
    if (fd < 0) error = std::string("cannot connect to ") + host + ":" + service + ": " + std::strerror(lastErr);
    return fd;
}

// Blocking exchange helpers bounded by the deadline (the socket is blocking; poll guards each wait).
bool sendAll(int fd, const std::uint8_t* p, std::size_t n, Clock::time_point deadline) {
    while (n > 0) {
        pollfd pfd{fd, POLLOUT, 0};
        if (::poll(&pfd, 1, remainingMs(deadline)) <= 0) return false;
        const ssize_t k = ::send(fd, p, n, MSG_NOSIGNAL);
        if (k < 0 && errno == EINTR) continue;
        if (k <= 0) return false;
        p += k;
        n -= static_cast<std::size_t>(k);
    }
    return true;
}

bool recvAll(int fd, std::uint8_t* p, std::size_t n, Clock::time_point deadline) {
    while (n > 0) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, remainingMs(deadline)) <= 0) return false;
        const ssize_t k = ::recv(fd, p, n, 0);
        if (k < 0 && errno == EINTR) continue;
        if (k <= 0) return false;
        p += k;
        n -= static_cast<std::size_t>(k);
    }
    return true;
}

void appendPort(Bytes& b, int port) {
    b.push_back(static_cast<std::uint8_t>((port >> 8) & 0xff));
    b.push_back(static_cast<std::uint8_t>(port & 0xff));
}

bool socks4(int fd, const std::string& host, int port, const SocksProxy& proxy, Clock::time_point deadline,
            std::string& error) {
    // SOCKS 4 carries an IPv4 address; resolve locally and fall back to the 4a host-name form.
    Bytes req{4, 1};
    appendPort(req, port);
    in_addr v4{};
    bool haveV4 = ::inet_pton(AF_INET, host.c_str(), &v4) == 1;
    if (!haveV4) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        if (::getaddrinfo(host.c_str(), nullptr, &hints, &list) == 0 && list != nullptr) {
            v4 = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr;
            haveV4 = true;
        }
        if (list != nullptr) ::freeaddrinfo(list);
    }
    const auto* ip = reinterpret_cast<const std::uint8_t*>(&v4.s_addr);
    if (haveV4)
        req.insert(req.end(), ip, ip + 4);
    else
        req.insert(req.end(), {0, 0, 0, 1});
    req.insert(req.end(), proxy.user.begin(), proxy.user.end());
    req.push_back(0);
    if (!haveV4) {
        req.insert(req.end(), host.begin(), host.end());
        req.push_back(0);
    }
    std::uint8_t reply[8];
    if (!sendAll(fd, req.data(), req.size(), deadline) || !recvAll(fd, reply, sizeof reply, deadline)) {
        error = "SOCKS 4 proxy did not answer";
        return false;
    }
    if (reply[1] != 90) {
        error = "SOCKS 4 proxy refused the connection (code " + std::to_string(reply[1]) + ")";
        return false;
    }
    return true;
}

bool socks5(int fd, const std::string& host, int port, const SocksProxy& proxy, Clock::time_point deadline,
            std::string& error) {
    const bool withPassword = !proxy.user.empty();
    Bytes hello = withPassword ? Bytes{5, 2, 0, 2} : Bytes{5, 1, 0};
    std::uint8_t choice[2];
    if (!sendAll(fd, hello.data(), hello.size(), deadline) || !recvAll(fd, choice, 2, deadline) || choice[0] != 5) {
        error = "SOCKS 5 proxy did not answer";
        return false;
    }
    if (choice[1] == 2 && withPassword) {
        if (proxy.user.size() > 255 || proxy.password.size() > 255) {
            error = "SOCKS 5 user name or password too long";
            return false;
        }
        Bytes auth{1, static_cast<std::uint8_t>(proxy.user.size())};
        auth.insert(auth.end(), proxy.user.begin(), proxy.user.end());
        auth.push_back(static_cast<std::uint8_t>(proxy.password.size()));
        auth.insert(auth.end(), proxy.password.begin(), proxy.password.end());
        std::uint8_t status[2];
        if (!sendAll(fd, auth.data(), auth.size(), deadline) || !recvAll(fd, status, 2, deadline)) {
            error = "SOCKS 5 proxy did not answer the authentication";
            return false;
        }
        if (status[1] != 0) {
            error = "SOCKS 5 proxy refused the user name or password";
            return false;
        }
    } else if (choice[1] != 0) {
        error = "SOCKS 5 proxy offers no usable authentication method";
        return false;
    }

    Bytes req{5, 1, 0};
    in_addr v4{};
    in6_addr v6{};
    if (::inet_pton(AF_INET, host.c_str(), &v4) == 1) {
        req.push_back(1);
        const auto* p = reinterpret_cast<const std::uint8_t*>(&v4.s_addr);
        req.insert(req.end(), p, p + 4);
    } else if (::inet_pton(AF_INET6, host.c_str(), &v6) == 1) {
        req.push_back(4);
        req.insert(req.end(), v6.s6_addr, v6.s6_addr + 16);
    } else {
        if (host.size() > 255) {
            error = "host name too long for SOCKS 5";
            return false;
        }
        req.push_back(3);
        req.push_back(static_cast<std::uint8_t>(host.size()));
        req.insert(req.end(), host.begin(), host.end());
    }
    appendPort(req, port);
    std::uint8_t head[4];
    if (!sendAll(fd, req.data(), req.size(), deadline) || !recvAll(fd, head, 4, deadline) || head[0] != 5) {
        error = "SOCKS 5 proxy did not answer the connect request";
        return false;
    }
    if (head[1] != 0) {
        error = "SOCKS 5 proxy refused the connection (code " + std::to_string(head[1]) + ")";
        return false;
    }
    std::size_t rest = 2;  // the bound port
    if (head[3] == 1) {
        rest += 4;
    } else if (head[3] == 4) {
        rest += 16;
    } else if (head[3] == 3) {
        std::uint8_t len = 0;
        if (!recvAll(fd, &len, 1, deadline)) return false;
        rest += len;
    } else {
        error = "SOCKS 5 proxy answered an unknown address type";
        return false;
    }
    std::uint8_t skip[260];
    if (!recvAll(fd, skip, rest, deadline)) {
        error = "SOCKS 5 proxy answer ended early";
        return false;
    }
    return true;
}

}  // namespace

TcpStreamPair::TcpStreamPair(std::string host, int port) : host_(std::move(host)), port_(port) {}

TcpStreamPair::~TcpStreamPair() { close(); }

bool TcpStreamPair::open(int timeoutMs) {
    close();
    error_.clear();
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    if (port_ < 0 || port_ > 65535) {
        error_ = "invalid port " + std::to_string(port_);
        return false;
    }
    int fd = -1;
    if (proxy_.enabled()) {
        fd = connectTcp(proxy_.host, proxy_.port, deadline, error_);
        if (fd >= 0) {
            const bool ok = proxy_.version == 4 ? socks4(fd, host_, port_, proxy_, deadline, error_)
                                                : socks5(fd, host_, port_, proxy_, deadline, error_);
            if (!ok) {
                if (error_.empty()) error_ = "SOCKS proxy failed";
                ::close(fd);
                fd = -1;
            }
        }
    } else {
        fd = connectTcp(host_, port_, deadline, error_);
    }
    if (fd < 0) return false;
    fd_ = fd;
    in_ = std::make_unique<FdInputStream>(fd_);
    out_ = std::make_unique<FdOutputStream>(fd_);
    return true;
}

int TcpStreamPair::setNoDelay() {
    const int on = 1;
    return ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

int TcpStreamPair::setReceiveTimeout(int timeoutMs) {
    timeval tv{};
    if (timeoutMs > 0) {
        tv.tv_sec = timeoutMs / 1000;
        tv.tv_usec = static_cast<suseconds_t>(timeoutMs % 1000) * 1000;
    }
    return ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
}

void TcpStreamPair::shutdown() {
    if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
}

void TcpStreamPair::close() {
    if (in_) in_->close();
    if (out_) out_->close();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace veltrin
