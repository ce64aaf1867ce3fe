// TcpStreamPair through a real SOCKS server: Debian's dante-server, started by the test on
// loopback with a configuration of its own, relaying to an echo server in the test.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/TcpStreamPair.h"
#include "platform_test_support.h"
#include "tests/support/DanteServer.h"

namespace veltrin::test {
namespace {

// Sends a line through the pair and reads it back from the echo server.
void expectEcho(TcpStreamPair& pair) {
    const std::string text = "through the proxy";
    ASSERT_TRUE(pair.output().writeAll(text.data(), text.size()));
    std::string back(text.size(), '\0');
    ASSERT_EQ(pair.input().readFully(back.data(), back.size()), text.size());
    EXPECT_EQ(back, text);
}

class SocksProxyTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!DanteServer::installed()) GTEST_SKIP() << kDanted << " is missing (Debian package dante-server)";
    }
    EchoServer echo;
};

TEST_F(SocksProxyTest, RelaysWithoutAuthentication) {
    DanteServer dante;
    const std::string why = dante.start("none");
    ASSERT_TRUE(why.empty()) << why;
    const struct {
        int version;
        const char* host;
    } cases[] = {{4, "127.0.0.1"}, {4, "localhost"}, {5, "127.0.0.1"}, {5, "localhost"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "SOCKS " << c.version << " to " << c.host);
        TcpStreamPair pair(c.host, echo.port());
        pair.setProxy({c.version, "127.0.0.1", dante.port(), "", ""});
        ASSERT_TRUE(pair.open(4000)) << pair.errorText();
        expectEcho(pair);
    }
}

TEST_F(SocksProxyTest, SocksFiveWithUserNameAndPassword) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to create the system user dante authenticates";
    SystemUser user;
    if (!user.create("pa55word")) GTEST_SKIP() << "cannot create a system user (useradd/chpasswd)";
    DanteServer dante;
    const std::string why = dante.start("username");
    ASSERT_TRUE(why.empty()) << why;

    TcpStreamPair good("127.0.0.1", echo.port());
    good.setProxy({5, "127.0.0.1", dante.port(), user.name(), "pa55word"});
    ASSERT_TRUE(good.open(4000)) << good.errorText();
    expectEcho(good);

    TcpStreamPair wrong("127.0.0.1", echo.port());
    wrong.setProxy({5, "127.0.0.1", dante.port(), user.name(), "wrong"});
    EXPECT_FALSE(wrong.open(4000));
    EXPECT_FALSE(wrong.isOpen());
    EXPECT_NE(wrong.errorText().find("refused"), std::string::npos) << wrong.errorText();

    // Without credentials the server offers no method this client may use.
    TcpStreamPair anonymous("127.0.0.1", echo.port());
    anonymous.setProxy({5, "127.0.0.1", dante.port(), "", ""});
    EXPECT_FALSE(anonymous.open(4000));
}

TEST_F(SocksProxyTest, AProxyThatRefusesTheTargetFailsTheOpen) {
    DanteServer dante;
    const std::string why = dante.start("none");
    ASSERT_TRUE(why.empty()) << why;
    for (const int version : {4, 5}) {
        TcpStreamPair pair("127.0.0.1", closedPort());
        pair.setProxy({version, "127.0.0.1", dante.port(), "", ""});
        EXPECT_FALSE(pair.open(4000)) << version;
        EXPECT_NE(pair.errorText().find("refused"), std::string::npos) << pair.errorText();
    }
}

}  // namespace
}  // namespace veltrin::test
