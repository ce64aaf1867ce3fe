#pragma once

#include <memory>
#include <string>

#include "wire/Streams.h"

namespace veltrin {

// SOCKS proxy of a connection. version 0 means a direct connection.
struct SocksProxy {
    int version = 0;  // 0 none, 4 SOCKS 4, 5 SOCKS 5
    std::string host;
    int port = 1080;
    std::string user;
    std::string password;

    bool enabled() const { return version == 4 || version == 5; }
    bool operator==(const SocksProxy&) const = default;
};

// A TCP connection as an input and an output stream over one socket. The proxy is set before
// open(); open() connects (through the proxy, if any) and answers whether both streams are open.
// shutdown() may be called from any thread to wake a blocked reader; the socket closes on release.
class TcpStreamPair {
public:
    TcpStreamPair(std::string host, int port);
    TcpStreamPair(const TcpStreamPair&) = delete;
    TcpStreamPair& operator=(const TcpStreamPair&) = delete;
    ~TcpStreamPair();

    void setProxy(const SocksProxy& proxy) { proxy_ = proxy; }
    const SocksProxy& proxy() const { return proxy_; }
    const std::string& host() const { return host_; }
    int port() const { return port_; }

    // Connects with a deadline of timeoutMs. On failure both streams report Error and errorText()
    // says why.
    bool open(int timeoutMs);
    bool isOpen() const { return fd_ >= 0 && in_ && out_; }
    const std::string& errorText() const { return error_; }

    int nativeSocket() const { return fd_; }
    // Disables Nagle's algorithm so that small commands leave at once; answers setsockopt's result.
    int setNoDelay();
    // Bounds every later blocking receive: a receive that waits longer fails and the input stream
    // reports Error. 0 waits forever again. Handshakes use it so that a silent peer cannot hang the
    // connecting thread. Answers setsockopt's result.
    int setReceiveTimeout(int timeoutMs);
    InputStream& input() { return *in_; }
    OutputStream& output() { return *out_; }

    // Shuts the socket down in both directions (readers see the end of the stream).
    void shutdown();
    void close();

private:
    std::string host_;
    int port_;
    SocksProxy proxy_;
    int fd_ = -1;
    std::string error_;
    std::unique_ptr<InputStream> in_;
    std::unique_ptr<OutputStream> out_;
};

}  // namespace veltrin
