#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/core/Asio.h"
#include "server/core/Config.h"
#include "server/core/Server.h"

namespace veltrin::server::test {

using namespace std::chrono_literals;

// A server on 127.0.0.1:0 whose io thread runs for the fixture's lifetime.
class InProcessServer {
public:
    explicit InProcessServer(ServerConfig config = demoConfig(), ServerOptions options = {})
        : server_(io_, std::move(config), options) {
        server_.setTraceSink([this](const std::string& line) {
            std::lock_guard lock(mutex_);
            trace_.push_back(line);
        });
        port_ = server_.listen("127.0.0.1:0").port();
        thread_ = std::thread([this] { io_.run(); });
    }
    ~InProcessServer() {
        asio::post(io_, [this] { server_.stop(); });
        thread_.join();
    }
    InProcessServer(const InProcessServer&) = delete;
    InProcessServer& operator=(const InProcessServer&) = delete;

    std::uint16_t port() const { return port_; }
    std::string control(const std::string& line) {
        auto f = server_.postControl(line);
        return f.wait_for(5s) == std::future_status::ready ? f.get() : "timeout";
    }
    StatsSnapshot stats() const { return server_.stats(); }
    std::vector<std::string> trace() const {
        std::lock_guard lock(mutex_);
        return trace_;
    }

private:
    asio::io_context io_{1};
    Server server_;
    std::uint16_t port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<std::string> trace_;
};

// Waits for a condition that another thread (the server's) makes true.
inline bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

}  // namespace veltrin::server::test
