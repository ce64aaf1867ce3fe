#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace veltrin {

// One client per user: the first start listens on a local socket; a later start hands its launch
// argument (a link, a path or nothing) to it and exits.
//
// Wire form of a hand-over: a 4-byte big-endian length and that many bytes of UTF-8; the running
// instance answers one byte 'k' once it has taken the argument.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxArgumentBytes = 64 * 1024;

    // "veltrin-<uid>" in the user's runtime folder, which only the user can enter.
    static QString defaultServerName();

    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Starts listening, replacing a socket left behind by a crashed instance. Call only after
    // sendToRunning() found no instance.
    bool listen();
    bool isListening() const;

    // Hands the argument to a running instance; true once it has confirmed. Blocks up to timeoutMs;
    // safe to call from any thread.
    static bool sendToRunning(const QString& serverName, const QString& argument, int timeoutMs = 3000);

signals:
    // A later start's argument (empty when it had none).
    void argumentReceived(const QString& argument);

private:
    void accept();
    void readFrom(QLocalSocket* socket);

    QString name_;
    QLocalServer* server_;
};

}  // namespace veltrin
