#include "support/Trace.h"
#include "tests/device/TraceCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

TEST(Trace, TraceOutCutsAt511Characters) {
    TraceCapture trace;
    TraceOut("%s", std::string(600, 'x').c_str());
    TraceOut("<M> Detect  YES \n");
    EXPECT_EQ((std::vector<std::string>{std::string(511, 'x'), "<M> Detect  YES \n"}),
              trace.Lines());
}

// A stand-in for the debug viewer, listening in the runtime folder set: it
// takes `count` messages, one per connection, and answers each with one
// byte as the real viewer does, or (`answers` false) keeps the connection
// and never answers. Each message is kept as "<user value> <bytes>".
class TestViewer {
public:
    TestViewer(int count, bool answers) {
        fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = trace::ViewerSocketPath();
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        unlink(path.c_str());
        EXPECT_EQ(0, bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address));
        EXPECT_EQ(0, listen(fd_, SOMAXCONN));
        thread_ = std::thread([this, count, answers] {
            for (int i = 0; i < count; ++i) {
                const int client = accept(fd_, nullptr, nullptr);
                std::uint32_t header[2] = {};
                recv(client, header, sizeof header, MSG_WAITALL);
                std::string text(header[1], '\0');
                recv(client, text.data(), text.size(), MSG_WAITALL);
                messages.push_back(std::to_string(header[0]) + " " + text);
                if (answers) {
                    send(client, "\1", 1, MSG_NOSIGNAL);
                }
                clients_.push_back(client);
            }
        });
    }
    ~TestViewer() {
        Join();
        for (int client : clients_) {
            close(client);
        }
        close(fd_);
    }
    // Waits until every message has come.
    void Join() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    std::vector<std::string> messages;

private:
    int fd_ = -1;
    std::thread thread_;
    std::vector<int> clients_;
};

// A viewer that takes lines but never answers costs the caller nothing; one
// that answers gets every line, in order, either way: one message per call,
// user value 0, the count including the terminator, cut at 1023 characters.
TEST(TraceToViewer, NoViewerHoldsTheCallerBackAndLinesArriveInOrder) {
    setenv("XDG_RUNTIME_DIR", "/nonexistent", 1);
    TraceToViewer("2"); // no viewer at all: the line is dropped
    const auto folder =
        std::filesystem::temp_directory_path() / ("skerrin-viewer-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    constexpr int kLines = 40;
    std::vector<std::string> expected{"0 " + std::string(1023, 'y') + '\0'};
    for (int i = 1; i < kLines; ++i) {
        expected.push_back("0 line " + std::to_string(i) + '\0');
    }
    for (const bool answers : {false, true}) {
        TestViewer viewer(kLines, answers);
        const auto start = std::chrono::steady_clock::now();
        TraceToViewer("%s", std::string(2000, 'y').c_str());
        for (int i = 1; i < kLines; ++i) {
            TraceToViewer("line %d", i);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2))
            << "answers " << answers;
        viewer.Join();
        EXPECT_EQ(expected, viewer.messages) << "answers " << answers;
    }
    std::filesystem::remove_all(folder);
    unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
