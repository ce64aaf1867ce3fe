#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "server/core/Asio.h"
#include "server/core/Config.h"
#include "server/core/Extensions.h"
#include "server/core/HandlerRegistry.h"
#include "server/core/Room.h"
#include "server/core/Tokens.h"

namespace veltrin::server {

class Client;

struct ServerOptions {
    // DataSize above this drops the client: nothing the classroom sends comes near it, and the
    // bytes would have to be buffered before the frame can be handled.
    std::size_t maxPayload = 16u << 20;
    // A client that leaves this much output unread is dropped rather than buffered further.
    std::size_t maxQueuedBytes = 64u << 20;
    // Time allowed from the TCP connect to the end of the log-on.
    std::chrono::milliseconds handshakeTimeout{30000};
    // Silence after which a logged-on client is dropped; the client's keep-alive comes every
    // 30 seconds. Zero: never.
    std::chrono::milliseconds idleTimeout{180000};
    // How long a closing connection keeps reading so that its last frames reach the peer.
    std::chrono::milliseconds lingerTime{3000};
};

struct StatsSnapshot {
    std::uint64_t connections = 0;   // accepted TCP connections
    std::uint64_t active = 0;        // connections open now
    std::uint64_t logOns = 0;        // successful main-channel log-ons
    std::uint64_t logOnFailures = 0;
    std::uint64_t frames = 0;        // command frames received
    std::uint64_t relayed = 0;       // frames queued to other participants by the relay
    std::uint64_t joins = 0;
    std::uint64_t joinsDenied = 0;
    std::uint64_t joinsHeld = 0;
    std::uint64_t dropped = 0;       // clients dropped for oversized frames, backlog or timeouts

    std::string toLine() const;
};

// Counters read from any thread (tests, the control channel); written on the io thread.
struct ServerCounters {
    std::atomic<std::uint64_t> connections{0}, active{0}, logOns{0}, logOnFailures{0}, frames{0}, relayed{0},
        joins{0}, joinsDenied{0}, joinsHeld{0}, dropped{0};
    StatsSnapshot snapshot() const;
};

// The reference classroom server: listening sockets, the connected clients, the rooms, and the
// handler registries through which every feature is reached. Everything but the few entry points
// marked "any thread" runs on the io thread that runs the io_context.
class Server {
public:
    using SelectorFn = std::function<void(Server&, Client&)>;
    using TraceSink = std::function<void(const std::string&)>;

    Server(asio::io_context& io, ServerConfig config, ServerOptions options = {});
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    ~Server();

    // Binds "HOST:PORT" (port 0 picks a free one) and starts accepting; answers the bound
    // endpoint. Throws std::system_error or std::invalid_argument.
    asio::ip::tcp::endpoint listen(const std::string& hostPort);
    // Closes the listeners and every connection; io_context::run then returns once the
    // remaining handlers have run. Also runs the stop callbacks.
    void stop();
    bool stopped() const { return stopped_; }
    void onStop(std::function<void()> fn) { stopCallbacks_.push_back(std::move(fn)); }

    // Test and operator hooks: one command line in, one answer line out (see README).
    std::string control(const std::string& line);
    // Any thread.
    std::future<std::string> postControl(std::string line);
    // Receives "recv UID CMD SIZE" for every command frame; set before running.
    void setTraceSink(TraceSink sink) { trace_ = std::move(sink); }
    // Any thread.
    StatsSnapshot stats() const { return counters_.snapshot(); }

    // ---- for the features
    const ServerConfig& config() const { return config_; }
    const ServerOptions& options() const { return options_; }
    asio::io_context& io() { return io_; }
    ServerCounters& counters() { return counters_; }
    HandlerRegistry& mainChannel() { return mainChannel_; }
    // What a connection becomes after its channel selector; unknown selectors end it.
    void onSelector(std::int32_t selector, SelectorFn fn) { selectors_[selector] = std::move(fn); }
    const SelectorFn* selector(std::int32_t value) const;
    Extensions& extensions() { return extensions_; }

    Room* findRoom(std::int32_t id);
    // The room whose id has these low 16 bits (what every frame's RoomIndex carries).
    Room* findRoomByIndex(std::uint16_t roomIndex);
    std::vector<Room*> rooms();
    Client* findOnline(std::int32_t uid);
    std::vector<Client*> onlineClients();
    TokenBook& tokens() { return tokens_; }
    bool holdJoins() const { return holdJoins_; }

    // A main connection logged on as `account`. An earlier connection of the same user is told
    // (command 33) and closed, and leaves its room first.
    void logOn(Client& client, const Account& account);
    // Moves the client into `room`, out of any room it was in. `welcome` runs once the client is
    // in the room and before the room events, so the joiner's answer precedes anything a feature
    // sends because of the join.
    void joinRoom(Client& client, Room& room, const std::function<void()>& welcome = {});
    void leaveRoom(Client& client);

    // ---- for Client
    // The connection is on its way out (flushing its last frames): it is no longer a participant.
    void clientClosing(Client& client) { endSession(client); }
    void clientClosed(Client& client, const std::string& reason);
    void traceFrame(const Client& client, const TCommand& command);

private:
    void accept(asio::ip::tcp::acceptor& acceptor);
    void endSession(Client& client);
    std::shared_ptr<Client> findClientByUser(const std::string& who);

    asio::io_context& io_;
    ServerConfig config_;
    ServerOptions options_;
    std::vector<std::unique_ptr<asio::ip::tcp::acceptor>> acceptors_;
    std::map<std::uint64_t, std::shared_ptr<Client>> clients_;
    std::map<std::int32_t, Client*> online_;
    std::map<std::int32_t, std::unique_ptr<Room>> rooms_;
    std::map<std::int32_t, SelectorFn> selectors_;
    HandlerRegistry mainChannel_;
    TokenBook tokens_;
    Extensions extensions_;
    ServerCounters counters_;
    TraceSink trace_;
    std::vector<std::function<void()>> stopCallbacks_;
    std::uint64_t nextSerial_ = 1;
    bool holdJoins_ = false;
    bool stopped_ = false;
};

}  // namespace veltrin::server
