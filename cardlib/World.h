// The simulated world: the card in its slot and the networks in the air.
// Kept in the world file, an INI file below the world folder, which tavlsim
// edits and the library re-reads when it changes (cardlib/README.md).
#pragma once

#include "cardshared/Text.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cardsim {

// The card's device instance identifier, as TAVL_Detect reports it and as
// tavlsim names the card in device broadcasts.
inline constexpr const char* kCardInstanceId =
    "PCI\\VEN_1A2B&DEV_2093&SUBSYS_20931A2B&REV_01\\4&2C1F0A3&0&28F0";

enum class NetMode { Infrastructure, AdHoc };
enum class WepLevel { Off, Wep64, Wep128 };

// Key length in bytes of a WEP level: 0, 5 or 13.
std::uint32_t WepKeyLength(WepLevel level);

struct Network {
    std::string ssid; // 1..32 bytes
    Mac bssid{};
    std::uint32_t channel = 1; // 1..14
    std::int32_t signal = -60; // dBm, -120..0
    NetMode mode = NetMode::Infrastructure;
    WepLevel wep = WepLevel::Off;
    // The four keys; each as long as the level asks (zero bytes when the
    // file gives none), empty while WEP is off.
    std::array<std::vector<std::uint8_t>, 4> keys;
    bool hidden = false; // the beacon carries no SSID
};

// Which card calls a mask failure applies to.
enum class FailCalls { Both, Get, Set };

struct FailureSetting {
    std::uint32_t mask = 0; // TAVL_GetWLANConfig/TAVL_SetWLANConfig bits that fail
    std::int64_t count = 0; // calls naming one of those bits that fail; -1: every one
    FailCalls calls = FailCalls::Both;
    bool query = false;       // TAVL_QueryOID fails
    bool detect = false;      // TAVL_Detect answers "no card"
    std::uint64_t serial = 0; // changes with every new mask setting
};

struct World {
    bool present = true;     // the card is in its slot
    bool suspended = false;  // the machine sleeps: the card does not answer
    bool netservice = false; // the desktop's network service manages the card
    std::string firmware = "1.8.0.31";
    std::array<std::uint32_t, 4> driverVersion{2, 3, 1, 58};
    Mac mac{0x00, 0x0C, 0x2B, 0x20, 0x93, 0x01};
    std::uint32_t scanMs = 800; // time a survey takes
    FailureSetting fail;
    std::vector<Network> networks;
};

inline constexpr std::size_t kMaxNetworks = 4096;

// Two access points (one with 64-bit WEP) and one ad hoc cell, on
// different channels and signal levels.
World DefaultWorld();

// Checks one network's fields; `error` says which is wrong.
bool CheckNetwork(const Network& network, std::string& error);

// Reads a world file. Any unknown section or key, or a value out of range,
// fails with `error` naming the line.
bool ParseWorld(std::string_view text, World& world, std::string& error);
std::string FormatWorld(const World& world);

// Text forms used in the world file and by tavlsim.
std::string_view NetModeName(NetMode mode); // "infrastructure", "adhoc"
bool ParseNetMode(std::string_view text, NetMode& mode);
std::string_view WepLevelName(WepLevel level); // "off", "64", "128"
bool ParseWepLevel(std::string_view text, WepLevel& level);
std::string_view FailCallsName(FailCalls calls); // "both", "get", "set"
bool ParseFailCalls(std::string_view text, FailCalls& calls);

// Sets one network field from its world-file key and text ("ssid",
// "bssid", "channel", "signal", "mode", "wep", "key1".."key4", "hidden").
// Key lengths are checked against the WEP level by CheckNetwork.
bool SetNetworkField(Network& network, std::string_view key, std::string_view value,
                     std::string& error);
// Gives every key the level's length: missing keys become zero bytes.
void FitNetworkKeys(Network& network);

} // namespace cardsim
