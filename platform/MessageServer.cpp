#include "platform/MessageServer.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <sys/socket.h>
#include <unistd.h>

namespace {

bool SameUser(QLocalSocket* socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    const int fd = static_cast<int>(socket->socketDescriptor());
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

} // namespace

MessageServer::MessageServer(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &MessageServer::OnNewConnection);
}

MessageServer::~MessageServer() = default;

bool MessageServer::Listen() {
    const QString path = QString::fromStdString(ChannelSocketPath());
    QLocalServer::removeServer(path);
    return server_->listen(path);
}

void MessageServer::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (!SameUser(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        OnReadyRead(socket);
    }
}

void MessageServer::OnReadyRead(QLocalSocket* socket) {
    while (socket->canReadLine()) {
        QByteArray line = socket->readLine(kChannelLineMax + 2);
        if (!line.endsWith('\n')) {
            // An overlong line: the sender is not one of ours.
            socket->abort();
            return;
        }
        line.chop(1);
        if (auto message = ParseChannelLine(std::string_view(line.constData(), line.size()))) {
            handler_(*message);
        }
    }
    if (socket->bytesAvailable() > static_cast<qint64>(kChannelLineMax)) {
        socket->abort();
    }
}
