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

namespace veltrin::test {
namespace {

constexpr char kDanted[] = "/usr/sbin/danted";

// One danted process on 127.0.0.1, in a process group of its own so that its helper processes go
// with it.
class DanteServer {
public:
    DanteServer() = default;
    DanteServer(const DanteServer&) = delete;
    DanteServer& operator=(const DanteServer&) = delete;
    ~DanteServer() { stop(); }

    static bool installed() { return ::access(kDanted, X_OK) == 0; }

    // socksMethod: "none" or "username". Answers an empty string when running, else why not.
    std::string start(const std::string& socksMethod) {
        char dirTemplate[] = "/tmp/veltrin-socks-XXXXXX";
        if (::mkdtemp(dirTemplate) == nullptr) return "cannot create a temporary folder";
        dir_ = dirTemplate;
        port_ = freePort();
        const std::string config = dir_ + "/danted.conf";
        std::ofstream(config) << "logoutput: " << dir_ << "/danted.log\n"
                              << "internal: 127.0.0.1 port = " << port_ << "\n"
                              << "external: 127.0.0.1\n"
                              << "clientmethod: none\n"
                              << "socksmethod: " << socksMethod << "\n"
                              << "user.privileged: root\n"
                              << "user.unprivileged: nobody\n"
                              << "client pass {\n  from: 127.0.0.0/8 to: 0.0.0.0/0\n}\n"
                              << "socks pass {\n  from: 127.0.0.0/8 to: 0.0.0.0/0\n"
                              << "  command: connect\n  protocol: tcp\n}\n";
        const std::string pidFile = dir_ + "/danted.pid";
        pid_ = ::fork();
        if (pid_ < 0) return "fork failed";
        if (pid_ == 0) {
            ::setpgid(0, 0);
            const int devNull = ::open("/dev/null", O_WRONLY);
            ::dup2(devNull, STDOUT_FILENO);
            ::dup2(devNull, STDERR_FILENO);
            ::execl(kDanted, "danted", "-f", config.c_str(), "-p", pidFile.c_str(), "-N", "1",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::setpgid(pid_, pid_);
        // Ready once it accepts connections; gone if it exits first.
        const auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return "danted exited at start; see " + dir_ + "/danted.log";
            }
            if (canConnect(port_)) return {};
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return "danted did not start listening";
    }

    int port() const { return port_; }

    void stop() {
        if (pid_ > 0) {
            ::kill(-pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        if (!dir_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(dir_, ignored);
            dir_.clear();
        }
    }

private:
    pid_t pid_ = -1;
    int port_ = 0;
    std::string dir_;
};

// A system account for dante's user name method, which checks the system's own passwords.
class SystemUser {
public:
    SystemUser() : name_("vsocks" + std::to_string(::getpid())) {}
    ~SystemUser() {
        if (created_) std::system(("userdel " + name_ + " >/dev/null 2>&1").c_str());
    }
    SystemUser(const SystemUser&) = delete;
    SystemUser& operator=(const SystemUser&) = delete;

    bool create(const std::string& password) {
        if (std::system(("useradd -M -N -s /usr/sbin/nologin " + name_ + " >/dev/null 2>&1").c_str()) != 0)
            return false;
        created_ = true;
        return std::system(("echo '" + name_ + ":" + password + "' | chpasswd >/dev/null 2>&1").c_str()) == 0;
    }
    const std::string& name() const { return name_; }

private:
    std::string name_;
    bool created_ = false;
};

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
