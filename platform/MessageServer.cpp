#include "platform/MessageServer.h"

#include "support/Trace.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

struct MessageServer::Connection {
    int fd = -1;
    QSocketNotifier* notifier = nullptr; // children of the server
    QTimer* idle = nullptr;
    std::string buffer; // the partial line so far
};

namespace {

bool SameUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

// Says a channel failure where a user and a developer look.
void Report(const std::string& text) {
    std::fprintf(stderr, "skerrin: %s\n", text.c_str());
    TraceOut("%s", text.c_str());
}

} // namespace

namespace {

// Half of the descriptors beyond the utility's own few, at most the cap.
std::size_t ConnectionCap() {
    constexpr rlim_t kOwnDescriptors = 32;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        limit.rlim_cur >= kOwnDescriptors + 2 * MessageServer::kMaxConnections) {
        return MessageServer::kMaxConnections;
    }
    return limit.rlim_cur > kOwnDescriptors + 2 ? (limit.rlim_cur - kOwnDescriptors) / 2 : 1;
}

} // namespace

MessageServer::MessageServer(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)), maxConnections_(ConnectionCap()) {}

MessageServer::~MessageServer() {
    while (!connections_.empty()) {
        Close(connections_.begin());
    }
    StopListening();
}

bool MessageServer::Listen() {
    const std::vector<std::string> paths = ChannelSocketPaths();
    if (paths.empty()) {
        Report("the message channel has no private folder to listen in");
        return false;
    }
    for (const std::string& path : paths) {
        std::string error;
        if (ListenAt(path, error)) {
            if (path != paths.front()) {
                Report("the message channel listens at " + path);
            }
            return true;
        }
        Report("the message channel cannot listen at " + path + ": " + error);
    }
    Report("the message channel is closed; only SIGTERM and SIGINT end the utility");
    return false;
}

bool MessageServer::ListenAt(const std::string& path, std::string& error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        error = "the path is too long for a socket";
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    // Only a socket nobody answers on is stale; anything else at the path
    // stays as it is.
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) {
        const int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        const bool answered =
            ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ||
            errno == EAGAIN;
        close(probe);
        if (answered) {
            error = "another program listens there";
            return false;
        }
        unlink(path.c_str());
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    const mode_t old = umask(077);
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    umask(old);
    if (!bound || listen(fd, SOMAXCONN) != 0) {
        error = std::strerror(errno);
        close(fd);
        return false;
    }
    listenFd_ = fd;
    path_ = path;
    acceptNotifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(acceptNotifier_, &QSocketNotifier::activated, this, &MessageServer::OnAcceptable);
    return true;
}

void MessageServer::StopListening() {
    delete acceptNotifier_;
    acceptNotifier_ = nullptr;
    if (listenFd_ >= 0) {
        close(listenFd_);
        listenFd_ = -1;
    }
}

void MessageServer::OnAcceptable() {
    // A bounded batch per wake-up: a flood of connections cannot keep the
    // event loop here.
    for (int batch = 0; batch < 256; ++batch) {
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            Accept(fd);
            continue;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return;
        }
        if (errno == EINTR || errno == ECONNABORTED) {
            continue;
        }
        // Out of descriptors: the oldest connection makes room. Where none is
        // left to close (or memory is short), listening pauses and resumes.
        const int cause = errno;
        TraceOut("channel: accept failed: %s", std::strerror(cause));
        if ((cause == EMFILE || cause == ENFILE) && !connections_.empty()) {
            Close(connections_.begin());
            continue;
        }
        acceptNotifier_->setEnabled(false);
        QTimer::singleShot(kAcceptRetryMs, this, [this] {
            if (acceptNotifier_ != nullptr) {
                acceptNotifier_->setEnabled(true);
            }
        });
        return;
    }
}

void MessageServer::Accept(int fd) {
    if (!SameUser(fd)) {
        close(fd);
        return;
    }
    if (connections_.size() >= maxConnections_) {
        Close(connections_.begin());
    }
    const ConnectionIt connection = connections_.emplace(connections_.end());
    connection->fd = fd;
    // A sender that has already written its line and gone is done here.
    if (!Read(connection)) {
        return;
    }
    connection->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(connection->notifier, &QSocketNotifier::activated, this,
            [this, fd] { OnReadable(fd); });
    connection->idle = new QTimer(this);
    connection->idle->setSingleShot(true);
    connect(connection->idle, &QTimer::timeout, this, [this, fd] { OnIdle(fd); });
    connection->idle->start(kIdleTimeoutMs);
}

MessageServer::ConnectionIt MessageServer::Find(int fd) {
    for (auto it = connections_.begin(); it != connections_.end(); ++it) {
        if (it->fd == fd) {
            return it;
        }
    }
    return connections_.end();
}

void MessageServer::OnReadable(int fd) {
    if (const ConnectionIt connection = Find(fd); connection != connections_.end()) {
        Read(connection);
    }
}

void MessageServer::OnIdle(int fd) {
    if (const ConnectionIt connection = Find(fd); connection != connections_.end()) {
        TraceOut("channel: a connection without a complete line is closed");
        Close(connection);
    }
}

bool MessageServer::Read(ConnectionIt connection) {
    char chunk[2048];
    bool lines = false;
    for (;;) {
        const ssize_t got = recv(connection->fd, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        }
        if (got <= 0) {
            // The sender is done (or gone); a partial line is not a message.
            Close(connection);
            return false;
        }
        std::string& buffer = connection->buffer;
        buffer.append(chunk, static_cast<std::size_t>(got));
        std::size_t start = 0;
        for (std::size_t end; (end = buffer.find('\n', start)) != std::string::npos;
             start = end + 1) {
            if (auto message =
                    ParseChannelLine(std::string_view(buffer).substr(start, end - start))) {
                pending_.push_back(std::move(*message));
            }
            lines = true;
        }
        buffer.erase(0, start);
        if (buffer.size() > kChannelLineMax) {
            // An overlong line: the sender is not one of ours.
            Close(connection);
            return false;
        }
    }
    if (lines) {
        PostDelivery();
        if (connection->idle != nullptr) {
            connection->idle->start(kIdleTimeoutMs);
        }
    }
    return true;
}

void MessageServer::Close(ConnectionIt connection) {
    // The notifier and the timer may be the very senders being handled:
    // they go once control is back in the event loop.
    if (connection->notifier != nullptr) {
        connection->notifier->setEnabled(false);
        connection->notifier->deleteLater();
    }
    if (connection->idle != nullptr) {
        connection->idle->stop();
        connection->idle->deleteLater();
    }
    close(connection->fd);
    connections_.erase(connection);
    if (!pending_.empty()) {
        PostDelivery();
    }
}

void MessageServer::PostDelivery() {
    if (!deliveryPosted_) {
        deliveryPosted_ = true;
        QTimer::singleShot(0, this, &MessageServer::Deliver);
    }
}

void MessageServer::Deliver() {
    deliveryPosted_ = false;
    // A handler may wait with messages flowing; lines read meanwhile are
    // delivered by the next posted call, in the order they came.
    while (!pending_.empty()) {
        const ChannelMessage message = std::move(pending_.front());
        pending_.pop_front();
        handler_(message);
    }
}
