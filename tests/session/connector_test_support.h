#pragma once

// Test doubles for the main connection: a loopback peer that plays the server's side of the
// socket, an observer that records what the connector reports, a manual writer clock, and small
// byte builders for expected payloads.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "session/ConnectionObserver.h"
#include "session/FrameHandler.h"
#include "session/ThrottledWrite.h"
#include "wire/ClientRecord.h"
#include "tests/support/LogCapture.h"
#include "wire/Log.h"
#include "wire/Streams.h"
#include "wire/TCommand.h"
#include "wire/VCTools.h"

namespace veltrin::test {

inline constexpr auto kWaitLimit = std::chrono::seconds(10);

// ---- expected bytes

class ByteBuilder {
public:
    ByteBuilder& u8(std::uint8_t v) {
        bytes_.push_back(v);
        return *this;
    }
    ByteBuilder& le16(std::uint16_t v) { return u8(v & 0xff).u8(v >> 8); }
    ByteBuilder& le32(std::int64_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i) u8(static_cast<std::uint8_t>(u >> (8 * i)));
        return *this;
    }
    ByteBuilder& f64(double v) {
        std::uint64_t u;
        std::memcpy(&u, &v, sizeof u);
        for (int i = 0; i < 8; ++i) u8(static_cast<std::uint8_t>(u >> (8 * i)));
        return *this;
    }
    ByteBuilder& raw(std::string_view text) {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return *this;
    }
    ByteBuilder& raw(const Bytes& b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    ByteBuilder& zeros(std::size_t n) {
        bytes_.insert(bytes_.end(), n, 0);
        return *this;
    }
    // Fixed-size string of ASCII text: length byte, text, zero fill.
    ByteBuilder& fixed(std::string_view text, std::size_t size) {
        const std::size_t n = std::min(text.size(), size);
        return u8(static_cast<std::uint8_t>(n)).raw(text.substr(0, n)).zeros(size - n);
    }
    // Int byte count, then the bytes.
    ByteBuilder& intString(std::string_view text) { return le32(static_cast<std::int64_t>(text.size())).raw(text); }

    Bytes bytes() const { return bytes_; }
    operator Bytes() const { return bytes_; }  // NOLINT(google-explicit-constructor)

private:
    Bytes bytes_;
};

// ---- frames

struct Frame {
    TCommand command;
    Bytes payload;
};

// Splits a buffer of whole commands; nothing when it does not consist of whole commands.
inline std::optional<std::vector<Frame>> splitFrames(const Bytes& data) {
    std::vector<Frame> frames;
    std::size_t at = 0;
    while (at < data.size()) {
        const auto command = TCommand::decode(std::span(data).subspan(at));
        if (!command || data.size() - at - TCommand::kSize < command->DataSize) return std::nullopt;
        const auto begin = data.begin() + static_cast<std::ptrdiff_t>(at + TCommand::kSize);
        frames.push_back({*command, Bytes(begin, begin + command->DataSize)});
        at += TCommand::kSize + command->DataSize;
    }
    return frames;
}

inline std::optional<Frame> readFrame(InputStream& in) {
    auto command = VCTools::readCommand(in);
    if (!command) return std::nullopt;
    Frame frame{*command, {}};
    if (command->DataSize != 0 &&
        VCTools::readPayload(in, command->DataSize, frame.payload, 1u << 24) != ReadStatus::Complete)
        return std::nullopt;
    return frame;
}

inline bool writeFrame(OutputStream& out, std::uint16_t id, std::uint32_t userId, const Bytes& payload,
                       std::uint16_t result = 0) {
    TCommand command(id, userId, 0, static_cast<std::uint32_t>(payload.size()));
    command.Result = result;
    return VCTools::writeCommand(out, command) && VCTools::writeToStream(out, payload.data(), payload.size());
}

// ---- loopback peer

// A listening socket on 127.0.0.1 and, once accepted, the server's end of one connection. Every
// blocking receive on it gives up after kWaitLimit so that a broken client fails a test instead of
// hanging it.
class LoopbackPeer {
public:
    LoopbackPeer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int one = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 4);
        socklen_t len = sizeof addr;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
    }
    ~LoopbackPeer() {
        closeConnection();
        ::close(listener_);
    }
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    int port() const { return port_; }

    bool accept() {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(std::chrono::milliseconds(kWaitLimit).count())) != 1) return false;
        fd_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd_ < 0) return false;
        timeval tv{static_cast<time_t>(kWaitLimit.count()), 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        in_ = std::make_unique<FdInputStream>(fd_);
        out_ = std::make_unique<FdOutputStream>(fd_);
        return true;
    }

    InputStream& in() { return *in_; }
    OutputStream& out() { return *out_; }

    void closeConnection() {
        if (fd_ < 0) return;
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
        fd_ = -1;
    }

private:
    int listener_ = -1;
    int port_ = 0;
    int fd_ = -1;
    std::unique_ptr<FdInputStream> in_;
    std::unique_ptr<FdOutputStream> out_;
};

// A port on 127.0.0.1 that nobody listens on.
inline int closedPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(s);
    return ntohs(addr.sin_port);
}

// ---- observer

class RecordingObserver final : public ConnectionObserver {
public:
    struct Received {
        TCommand command;
        Bytes payload;
    };

    // Called on the reporting thread after a status is recorded, outside the recorder's lock.
    std::function<void(int)> onStatus;

    // Makes the calling thread the one the owner's calls are taken to wait for.
    void setMainThread() { mainThread_ = std::this_thread::get_id(); }
    bool isMainThread() const override { return std::this_thread::get_id() == mainThread_.load(); }

    void Safe_NotifyConnectionStatusChange(int status) override {
        update([&] { statuses_.push_back(status); });
        if (onStatus) onStatus(status);
    }
    void Safe_SetClientRecord(const TClientRecord& record) override {
        update([&] { records_.push_back(record); });
    }
    void Safe_UpdateNeeded(const std::string& serverVersion, const std::string& serverDate) override {
        update([&] { updates_.emplace_back(serverVersion, serverDate); });
    }
    void Safe_ClearGreenTics() override {
        update([&] { ++markClears_; });
    }
    std::unique_ptr<FrameHandler> createFrameHandler(int uid, int rid) override {
        update([&] { handlerIds_.emplace_back(uid, rid); });
        return std::make_unique<Handler>(*this);
    }

    // Waits until pred (called under the recorder's lock) holds; false after kWaitLimit.
    template <class Pred>
    bool waitFor(Pred pred) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kWaitLimit, [&] { return pred(*this); });
    }

    // Accessors for use inside waitFor predicates (lock held) or after the connector is gone.
    const std::vector<int>& statuses() const { return statuses_; }
    const std::vector<TClientRecord>& records() const { return records_; }
    const std::vector<std::pair<std::string, std::string>>& updates() const { return updates_; }
    const std::vector<Received>& frames() const { return frames_; }
    const std::vector<std::pair<int, int>>& handlerIds() const { return handlerIds_; }
    int markClears() const { return markClears_; }

    // Copies taken under the lock, for use while the connector runs.
    std::vector<int> statusesNow() const {
        std::lock_guard lock(mutex_);
        return statuses_;
    }
    std::vector<Received> framesNow() const {
        std::lock_guard lock(mutex_);
        return frames_;
    }

private:
    class Handler final : public FrameHandler {
    public:
        explicit Handler(RecordingObserver& owner) : owner_(owner) {}
        void HandleInput(const TCommand& command, std::span<const std::uint8_t> payload) override {
            owner_.update([&] { owner_.frames_.push_back({command, Bytes(payload.begin(), payload.end())}); });
        }

    private:
        RecordingObserver& owner_;
    };

    template <class Fn>
    void update(Fn fn) {
        {
            std::lock_guard lock(mutex_);
            fn();
        }
        changed_.notify_all();
    }

    std::atomic<std::thread::id> mainThread_{};
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> statuses_;
    std::vector<TClientRecord> records_;
    std::vector<std::pair<std::string, std::string>> updates_;
    std::vector<Received> frames_;
    std::vector<std::pair<int, int>> handlerIds_;
    int markClears_ = 0;
};

// ---- clock

// A writer clock that only moves when told to (or when the writer sleeps); records every sleep.
class ManualClock final : public WriterClock {
public:
    Clock::time_point now() override { return Clock::time_point(Clock::duration(ticks_.load())); }
    void sleepFor(Clock::duration duration) override {
        {
            std::lock_guard lock(mutex_);
            sleeps_.push_back(duration);
        }
        advance(duration);
    }
    void advance(Clock::duration duration) { ticks_ += duration.count(); }
    std::vector<Clock::duration> sleeps() const {
        std::lock_guard lock(mutex_);
        return sleeps_;
    }

private:
    std::atomic<Clock::rep> ticks_{1};
    mutable std::mutex mutex_;
    std::vector<Clock::duration> sleeps_;
};

// ---- log

// Exact-line matching, as the connector tests expect.
class LogRecorder : public testing::LogCapture {
public:
    bool contains(std::string_view line) const { return hasLine(line); }
};

}  // namespace veltrin::test
