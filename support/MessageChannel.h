// The utility's message channel: a per-user local socket through which
// other programs send it one text line per message (ELEGANT_CLOSE, and the
// device and power broadcasts that tavlsim delivers).
//
// Lines, each ended by "\n", at most kChannelLineMax bytes:
//   ELEGANT_CLOSE
//   DEVICE_ARRIVAL <identifier>          (device arrival, 0x8000)
//   DEVICE_REMOVECOMPLETE <identifier>   (device removal complete, 0x8004)
//   DEVNODES_CHANGED                     (device nodes changed, 7)
//   POWER <code>                         (power broadcast, decimal code)
//   COMMAND <id>                         (a tray menu command: 2001 hide the
//                                         sheet, 2002 show it, 2004 exit)
// Anything else is ignored by the utility.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr const char* kChannelFileName = "Corvane LK2093 - 11G Wireless PCI card.channel";
inline constexpr std::size_t kChannelLineMax = 1024;

// Device-change events and their codes.
inline constexpr std::uint32_t kDbtDevNodesChanged = 0x0007;
inline constexpr std::uint32_t kDbtDeviceArrival = 0x8000;
inline constexpr std::uint32_t kDbtDeviceRemoveComplete = 0x8004;

struct ChannelMessage {
    enum class Kind { ElegantClose, DeviceChange, Power, Command };
    Kind kind = Kind::ElegantClose;
    std::uint32_t code = 0; // device event, power code or command id
    std::string identifier; // device instance identifier, as sent
};

// Full path of the channel's socket in the user's runtime folder.
std::string ChannelSocketPath();

// The message of one line (without its "\n"), or nothing for an unknown,
// malformed or overlong line.
std::optional<ChannelMessage> ParseChannelLine(std::string_view line);

// The line (with "\n") that carries a message.
std::string FormatChannelLine(const ChannelMessage& message);

// Connects to a running utility's channel and sends one line. False when no
// utility listens (the world may still change without one).
bool SendChannelLine(const std::string& line);
