// Receiving the message channel: a user-only local socket, one text line
// per message (support/MessageChannel.h). Lines from another user never
// arrive: the socket's folder and file admit only this user, and the peer's
// credentials are checked as well.
#pragma once

#include "support/MessageChannel.h"

#include <QObject>

#include <functional>

class QLocalServer;
class QLocalSocket;

class MessageServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const ChannelMessage&)>;

    explicit MessageServer(Handler handler, QObject* parent = nullptr);
    ~MessageServer() override;

    // Starts listening at ChannelSocketPath(). Call only while holding the
    // single-instance lock: a stale socket file is removed first.
    bool Listen();

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);

    Handler handler_;
    QLocalServer* server_;
};
