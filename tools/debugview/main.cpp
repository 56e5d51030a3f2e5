// tolvena-debug-view: the debug viewer "Tolvena Debug View". It listens on
// the viewer's socket in the user's runtime folder and prints every line
// the utility sends to it, in the order it sent them, answering each with
// one byte as a copy-data message is answered.
#include "support/Trace.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnSignal(int) {
    gStop = 1;
}

bool ReadAll(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t got = recv(fd, bytes, size, 0);
        if (got <= 0) {
            return false;
        }
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

// One message: the copy-data record (user value, byte count) and the text.
void Serve(int client) {
    std::uint32_t header[2] = {};
    if (!ReadAll(client, header, sizeof header) || header[1] == 0 ||
        header[1] > kTraceViewerMax + 1) {
        return;
    }
    std::string text(header[1], '\0');
    if (!ReadAll(client, text.data(), text.size())) {
        return;
    }
    text.resize(std::strlen(text.c_str()));
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
    const char answer = 1;
    send(client, &answer, 1, MSG_NOSIGNAL);
}

} // namespace

int main() {
    const std::string path = trace::ViewerSocketPath();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        std::fprintf(stderr, "tolvena-debug-view: socket path too long: %s\n", path.c_str());
        return 1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    unlink(path.c_str());
    const mode_t old = umask(077);
    const bool bound = bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    umask(old);
    // Room for every line a burst queues before they are taken.
    if (!bound || listen(server, SOMAXCONN) != 0) {
        std::fprintf(stderr, "tolvena-debug-view: cannot listen on %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = &OnSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::fprintf(stderr, "%s: listening on %s\n", kDebugViewerTitle, path.c_str());
    while (!gStop) {
        const int client = accept4(server, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            continue;
        }
        Serve(client);
        close(client);
    }
    close(server);
    unlink(path.c_str());
    return 0;
}
