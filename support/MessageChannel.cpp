#include "support/MessageChannel.h"

#include "support/RuntimeDir.h"

#include <charconv>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr std::string_view kElegantClose = "ELEGANT_CLOSE";
constexpr std::string_view kArrival = "DEVICE_ARRIVAL ";
constexpr std::string_view kRemoval = "DEVICE_REMOVECOMPLETE ";
constexpr std::string_view kNodesChanged = "DEVNODES_CHANGED";
constexpr std::string_view kPower = "POWER ";
constexpr std::string_view kCommand = "COMMAND ";
constexpr std::string_view kSecondStart = "SECOND_START";

// A decimal number that is the whole of `digits`.
std::optional<std::uint32_t> Number(std::string_view digits) {
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::vector<std::string> ChannelSocketPaths() {
    constexpr std::size_t kMax = sizeof(sockaddr_un::sun_path) - 1;
    std::vector<std::string> paths;
    if (const std::string runtime = support::RuntimeDirectory(); !runtime.empty()) {
        paths.push_back(runtime + "/" + kChannelFileName);
    }
    const std::size_t shortName = std::strlen(kChannelShortFileName) + 1;
    if (const std::string folder = support::PrivateTempFolder(kMax - shortName); !folder.empty()) {
        paths.push_back(folder + "/" + kChannelShortFileName);
    }
    return paths;
}

std::optional<ChannelMessage> ParseChannelLine(std::string_view line) {
    if (line.size() > kChannelLineMax) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    ChannelMessage message;
    if (line == kElegantClose) {
        message.kind = ChannelMessage::Kind::ElegantClose;
        return message;
    }
    if (line == kSecondStart) {
        message.kind = ChannelMessage::Kind::SecondStart;
        return message;
    }
    if (line == kNodesChanged) {
        message.kind = ChannelMessage::Kind::DeviceChange;
        message.code = kDbtDevNodesChanged;
        return message;
    }
    for (auto [prefix, code] :
         {std::pair{kArrival, kDbtDeviceArrival}, std::pair{kRemoval, kDbtDeviceRemoveComplete}}) {
        if (line.substr(0, prefix.size()) == prefix) {
            message.kind = ChannelMessage::Kind::DeviceChange;
            message.code = code;
            message.identifier = std::string(line.substr(prefix.size()));
            if (message.identifier.find('\0') != std::string::npos) {
                return std::nullopt;
            }
            return message;
        }
    }
    for (auto [prefix, kind] : {std::pair{kPower, ChannelMessage::Kind::Power},
                                std::pair{kCommand, ChannelMessage::Kind::Command}}) {
        if (line.substr(0, prefix.size()) == prefix) {
            const auto number = Number(line.substr(prefix.size()));
            if (!number) {
                return std::nullopt;
            }
            message.kind = kind;
            message.code = *number;
            return message;
        }
    }
    return std::nullopt;
}

std::string FormatChannelLine(const ChannelMessage& message) {
    switch (message.kind) {
    case ChannelMessage::Kind::ElegantClose:
        return std::string(kElegantClose) + "\n";
    case ChannelMessage::Kind::Power:
        return std::string(kPower) + std::to_string(message.code) + "\n";
    case ChannelMessage::Kind::Command:
        return std::string(kCommand) + std::to_string(message.code) + "\n";
    case ChannelMessage::Kind::SecondStart:
        return std::string(kSecondStart) + "\n";
    case ChannelMessage::Kind::DeviceChange:
        if (message.code == kDbtDeviceArrival) {
            return std::string(kArrival) + message.identifier + "\n";
        }
        if (message.code == kDbtDeviceRemoveComplete) {
            return std::string(kRemoval) + message.identifier + "\n";
        }
        return std::string(kNodesChanged) + "\n";
    }
    return {};
}

int ConnectChannel() {
    for (const std::string& path : ChannelSocketPaths()) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.size() >= sizeof address.sun_path) {
            continue;
        }
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return -1;
        }
        if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            return fd;
        }
        close(fd);
    }
    return -1;
}

bool SendChannelLine(const std::string& line) {
    const int fd = ConnectChannel();
    if (fd < 0) {
        return false;
    }
    const bool sent =
        send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
    close(fd);
    return sent;
}
