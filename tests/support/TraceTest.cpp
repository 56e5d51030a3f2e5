#include "support/Trace.h"

#include <gtest/gtest.h>

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

std::vector<std::string>* gLines = nullptr;
void Capture(const char* line) {
    gLines->push_back(line);
}

TEST(Trace, TraceOutCutsAt511Characters) {
    std::vector<std::string> lines;
    gLines = &lines;
    trace::SetOutSink(&Capture);
    const std::string longText(600, 'x');
    TraceOut("%s", longText.c_str());
    TraceOut("<M> Detect  YES \n");
    trace::SetOutSink(nullptr);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(std::string(511, 'x'), lines[0]);
    EXPECT_EQ("<M> Detect  YES \n", lines[1]);
}

// A stand-in for the debug viewer: takes one message per connection and
// answers with one byte, as the real viewer does.
class TestViewer {
public:
    explicit TestViewer(int messages) {
        const std::string path = trace::ViewerSocketPath();
        fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path.c_str());
        unlink(path.c_str());
        EXPECT_EQ(0, bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address));
        EXPECT_EQ(0, listen(fd_, 4));
        thread_ = std::thread([this, messages] {
            for (int i = 0; i < messages; ++i) {
                int client = accept(fd_, nullptr, nullptr);
                std::uint32_t header[2] = {};
                recv(client, header, sizeof header, MSG_WAITALL);
                std::string text(header[1], '\0');
                recv(client, text.data(), text.size(), MSG_WAITALL);
                users_.push_back(header[0]);
                counts_.push_back(header[1]);
                texts_.push_back(text);
                const char answer = 1;
                send(client, &answer, 1, MSG_NOSIGNAL);
                close(client);
            }
        });
    }
    ~TestViewer() {
        Join();
        close(fd_);
        unlink(trace::ViewerSocketPath().c_str());
    }
    void Join() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    std::vector<std::uint32_t> users_, counts_;
    std::vector<std::string> texts_;

private:
    int fd_ = -1;
    std::thread thread_;
};

class TraceViewer : public testing::Test {
protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() / ("skerrin-trace-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(TraceViewer, WithoutViewerTheLineIsDropped) {
    TraceToViewer("2"); // returns: nothing listens, nothing waits
    SUCCEED();
}

TEST_F(TraceViewer, ViewerGetsOneMessagePerCallWithCountAndUserValue) {
    TestViewer viewer(2);
    TraceToViewer("2");
    TraceToViewer("%s", std::string(2000, 'y').c_str());
    viewer.Join();

    ASSERT_EQ(2u, viewer.counts_.size());
    EXPECT_EQ((std::vector<std::uint32_t>{0, 0}), viewer.users_);
    EXPECT_EQ(2u, viewer.counts_[0]); // "2" and its terminator
    EXPECT_EQ(std::string("2\0", 2), viewer.texts_[0]);
    EXPECT_EQ(1024u, viewer.counts_[1]); // cut at 1023 characters
    EXPECT_EQ(std::string(1023, 'y') + '\0', viewer.texts_[1]);
}

} // namespace
