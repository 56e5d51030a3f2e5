#include "support/Trace.h"

#include "support/RuntimeDir.h"

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sys/socket.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

namespace {

std::atomic<trace::Sink> gSink{nullptr};

bool StderrWanted() {
    static const bool wanted = [] {
        const char* value = std::getenv("SKERRIN_TRACE_STDERR");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return wanted;
}

void OpenSystemLog() {
    static std::once_flag once;
    std::call_once(once, [] { openlog("skerrin", LOG_PID, LOG_USER); });
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        ssize_t sent = send(fd, bytes, size, MSG_NOSIGNAL);
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
    char line[kTraceOutMax + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);

    if (trace::Sink sink = gSink.load()) {
        sink(line);
        return;
    }
    OpenSystemLog();
    syslog(LOG_DEBUG, "%s", line);
    if (StderrWanted()) {
        std::fprintf(stderr, "%s\n", line);
    }
}

void TraceToViewer(const char* format, ...) {
    char line[kTraceViewerMax + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);

    const std::string path = trace::ViewerSocketPath();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return;
    }
    // A viewer that stops answering delays a line by at most this bound.
    timeval bound{trace::kViewerTimeoutMs / 1000, (trace::kViewerTimeoutMs % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &bound, sizeof bound);
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        // The copy-data record: user value 0, byte count with the terminator.
        const std::uint32_t text = static_cast<std::uint32_t>(std::strlen(line)) + 1;
        const std::uint32_t header[2] = {0, text};
        char answer = 0;
        if (WriteAll(fd, header, sizeof header) && WriteAll(fd, line, text)) {
            (void)recv(fd, &answer, 1, 0);
        }
    }
    close(fd);
}

namespace trace {

std::string ViewerSocketPath() {
    return support::RuntimeDirectory() + "/" + kDebugViewerTitle;
}

void SetOutSink(Sink sink) {
    gSink.store(sink);
}

} // namespace trace
