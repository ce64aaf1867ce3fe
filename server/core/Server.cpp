#include "server/core/Server.h"

#include <charconv>
#include <sstream>
#include <stdexcept>

#include "server/core/Client.h"
#include "server/core/Opening.h"
#include "server/features/Features.h"
#include "wire/Log.h"

namespace veltrin::server {

std::string StatsSnapshot::toLine() const {
    std::ostringstream s;
    s << "stats connections=" << connections << " active=" << active << " logons=" << logOns
      << " logon-failures=" << logOnFailures << " frames=" << frames << " relayed=" << relayed
      << " joins=" << joins << " joins-denied=" << joinsDenied << " joins-held=" << joinsHeld
      << " dropped=" << dropped;
    return s.str();
}

StatsSnapshot ServerCounters::snapshot() const {
    StatsSnapshot s;
    s.connections = connections.load(std::memory_order_relaxed);
    s.active = active.load(std::memory_order_relaxed);
    s.logOns = logOns.load(std::memory_order_relaxed);
    s.logOnFailures = logOnFailures.load(std::memory_order_relaxed);
    s.frames = frames.load(std::memory_order_relaxed);
    s.relayed = relayed.load(std::memory_order_relaxed);
    s.joins = joins.load(std::memory_order_relaxed);
    s.joinsDenied = joinsDenied.load(std::memory_order_relaxed);
    s.joinsHeld = joinsHeld.load(std::memory_order_relaxed);
    s.dropped = dropped.load(std::memory_order_relaxed);
    return s;
}

Server::Server(asio::io_context& io, ServerConfig config, ServerOptions options)
    : io_(io), config_(std::move(config)), options_(options), tokens_(config_.tokens) {
    for (const auto& rc : config_.rooms) rooms_[rc.id] = std::make_unique<Room>(rc);
    installFeatures(*this);
}

Server::~Server() {
    // Clients hold a reference to the server; make sure none outlives it in a running state.
    for (auto& [serial, client] : std::map(clients_)) client->close("server destroyed");
}

asio::ip::tcp::endpoint Server::listen(const std::string& hostPort) {
    const auto colon = hostPort.rfind(':');
    if (colon == std::string::npos || colon == 0) throw std::invalid_argument("expected HOST:PORT, got " + hostPort);
    std::string host = hostPort.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    const std::string portText = hostPort.substr(colon + 1);
    unsigned port = 0;
    auto [p, ec] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (ec != std::errc() || p != portText.data() + portText.size() || port > 65535)
        throw std::invalid_argument("bad port in " + hostPort);

    asio::ip::tcp::resolver resolver(io_);
    const auto results = resolver.resolve(host, portText, asio::ip::resolver_base::passive);
    if (results.empty()) throw std::invalid_argument("cannot resolve " + host);
    const asio::ip::tcp::endpoint endpoint = *results.begin();

    auto acceptor = std::make_unique<asio::ip::tcp::acceptor>(io_);
    acceptor->open(endpoint.protocol());
    acceptor->set_option(asio::ip::tcp::acceptor::reuse_address(true));
    acceptor->bind(endpoint);
    acceptor->listen(asio::socket_base::max_listen_connections);
    const auto bound = acceptor->local_endpoint();
    acceptors_.push_back(std::move(acceptor));
    accept(*acceptors_.back());
    return bound;
}

void Server::accept(asio::ip::tcp::acceptor& acceptor) {
    acceptor.async_accept([this, &acceptor](const asio::error_code& ec, asio::ip::tcp::socket socket) {
        if (stopped_) return;
        if (!ec) {
            auto client = std::make_shared<Client>(*this, std::move(socket), nextSerial_++);
            clients_[client->serial()] = client;
            counters_.connections++;
            counters_.active++;
            startOpening(*this, *client);
            client->start();
        } else if (ec == asio::error::operation_aborted) {
            return;
        }
        // Other accept errors (descriptor limits, aborted handshakes) concern one connection only.
        accept(acceptor);
    });
}

void Server::stop() {
    if (stopped_) return;
    stopped_ = true;
    for (auto& a : acceptors_) {
        asio::error_code ignored;
        a->close(ignored);
    }
    for (auto& [serial, client] : std::map(clients_)) client->close("server stopping");
    for (auto& fn : stopCallbacks_) fn();
}

const Server::SelectorFn* Server::selector(std::int32_t value) const {
    auto it = selectors_.find(value);
    return it == selectors_.end() ? nullptr : &it->second;
}

Room* Server::findRoom(std::int32_t id) {
    auto it = rooms_.find(id);
    return it == rooms_.end() ? nullptr : it->second.get();
}

Room* Server::findRoomByIndex(std::uint16_t roomIndex) {
    for (auto& [id, room] : rooms_)
        if (static_cast<std::uint16_t>(id) == roomIndex) return room.get();
    return nullptr;
}

std::vector<Room*> Server::rooms() {
    std::vector<Room*> out;
    for (auto& [id, room] : rooms_) out.push_back(room.get());
    return out;
}

Client* Server::findOnline(std::int32_t uid) {
    auto it = online_.find(uid);
    return it == online_.end() ? nullptr : it->second;
}

std::vector<Client*> Server::onlineClients() {
    std::vector<Client*> out;
    for (auto& [uid, c] : online_) out.push_back(c);
    return out;
}

void Server::logOn(Client& client, const Account& account) {
    if (Client* earlier = findOnline(account.uid); earlier && earlier != &client) {
        logf("user %s logged on again; closing the earlier connection", account.userName.c_str());
        earlier->sendFrame(33, 0);
        earlier->closeAfterFlush("logged on elsewhere");  // leaves its room at once
    }
    client.session().account = &account;
    client.session().userTypeId = account.userTypeId;
    client.session().status.UID = account.uid;
    online_[account.uid] = &client;
    counters_.logOns++;
}

void Server::joinRoom(Client& client, Room& room, const std::function<void()>& welcome) {
    const bool moving = client.room() != &room;
    if (moving) {
        leaveRoom(client);
        room.add(&client);
        client.session().room = &room;
    }
    counters_.joins++;
    if (welcome) welcome();
    if (moving) mainChannel_.notifyJoined(*this, room, client);
}

void Server::leaveRoom(Client& client) {
    Room* room = client.room();
    if (!room) return;
    room->remove(&client);
    client.session().room = nullptr;
    mainChannel_.notifyLeft(*this, *room, client);
}

void Server::endSession(Client& client) {
    leaveRoom(client);
    if (client.loggedOn()) {
        auto it = online_.find(client.uid());
        if (it != online_.end() && it->second == &client) online_.erase(it);
    }
}

void Server::clientClosed(Client& client, const std::string& reason) {
    endSession(client);
    counters_.active--;
    if (client.loggedOn())
        logf("connection %llu (%s) closed: %s", static_cast<unsigned long long>(client.serial()),
             client.session().account->userName.c_str(), reason.c_str());
    clients_.erase(client.serial());
}

void Server::traceFrame(const Client& client, const TCommand& command) {
    counters_.frames++;
    if (!trace_) return;
    trace_("recv " + std::to_string(client.uid()) + " " + std::to_string(command.CommandID) + " " +
           std::to_string(command.DataSize));
}

std::shared_ptr<Client> Server::findClientByUser(const std::string& who) {
    for (auto& [serial, c] : clients_) {
        if (!c->loggedOn() || c->finishing()) continue;
        if (c->session().account->userName == who || std::to_string(c->uid()) == who) return c;
    }
    return nullptr;
}

std::string Server::control(const std::string& line) {
    std::istringstream in(line);
    std::string cmd, arg;
    in >> cmd >> arg;
    if (cmd == "stats") return stats().toLine();
    if (cmd == "drop-all") {
        std::size_t n = 0;
        for (auto& [serial, client] : std::map(clients_)) {
            client->close("dropped by operator");
            ++n;
        }
        return "ok drop-all " + std::to_string(n);
    }
    if (cmd == "drop") {
        auto client = findClientByUser(arg);
        if (!client) return "error no such user " + arg;
        client->close("dropped by operator");
        return "ok drop " + arg;
    }
    if (cmd == "hold-join") {
        if (arg != "on" && arg != "off") return "error hold-join needs on or off";
        holdJoins_ = arg == "on";
        return "ok hold-join " + arg;
    }
    if (cmd == "users") {
        std::string out = "users";
        for (auto& [uid, c] : online_)
            out += " " + c->session().account->userName + ":" + std::to_string(uid) + ":" +
                   std::to_string(c->room() ? c->room()->id() : 0);
        return out;
    }
    if (cmd == "quit") {
        // Answer first, stop after: the caller prints the answer before the process ends.
        asio::post(io_, [this] { stop(); });
        return "ok quit";
    }
    if (cmd.empty()) return "error empty command";
    return "error unknown command " + cmd;
}

std::future<std::string> Server::postControl(std::string line) {
    auto promise = std::make_shared<std::promise<std::string>>();
    auto future = promise->get_future();
    asio::post(io_, [this, promise, line = std::move(line)] { promise->set_value(control(line)); });
    return future;
}

}  // namespace veltrin::server
