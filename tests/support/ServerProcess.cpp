#include "ServerProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryFile>
#include <QThread>

namespace veltrin::testing {

ServerProcess::~ServerProcess() { stop(); }

QString serverExecutable() { return QStringLiteral(VELTRIN_SERVER_PATH); }

bool ServerProcess::start(int listenCount, const QStringList& extraArgs) {
    QStringList args;
    for (int i = 0; i < listenCount; ++i) args << QStringLiteral("--listen") << QStringLiteral("127.0.0.1:0");
    args << QStringLiteral("--trace") << extraArgs;
    process_.setProgram(serverExecutable());
    process_.setArguments(args);
    process_.start();
    if (!process_.waitForStarted(5000)) {
        error_ = QStringLiteral("cannot start ") + serverExecutable();
        return false;
    }
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    static const QRegularExpression listening(QStringLiteral("^listening [^:]+:(\\d+)$"));
    while (timer.elapsed() < 10000) {
        process_.waitForReadyRead(100);
        out += process_.readAllStandardOutput();
        stderr_ += process_.readAllStandardError();
        if (out.contains("ready")) break;
        if (process_.state() != QProcess::Running) break;
    }
    for (const QByteArray& line : out.split('\n')) {
        const auto m = listening.match(QString::fromUtf8(line.trimmed()));
        if (m.hasMatch()) ports_.push_back(m.captured(1).toInt());
    }
    if (!out.contains("ready") || static_cast<int>(ports_.size()) != listenCount) {
        error_ = QString::fromUtf8(out + stderr_);
        return false;
    }
    return true;
}

void ServerProcess::stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.write("quit\n");
    process_.closeWriteChannel();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

void ServerProcess::control(const QString& line) {
    process_.write((line + QLatin1Char('\n')).toUtf8());
    process_.waitForBytesWritten(1000);
}

void ServerProcess::drain() { stderr_ += process_.readAllStandardError(); }

std::vector<ServerProcess::Received> ServerProcess::received() {
    drain();
    std::vector<Received> result;
    static const QRegularExpression recv(QStringLiteral("^recv (-?\\d+) (\\d+) (\\d+)"));
    for (const QByteArray& line : stderr_.split('\n')) {
        const auto m = recv.match(QString::fromUtf8(line.trimmed()));
        if (m.hasMatch()) result.push_back({m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()});
    }
    return result;
}

std::vector<int> ServerProcess::commandsFrom(int uid) {
    std::vector<int> commands;
    for (const Received& r : received())
        if (r.uid == uid) commands.push_back(r.command);
    return commands;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeout.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

int closedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const int port = server.serverPort();
    server.close();
    return port;
}

QString writeTempFile(const QString& content) {
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/veltrin-test-XXXXXX.txt"));
    file.setAutoRemove(false);
    if (!file.open()) return {};
    file.write(content.toUtf8());
    return file.fileName();
}

}  // namespace veltrin::testing
