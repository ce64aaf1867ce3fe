#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "server/core/Asio.h"
#include "server/core/Config.h"
#include "server/core/Extensions.h"
#include "server/core/FrameAssembler.h"
#include "server/core/Wire.h"

namespace veltrin::server {

class Server;
class Room;
class HandlerRegistry;

// What the server knows about the user behind a logged-on main connection.
struct SessionState {
    const Account* account = nullptr;
    // The role in force: the account's at log-on, changed by a moderator's promotion or demotion.
    std::int32_t userTypeId = 0;
    Room* room = nullptr;
    TClientStatusPack status{};          // kept up to date by the participant features
    std::int32_t timeBias = 0;           // minutes, as the client reports its time zone
    std::int32_t bytesIn = 0;            // connection speed the client announced
    std::int32_t bytesOut = 0;
    double logOnTime = 0;                // day-count date
    std::set<std::int32_t> tokenRooms;   // rooms this connection presented an accepted entry token for
};

// One TCP connection: its opening handshake, its command frames and its output queue. All of it
// runs on the server's one io thread. Reading and writing are independent: a peer that does not
// read never holds up the server or the other clients; its queue grows until the limit of the
// server's options and the connection is then dropped.
class Client : public std::enable_shared_from_this<Client> {
public:
    using BlockHandler = std::function<void(Client&, std::span<const std::uint8_t>)>;

    Client(Server& server, asio::ip::tcp::socket socket, std::uint64_t serial);
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    void start();

    // What arrives next: a handshake block of a fixed size handed to `handler`, or command frames
    // dispatched through `registry` (which must outlive the connection).
    void expectBlock(std::size_t size, BlockHandler handler);
    void expectFrames(const HandlerRegistry& registry);

    // Queues bytes (whole frames) for writing; the shared form lets a relay queue one copy for
    // many receivers.
    void send(std::shared_ptr<const Bytes> bytes);
    void send(Bytes bytes);
    // A frame from the server to this client: UserID is this client's uid, RoomIndex the low
    // 16 bits of its room's id.
    void sendFrame(std::uint16_t commandId, std::uint16_t result, std::span<const std::uint8_t> payload = {});

    // Stops reading at once and closes after everything queued has been written (and the peer
    // had a moment to read it).
    void closeAfterFlush(const std::string& reason);
    // Closes now; whatever is queued is lost.
    void close(const std::string& reason);
    bool closed() const { return closed_; }
    bool finishing() const { return closed_ || flushThenClose_; }

    std::uint64_t serial() const { return serial_; }
    const std::string& peerAddress() const { return peerAddress_; }
    const std::string& localAddress() const { return localAddress_; }
    std::uint16_t localPort() const { return localPort_; }
    std::size_t queuedBytes() const { return queuedBytes_; }

    SessionState& session() { return session_; }
    const SessionState& session() const { return session_; }
    bool loggedOn() const { return session_.account != nullptr; }
    std::int32_t uid() const { return session_.account ? session_.account->uid : 0; }
    Room* room() const { return session_.room; }
    // Moderators and administrators: the only ones whose moderator commands are obeyed.
    bool privileged() const { return session_.userTypeId > 0; }
    Extensions& extensions() { return extensions_; }

private:
    using Clock = std::chrono::steady_clock;

    void readMore();
    void onRead(const asio::error_code& ec, std::size_t n);
    void process();
    void writeMore();
    void onWrite(const asio::error_code& ec);
    void beginLinger();
    void armTimer();
    void onTimer();
    Clock::time_point deadline() const;

    Server& server_;
    asio::ip::tcp::socket socket_;
    asio::steady_timer timer_;
    std::uint64_t serial_;
    std::string peerAddress_;
    std::string localAddress_;
    std::uint16_t localPort_ = 0;

    FrameAssembler assembler_;
    BlockHandler blockHandler_;
    const HandlerRegistry* registry_ = nullptr;
    std::vector<std::uint8_t> readBuffer_;
    bool reading_ = false;
    bool stopReading_ = false;

    std::deque<std::shared_ptr<const Bytes>> queue_;
    std::vector<std::shared_ptr<const Bytes>> inflight_;
    std::size_t queuedBytes_ = 0;
    bool writing_ = false;
    bool flushThenClose_ = false;
    bool lingering_ = false;
    bool closed_ = false;

    Clock::time_point started_;
    Clock::time_point lastActivity_;
    Clock::time_point lingerStarted_;
    bool timerArmed_ = false;

    SessionState session_;
    Extensions extensions_;
};

}  // namespace veltrin::server
