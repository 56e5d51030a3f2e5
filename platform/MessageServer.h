// Receiving the message channel: a user-only local socket, one text line
// per message (support/MessageChannel.h), watched by socket notifiers on
// the main thread. Lines from another user never arrive: the socket's
// folder and file admit only this user, and the peer's credentials are
// checked as well.
#pragma once

#include "support/MessageChannel.h"

#include <QObject>

#include <deque>
#include <functional>
#include <list>
#include <string>

class QSocketNotifier;
class QTimer;

class MessageServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const ChannelMessage&)>;

    // At most this many connections are open at once (fewer under a tight
    // descriptor limit, so the card library still finds descriptors for its
    // files); a new one closes the oldest, which has waited longest for its
    // line.
    static constexpr std::size_t kMaxConnections = 16;
    // A connection that brings no complete line for this long is closed.
    static constexpr int kIdleTimeoutMs = 2000;
    // After a failed accept (no descriptor left, ...) listening resumes
    // after this pause rather than spinning or giving up.
    static constexpr int kAcceptRetryMs = 200;

    explicit MessageServer(Handler handler, QObject* parent = nullptr);
    ~MessageServer() override;

    // Listens at the first of ChannelSocketPaths() that works. Call only
    // while holding the single-instance lock: a stale socket file there is
    // removed first. Each failure is said on standard error and in the
    // trace; false when no path works.
    bool Listen();
    // The socket's path while listening.
    const std::string& Path() const { return path_; }

private:
    struct Connection;

    bool ListenAt(const std::string& path, std::string& error);
    void StopListening();
    using ConnectionIt = std::list<Connection>::iterator;

    void OnAcceptable();
    void Accept(int fd);
    void OnReadable(int fd);
    void OnIdle(int fd);
    ConnectionIt Find(int fd);
    // Reads what the connection has and queues its complete lines; false
    // when it has ended or was dropped (and is closed).
    bool Read(ConnectionIt connection);
    void Close(ConnectionIt connection);
    void PostDelivery();
    void Deliver();

    Handler handler_;
    int listenFd_ = -1;
    std::string path_;
    QSocketNotifier* acceptNotifier_ = nullptr;
    std::size_t maxConnections_;
    std::list<Connection> connections_; // oldest first
    // Lines read but not yet handled. Handlers run from the event loop,
    // never inside a read, so a handler's nested wait cannot close the
    // connection its line came from under the reader.
    std::deque<ChannelMessage> pending_;
    bool deliveryPosted_ = false;
};
