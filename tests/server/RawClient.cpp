#include "RawClient.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace veltrin::testkit {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

}  // namespace

RawClient::~RawClient() { close(); }

bool RawClient::connect(const std::string& host, std::uint16_t port, std::chrono::milliseconds timeout) {
    close();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) return false;
    const auto deadline = Clock::now() + timeout;
    for (addrinfo* a = found; a && fd_ < 0; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (fd < 0) continue;
        bool ok = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0;
        if (!ok && errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            int err = 0;
            socklen_t len = sizeof err;
            ok = ::poll(&p, 1, remainingMs(deadline)) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 &&
                 err == 0;
        }
        if (ok) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            const int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            fd_ = fd;
        } else {
            ::close(fd);
        }
    }
    freeaddrinfo(found);
    return fd_ >= 0;
}

void RawClient::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    in_.clear();
    eof_ = false;
}

void RawClient::shutdownWrite() {
    if (fd_ >= 0) ::shutdown(fd_, SHUT_WR);
}

bool RawClient::sendBytes(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0) return false;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

bool RawClient::fill(Clock::time_point deadline) {
    if (fd_ < 0 || eof_) return false;
    pollfd p{fd_, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&p, 1, remainingMs(deadline));
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return false;
    std::uint8_t buf[65536];
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n <= 0) {
        eof_ = true;
        return false;
    }
    in_.insert(in_.end(), buf, buf + n);
    return true;
}

std::optional<Bytes> RawClient::readBytes(std::size_t n, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (in_.size() < n)
        if (!fill(deadline)) return std::nullopt;
    Bytes out(in_.begin(), in_.begin() + static_cast<std::ptrdiff_t>(n));
    in_.erase(in_.begin(), in_.begin() + static_cast<std::ptrdiff_t>(n));
    return out;
}

bool RawClient::waitClosed(std::chrono::milliseconds timeout) {
    if (fd_ < 0) return true;
    const auto deadline = Clock::now() + timeout;
    while (!eof_) {
        in_.clear();
        if (!fill(deadline) && !eof_) return false;
    }
    close();
    return true;
}

bool RawClient::sendFrame(std::uint16_t commandId, std::span<const std::uint8_t> payload) {
    TCommand header(commandId, static_cast<std::uint32_t>(uid_), roomId_, static_cast<std::uint32_t>(payload.size()));
    return sendFrame(header, payload);
}

bool RawClient::sendFrame(const TCommand& header, std::span<const std::uint8_t> payload) {
    Bytes out;
    VCTools::writeCommandMD(out, header);
    out.insert(out.end(), payload.begin(), payload.end());
    return sendBytes(out);
}

std::optional<Frame> RawClient::readFrame(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (in_.size() < static_cast<std::size_t>(TCommand::kSize))
        if (!fill(deadline)) return std::nullopt;
    const TCommand header = TCommand::decode(in_.data());
    const std::size_t total = static_cast<std::size_t>(TCommand::kSize) + header.DataSize;
    while (in_.size() < total)
        if (!fill(deadline)) return std::nullopt;
    Frame f{header, Bytes(in_.begin() + TCommand::kSize, in_.begin() + static_cast<std::ptrdiff_t>(total))};
    in_.erase(in_.begin(), in_.begin() + static_cast<std::ptrdiff_t>(total));
    return f;
}

std::optional<Frame> RawClient::waitFor(std::uint16_t commandId, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (true) {
        auto f = readFrame(std::chrono::milliseconds(remainingMs(deadline)));
        if (!f) return std::nullopt;
        if (f->header.CommandID == commandId) return f;
        skipped_.push_back(std::move(*f));
    }
}

bool RawClient::sendVersion(const std::string& version, const std::string& date) {
    Bytes out;
    VCTools::writeFixedStringMD(out, version, 10);
    VCTools::writeFixedStringMD(out, date, 20);
    return sendBytes(out);
}

bool RawClient::sendSelector(std::int32_t selector) {
    Bytes out;
    VCTools::writeBEIntMD(out, selector);
    return sendBytes(out);
}

bool RawClient::sendLogOn(const std::string& user, const std::string& password) {
    TSimpleLogin login;
    login.Username = user;
    login.Password = password;
    Bytes out;
    login.writeToMD(out);
    return sendBytes(out);
}

std::optional<Frame> RawClient::readLogOnAnswer(std::chrono::milliseconds timeout) {
    auto f = readFrame(timeout);
    if (f && f->header.Result == 0 && f->payload.size() == static_cast<std::size_t>(TClientRecord::kSize)) {
        MemoryInputStream in(f->payload);
        record_.readFromStream(in);
        uid_ = record_.UID;
    }
    return f;
}

int RawClient::open(const std::string& host, std::uint16_t port, const std::string& user,
                    const std::string& password) {
    if (!connect(host, port) || !sendVersion()) return -1;
    auto version = readFrame();
    if (!version || version->header.Result != 0) return -1;
    if (!sendSelector(250) || !sendLogOn(user, password)) return -1;
    auto answer = readLogOnAnswer();
    return answer ? answer->header.Result : -1;
}

std::optional<Frame> RawClient::join(std::int32_t roomId, std::chrono::milliseconds timeout) {
    roomId_ = roomId;
    const Bytes payload = intPayload({roomId});
    if (!sendFrame(75, payload)) return std::nullopt;
    return waitFor(75, timeout);
}

Bytes intPayload(std::initializer_list<std::int32_t> values) {
    Bytes out;
    for (auto v : values) VCTools::writeIntMD(out, v);
    return out;
}

Bytes tokenPayload(const std::string& token) {
    Bytes out;
    VCTools::writeStringIntSizeMD(out, token);
    return out;
}

std::optional<JoinAnswer> decodeJoinAnswer(const Frame& frame) {
    constexpr std::size_t kSize = 4 + 21 + 4 + 21 + 4 + TRoomHeader::kSize + TClientRecord::kSize;
    if (frame.header.Result != 0 || frame.payload.size() != kSize) return std::nullopt;
    MemoryInputStream in(frame.payload);
    JoinAnswer a;
    a.roomId = VCTools::readInt(in);
    a.audioHost = VCTools::readFixedString(in, 20);
    a.audioPort = VCTools::readInt(in);
    a.videoHost = VCTools::readFixedString(in, 20);
    a.videoPort = VCTools::readInt(in);
    a.room.readFromStream(in);
    a.client.readFromStream(in);
    return a;
}

std::optional<std::vector<TUserItem>> decodeUserList(const Frame& frame) {
    const std::size_t item = TUserItem::kSize;
    if (frame.payload.size() < item || frame.payload.size() % item != 0) return std::nullopt;
    MemoryInputStream in(frame.payload);
    TUserItem head;
    head.readFromStream(in);
    if (head.UID < 0 || static_cast<std::size_t>(head.UID) != frame.payload.size() / item - 1) return std::nullopt;
    std::vector<TUserItem> items(static_cast<std::size_t>(head.UID));
    for (auto& u : items) u.readFromStream(in);
    return items;
}

std::vector<TClientStatusPack> decodeStatusPacks(const Frame& frame) {
    std::vector<TClientStatusPack> packs(frame.payload.size() / TClientStatusPack::kSize);
    MemoryInputStream in(frame.payload);
    for (auto& p : packs) p.readFromStream(in);
    return packs;
}

}  // namespace veltrin::testkit
