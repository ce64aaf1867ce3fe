#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <vector>

namespace veltrin::testing {

// The reference classroom server as a child process: started on loopback port 0 (one or more
// listen ports), with its command trace collected and its control channel on stdin.
class ServerProcess {
public:
    ServerProcess() = default;
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts the server with `listenCount` loopback ports and the given extra arguments (e.g.
    // "--rooms", path); waits for "ready". Answers false (with the output in error()) on failure.
    bool start(int listenCount = 1, const QStringList& extraArgs = {});
    void stop();

    const std::vector<int>& ports() const { return ports_; }
    int port() const { return ports_.empty() ? 0 : ports_.front(); }

    // Sends one control line (e.g. "drop-all", "hold-join on").
    void control(const QString& line);

    // The command trace: one entry per "recv UID CMD SIZE" line so far.
    struct Received {
        int uid;
        int command;
        int size;
    };
    std::vector<Received> received();
    // The commands received from one user, in order.
    std::vector<int> commandsFrom(int uid);
    QString error() const { return error_; }

private:
    void drain();

    QProcess process_;
    std::vector<int> ports_;
    QByteArray stderr_;
    QString error_;
};

// Processes events until `condition` holds or the timeout passes; answers the condition.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A loopback port that refuses connections (bound, then closed again).
int closedPort();

// The server executable and a temporary rooms file with the given content.
QString serverExecutable();
QString writeTempFile(const QString& content);

}  // namespace veltrin::testing
