#pragma once

// A deliberately plain client of the classroom protocol for tests: a blocking socket, every read
// bounded by a timeout, and nothing done behind the test's back (no keep-alive, no reader thread).
// It speaks the wire format through veltrin_wire, so what it sends is what the real client sends,
// and it can also send what the real client never would (wrong sizes, garbage, half frames).

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "wire/Records.h"
#include "wire/TCommand.h"
#include "wire/VCTools.h"

namespace veltrin::testkit {

using namespace std::chrono_literals;

inline constexpr std::chrono::milliseconds kDefaultTimeout = 5s;

struct Frame {
    TCommand header;
    Bytes payload;
};

// The answer to the join command, decoded.
struct JoinAnswer {
    std::int32_t roomId = 0;
    std::string audioHost;
    std::int32_t audioPort = 0;
    std::string videoHost;
    std::int32_t videoPort = 0;
    TRoomHeader room;
    TClientRecord client;
};

class RawClient {
public:
    RawClient() = default;
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;
    ~RawClient();

    bool connect(const std::string& host, std::uint16_t port, std::chrono::milliseconds timeout = kDefaultTimeout);
    bool connected() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    void close();
    // Half-close: the server sees the end of the stream, answers can still be read.
    void shutdownWrite();

    // ---- raw traffic
    bool sendBytes(std::span<const std::uint8_t> bytes);
    // Exactly `n` bytes, or nothing if the timeout passes or the connection ends first.
    std::optional<Bytes> readBytes(std::size_t n, std::chrono::milliseconds timeout = kDefaultTimeout);
    // True once the server has closed the connection (end of stream or reset); whatever it still
    // sent before is discarded and the socket is closed on this side too. False if it is still
    // open when the timeout passes.
    bool waitClosed(std::chrono::milliseconds timeout = kDefaultTimeout);

    // ---- frames
    // A frame with this client's uid and room index, DataSize the payload's length.
    bool sendFrame(std::uint16_t commandId, std::span<const std::uint8_t> payload = {});
    // The header exactly as given (DataSize may lie), then the payload.
    bool sendFrame(const TCommand& header, std::span<const std::uint8_t> payload);
    std::optional<Frame> readFrame(std::chrono::milliseconds timeout = kDefaultTimeout);
    // Reads frames until one with `commandId` arrives; the others are dropped (see skipped()).
    std::optional<Frame> waitFor(std::uint16_t commandId, std::chrono::milliseconds timeout = kDefaultTimeout);
    const std::vector<Frame>& skipped() const { return skipped_; }

    // ---- the opening, step by step
    bool sendVersion(const std::string& version = "8.0", const std::string& date = "Mar-01-2015");
    bool sendSelector(std::int32_t selector);
    bool sendLogOn(const std::string& user, const std::string& password);
    // The answer frame of the log-on; with Result 0 it carries the client record, and the
    // record's UID becomes this client's uid.
    std::optional<Frame> readLogOnAnswer(std::chrono::milliseconds timeout = kDefaultTimeout);

    // Connect, version exchange, selector 250 and log-on. Answers the log-on Result, or -1 when
    // any step failed (no connection, no answer, version refused).
    int open(const std::string& host, std::uint16_t port, const std::string& user, const std::string& password);
    // Sends the join command for `roomId` (also used as the RoomIndex of later frames) and
    // answers the server's 75 frame.
    std::optional<Frame> join(std::int32_t roomId, std::chrono::milliseconds timeout = kDefaultTimeout);

    std::int32_t uid() const { return uid_; }
    void setUid(std::int32_t uid) { uid_ = uid; }
    std::int32_t roomId() const { return roomId_; }
    void setRoomId(std::int32_t roomId) { roomId_ = roomId; }
    const TClientRecord& clientRecord() const { return record_; }

private:
    bool fill(std::chrono::steady_clock::time_point deadline);

    int fd_ = -1;
    Bytes in_;
    bool eof_ = false;
    std::int32_t uid_ = 0;
    std::int32_t roomId_ = 0;
    TClientRecord record_;
    std::vector<Frame> skipped_;
};

// ---- payload builders and decoders
Bytes intPayload(std::initializer_list<std::int32_t> values);
Bytes tokenPayload(const std::string& token);
std::optional<JoinAnswer> decodeJoinAnswer(const Frame& frame);
// The participant list of command 2: the count item, then the items.
std::optional<std::vector<TUserItem>> decodeUserList(const Frame& frame);
std::vector<TClientStatusPack> decodeStatusPacks(const Frame& frame);

}  // namespace veltrin::testkit
