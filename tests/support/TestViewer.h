// A stand-in for the debug viewer, listening in a runtime folder of its
// own: it takes one message per connection and answers with one byte, as
// the real viewer does, or (`answers` false) keeps the connection and never
// answers.
#pragma once

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

class TestViewer {
public:
    // Takes `messages` messages, then stops listening.
    explicit TestViewer(int messages, bool answers = true) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        oldRuntime_ = runtime != nullptr ? runtime : "";
        dir_ =
            std::filesystem::temp_directory_path() / ("skerrin-viewer-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
        sockaddr_un address{AF_UNIX, {}};
        std::strncpy(address.sun_path, trace::ViewerSocketPath().c_str(),
                     sizeof address.sun_path - 1);
        unlink(address.sun_path);
        fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        EXPECT_EQ(0, bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address));
        EXPECT_EQ(0, listen(fd_, SOMAXCONN));
        thread_ = std::thread([this, messages, answers] {
            for (int i = 0; i < messages; ++i) {
                const int client = accept(fd_, nullptr, nullptr);
                std::uint32_t header[2] = {};
                recv(client, header, sizeof header, MSG_WAITALL);
                std::string text(header[1], '\0');
                recv(client, text.data(), text.size(), MSG_WAITALL);
                users.push_back(header[0]);
                texts.push_back(text);
                if (answers) {
                    send(client, "\1", 1, MSG_NOSIGNAL);
                }
                clients_.push_back(client);
            }
        });
    }
    ~TestViewer() {
        Join();
        for (int fd : clients_) {
            close(fd);
        }
        close(fd_);
        std::filesystem::remove_all(dir_);
        oldRuntime_.empty() ? unsetenv("XDG_RUNTIME_DIR")
                            : setenv("XDG_RUNTIME_DIR", oldRuntime_.c_str(), 1);
    }
    // Waits until every message has come.
    void Join() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    // Per message: the user value and the bytes, with the terminator the
    // message's count includes.
    std::vector<std::uint32_t> users;
    std::vector<std::string> texts;

private:
    std::filesystem::path dir_;
    std::string oldRuntime_;
    int fd_ = -1;
    std::thread thread_;
    std::vector<int> clients_;
};
