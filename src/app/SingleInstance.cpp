#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

#include <unistd.h>

namespace veltrin {
namespace {

constexpr int HeaderBytes = 4;
constexpr char Acknowledgement = 'k';
// A peer that connects and then says nothing must not hold a connection forever.
constexpr int PeerTimeoutMs = 5000;

}  // namespace

QString SingleInstance::defaultServerName() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("veltrin-%1").arg(getuid()));
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), name_(std::move(serverName)), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::listen() {
    if (server_->listen(name_)) return true;
    if (server_->serverError() != QAbstractSocket::AddressInUseError) return false;
    QLocalServer::removeServer(name_);
    return server_->listen(name_);
}

bool SingleInstance::isListening() const { return server_->isListening(); }

void SingleInstance::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        QTimer::singleShot(PeerTimeoutMs, socket, [socket] { socket->abort(); });
        readFrom(socket);
    }
}

void SingleInstance::readFrom(QLocalSocket* socket) {
    if (socket->bytesAvailable() < HeaderBytes) return;
    char header[HeaderBytes];
    socket->peek(header, HeaderBytes);
    const quint32 length = qFromBigEndian<quint32>(header);
    if (length > static_cast<quint32>(MaxArgumentBytes)) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < HeaderBytes + static_cast<qint64>(length)) return;
    socket->skip(HeaderBytes);
    const QByteArray payload = socket->read(length);
    socket->write(&Acknowledgement, 1);
    socket->flush();
    socket->disconnectFromServer();
    emit argumentReceived(QString::fromUtf8(payload));
}

bool SingleInstance::sendToRunning(const QString& serverName, const QString& argument, int timeoutMs) {
    const QByteArray payload = argument.toUtf8();
    if (payload.size() > MaxArgumentBytes) return false;
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs)) return false;
    char header[HeaderBytes];
    qToBigEndian<quint32>(static_cast<quint32>(payload.size()), header);
    socket.write(header, HeaderBytes);
    socket.write(payload);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(timeoutMs)) return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    }
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == Acknowledgement;
}

}  // namespace veltrin
