#include "support/Trace.h"

#include "support/RuntimeDir.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <sys/socket.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::atomic<trace::Sink> gSink{nullptr};

bool Wanted(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && std::strcmp(value, "1") == 0;
}

bool StderrWanted() {
    static const bool wanted = Wanted("SKERRIN_TRACE_STDERR");
    return wanted;
}

// The system log's socket, connected once. The daemon stamps the time, so
// no line reads the time zone; without a log socket the copy stays off for
// the run instead of being retried line by line.
class SystemLog {
public:
    static SystemLog& Instance() {
        static SystemLog log;
        return log;
    }
    bool Wanted() const { return wanted_; }

    void Send(const char* line) {
        std::lock_guard lock(mutex_);
        if (fd_ < 0) {
            return;
        }
        // Priority: user facility (1) * 8 + debug (7).
        char message[kTraceOutMax + 64];
        const int size = std::snprintf(message, sizeof message, "<15>skerrin[%d]: %s",
                                       static_cast<int>(getpid()), line);
        const std::size_t length =
            std::min(static_cast<std::size_t>(size < 0 ? 0 : size), sizeof message - 1);
        if (send(fd_, message, length, MSG_NOSIGNAL | MSG_DONTWAIT) < 0 && errno != EAGAIN &&
            !reconnected_) {
            // The daemon restarted: connect once more, then give up quietly.
            reconnected_ = true;
            close(fd_);
            fd_ = Connect();
            if (fd_ >= 0) {
                send(fd_, message, length, MSG_NOSIGNAL | MSG_DONTWAIT);
            }
        }
    }

private:
    SystemLog() : wanted_(::Wanted("SKERRIN_TRACE_SYSLOG")) {
        if (wanted_) {
            fd_ = Connect();
        }
    }
    static int Connect() {
        const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, "/dev/log");
        if (fd >= 0 &&
            connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            close(fd);
            return -1;
        }
        return fd;
    }

    const bool wanted_;
    std::mutex mutex_;
    int fd_ = -1;
    bool reconnected_ = false;
};

// Writes what fits into the socket's buffer now; false when not all of it.
bool WriteNow(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t sent = send(fd, bytes, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent <= 0) {
            return false;
        }
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

} // namespace

void TraceOut(const char* format, ...) {
    const trace::Sink sink = gSink.load();
    SystemLog& log = SystemLog::Instance();
    if (sink == nullptr && !StderrWanted() && !log.Wanted()) {
        return; // nobody listens: not even formatted
    }
    char line[kTraceOutMax + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);

    if (sink != nullptr) {
        sink(line);
        return;
    }
    if (log.Wanted()) {
        log.Send(line);
    }
    if (StderrWanted()) {
        std::fprintf(stderr, "%s\n", line);
    }
}

void TraceToViewer(const char* format, ...) {
    const std::string path = trace::ViewerSocketPath();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return;
    }
    // The viewer takes connections in the order they were made, so lines
    // arrive in order without waiting for its answers. Only a full queue of
    // untaken lines is waited out, briefly.
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            break;
        }
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long waited =
            (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
        if (errno != EAGAIN || waited >= trace::kViewerQueueWaitMs) {
            close(fd); // no viewer, or one that takes nothing: the line is dropped
            return;
        }
        usleep(500);
    }
    char line[kTraceViewerMax + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    // The copy-data record: user value 0, byte count with the terminator.
    const std::uint32_t text = static_cast<std::uint32_t>(std::strlen(line)) + 1;
    const std::uint32_t header[2] = {0, text};
    if (WriteNow(fd, header, sizeof header)) {
        WriteNow(fd, line, text);
    }
    close(fd);
}

namespace trace {

std::string ViewerSocketPath() {
    const std::string folder = support::RuntimeDirectory();
    return folder.empty() ? std::string() : folder + "/" + kDebugViewerTitle;
}

void SetOutSink(Sink sink) {
    gSink.store(sink);
}

} // namespace trace
