#pragma once

// Debian's dante-server as a SOCKS proxy on loopback for tests, started with a configuration the
// test writes, and a system account for its user name method.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/platform/platform_test_support.h"

namespace veltrin::test {

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

}  // namespace veltrin::test
