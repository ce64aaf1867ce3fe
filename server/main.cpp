// classroom-server: the reference classroom server. See server/README.md for the command line,
// the rooms file and the control commands read from stdin.

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "server/core/Asio.h"
#include "server/core/Config.h"
#include "server/core/Server.h"

using namespace veltrin::server;

namespace {

struct Options {
    std::vector<std::string> listen;
    std::string roomsFile;
    bool trace = false;
    bool control = true;
    ServerOptions server;
};

[[noreturn]] void usage(const char* why) {
    if (why) std::fprintf(stderr, "classroom-server: %s\n", why);
    std::fputs(
        "usage: classroom-server [--listen HOST:PORT]... [--rooms FILE] [--trace] [--no-control]\n"
        "                        [--max-frame BYTES] [--max-queue BYTES]\n"
        "                        [--handshake-timeout SECONDS] [--idle-timeout SECONDS]\n",
        stderr);
    std::exit(2);
}

unsigned long long number(const char* text, const char* what) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0') usage((std::string(what) + " needs a number").c_str());
    return v;
}

Options parseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) usage((a + " needs a value").c_str());
            return argv[++i];
        };
        if (a == "--listen") {
            o.listen.push_back(value());
        } else if (a == "--rooms") {
            o.roomsFile = value();
        } else if (a == "--trace") {
            o.trace = true;
        } else if (a == "--no-control") {
            o.control = false;
        } else if (a == "--max-frame") {
            o.server.maxPayload = number(value(), "--max-frame");
        } else if (a == "--max-queue") {
            o.server.maxQueuedBytes = number(value(), "--max-queue");
        } else if (a == "--handshake-timeout") {
            o.server.handshakeTimeout = std::chrono::seconds(number(value(), "--handshake-timeout"));
        } else if (a == "--idle-timeout") {
            o.server.idleTimeout = std::chrono::seconds(number(value(), "--idle-timeout"));
        } else if (a == "--help" || a == "-h") {
            usage(nullptr);
        } else {
            usage(("unknown argument " + a).c_str());
        }
    }
    if (o.listen.empty()) o.listen.push_back("127.0.0.1:3301");
    return o;
}

void printLine(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Control commands, one per line on stdin; each answer is one line on stdout. The end of stdin
// stops the server, so a test harness that dies takes its server with it.
class ControlChannel {
public:
    ControlChannel(asio::io_context& io, Server& server) : server_(server), input_(io) {}

    bool start() {
        asio::error_code ec;
        const int fd = ::dup(STDIN_FILENO);
        if (fd < 0) return false;
        input_.assign(fd, ec);
        if (ec) {
            // Descriptors that cannot be polled (regular files, /dev/null) give no control channel.
            ::close(fd);
            return false;
        }
        readLine();
        return true;
    }
    void stop() {
        asio::error_code ignored;
        input_.close(ignored);
    }

private:
    void readLine() {
        asio::async_read_until(input_, buffer_, '\n', [this](const asio::error_code& ec, std::size_t n) {
            if (ec == asio::error::operation_aborted) return;
            if (ec) {
                if (!server_.stopped()) server_.stop();
                return;
            }
            std::string line(asio::buffers_begin(buffer_.data()),
                             asio::buffers_begin(buffer_.data()) + static_cast<std::ptrdiff_t>(n));
            buffer_.consume(n);
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
            printLine(server_.control(line));
            if (!server_.stopped()) readLine();
        });
    }

    Server& server_;
    asio::posix::stream_descriptor input_;
    asio::streambuf buffer_;
};

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseArgs(argc, argv);
    std::signal(SIGPIPE, SIG_IGN);

    ServerConfig config;
    if (options.roomsFile.empty()) {
        config = demoConfig();
    } else {
        auto loaded = loadConfigFile(options.roomsFile);
        if (!loaded.config) {
            std::fprintf(stderr, "classroom-server: %s:%d: %s\n", options.roomsFile.c_str(), loaded.error.line,
                         loaded.error.message.c_str());
            return 2;
        }
        config = std::move(*loaded.config);
    }

    asio::io_context io(1);
    Server server(io, std::move(config), options.server);
    if (options.trace) {
        server.setTraceSink([](const std::string& line) {
            std::fputs(line.c_str(), stderr);
            std::fputc('\n', stderr);
        });
    }

    for (const auto& address : options.listen) {
        try {
            const auto endpoint = server.listen(address);
            std::string host = endpoint.address().to_string();
            if (endpoint.address().is_v6()) host = "[" + host + "]";
            printLine("listening " + host + ":" + std::to_string(endpoint.port()));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "classroom-server: cannot listen on %s: %s\n", address.c_str(), e.what());
            return 1;
        }
    }

    asio::signal_set signals(io, SIGINT, SIGTERM);
    signals.async_wait([&server](const asio::error_code& ec, int) {
        if (!ec) server.stop();
    });
    ControlChannel control(io, server);
    if (options.control) control.start();
    server.onStop([&] {
        asio::error_code ignored;
        signals.cancel(ignored);
        control.stop();
    });

    printLine("ready");
    io.run();
    return 0;
}
