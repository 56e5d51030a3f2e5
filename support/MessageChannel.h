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
//   SECOND_START                         (the utility was started again; a
//                                         utility without a notification
//                                         area shows its sheet)
// Anything else is ignored by the utility.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* kChannelFileName = "Corvane LK2093 - 11G Wireless PCI card.channel";
// The socket's name in the shorter private folder, where the runtime
// folder's path is too long for a socket or the usual name is unusable.
inline constexpr const char* kChannelShortFileName = "skerrin.channel";
inline constexpr std::size_t kChannelLineMax = 1024;

// Device-change events and their codes.
inline constexpr std::uint32_t kDbtDevNodesChanged = 0x0007;
inline constexpr std::uint32_t kDbtDeviceArrival = 0x8000;
inline constexpr std::uint32_t kDbtDeviceRemoveComplete = 0x8004;

struct ChannelMessage {
    enum class Kind { ElegantClose, DeviceChange, Power, Command, SecondStart };
    Kind kind = Kind::ElegantClose;
    std::uint32_t code = 0; // device event, power code or command id
    std::string identifier; // device instance identifier, as sent
};

// Where the channel's socket may be, in the order the utility tries to
// listen and senders try to connect: the user's runtime folder (which may
// be too long for a socket address), then a shorter private folder that
// fits one. Empty when this user has no private folder.
std::vector<std::string> ChannelSocketPaths();

// The message of one line (without its "\n"), or nothing for an unknown,
// malformed or overlong line.
std::optional<ChannelMessage> ParseChannelLine(std::string_view line);

// The line (with "\n") that carries a message.
std::string FormatChannelLine(const ChannelMessage& message);

// A socket connected to a running utility's channel (the first path of
// ChannelSocketPaths() that answers), or -1 when none answers.
int ConnectChannel();

// Connects to a running utility's channel and sends one line. False when no
// utility listens (the world may still change without one).
bool SendChannelLine(const std::string& line);
