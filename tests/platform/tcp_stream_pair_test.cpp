#include <gtest/gtest.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <string>

#include "platform/TcpStreamPair.h"
#include "platform_test_support.h"

namespace veltrin::test {
namespace {

TEST(TcpStreamPair, ConnectsDirectlyAndCarriesBytesBothWays) {
    EchoServer echo;
    TcpStreamPair pair("127.0.0.1", echo.port());
    ASSERT_TRUE(pair.open(4000)) << pair.errorText();
    ASSERT_TRUE(pair.isOpen());
    ASSERT_GE(pair.nativeSocket(), 0);

    EXPECT_EQ(pair.setNoDelay(), 0);
    int noDelay = 0;
    socklen_t len = sizeof noDelay;
    ::getsockopt(pair.nativeSocket(), IPPROTO_TCP, TCP_NODELAY, &noDelay, &len);
    EXPECT_NE(noDelay, 0);

    const std::string text = "ping";
    ASSERT_TRUE(pair.output().writeAll(text.data(), text.size()));
    std::string back(text.size(), '\0');
    ASSERT_EQ(pair.input().readFully(back.data(), back.size()), text.size());
    EXPECT_EQ(back, text);

    // Shutting down ends the stream for the reader.
    pair.shutdown();
    char c;
    EXPECT_EQ(pair.input().readSome(&c, 1), 0u);
    EXPECT_FALSE(pair.input().readable());
}

TEST(TcpStreamPair, AReceiveTimeoutEndsAWaitForAPeerThatSaysNothing) {
    EchoServer echo;
    TcpStreamPair pair("127.0.0.1", echo.port());
    ASSERT_TRUE(pair.open(4000)) << pair.errorText();
    ASSERT_EQ(pair.setReceiveTimeout(50), 0);
    char c;
    EXPECT_EQ(pair.input().readSome(&c, 1), 0u);
    EXPECT_EQ(pair.input().status(), StreamStatus::Error);
}

TEST(TcpStreamPair, FailsToOpenWithAReason) {
    SilentListener silent;
    const struct {
        const char* name;
        std::string host;
        int port;
        SocksProxy proxy;
    } cases[] = {
        {"nobody listening", "127.0.0.1", closedPort(), {}},
        {"port out of range", "127.0.0.1", 70000, {}},
        {"unknown host", "no-such-host.invalid", 80, {}},
        {"proxy not listening", "127.0.0.1", 80, {5, "127.0.0.1", closedPort(), "", ""}},
        {"SOCKS 4 proxy that never answers", "127.0.0.1", 80, {4, "127.0.0.1", silent.port(), "", ""}},
        {"SOCKS 5 proxy that never answers", "127.0.0.1", 80, {5, "127.0.0.1", silent.port(), "", ""}},
    };
    for (const auto& c : cases) {
        TcpStreamPair pair(c.host, c.port);
        pair.setProxy(c.proxy);
        EXPECT_FALSE(pair.open(200)) << c.name;
        EXPECT_FALSE(pair.isOpen()) << c.name;
        EXPECT_FALSE(pair.errorText().empty()) << c.name;
    }
}

}  // namespace
}  // namespace veltrin::test
