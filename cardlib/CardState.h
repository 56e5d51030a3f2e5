// What the card holds: the settings it was given, its association and its
// frame counters. Kept in memory and in the status file below the world
// folder, so the card keeps its settings across removal, insertion and
// restarts of the utility, and tavlsim can show them.
#pragma once

#include "cardlib/World.h"
#include "device/tavl.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace cardsim {

struct WepKey {
    std::uint32_t length = 0; // 0 (none), 5 or 13
    std::array<std::uint8_t, 13> bytes{};
};

// The settings of HostInfo the card keeps, in HostInfo's terms.
struct CardSettings {
    std::uint32_t infrastructureMode = 1;
    std::uint32_t ssidLength = 3;
    std::array<std::uint8_t, 32> ssid{'a', 'n', 'y'};
    TavlConfiguration configuration{32, 100, 0, 2437000, 16, 0, 0, 0};
    std::uint32_t wepStatus = 1; // 0 enabled, 1 disabled
    std::array<WepKey, 4> keys{};
    std::uint32_t transmitKey = 0; // index of the key marked for transmitting
    std::uint32_t authMode = 0;
    std::uint32_t powerMode = 0;
    std::uint32_t fragThreshold = 2346;
    std::uint32_t rtsThreshold = 2347;
    std::uint32_t preambleType = 0;
    std::uint32_t gMode = 1;
    std::array<std::uint8_t, 8> supportedRates{108, 96, 72, 48, 36, 24, 22, 18};
    std::int32_t domain = 0;

    std::string_view Ssid() const {
        return {reinterpret_cast<const char*>(ssid.data()), ssidLength};
    }
    // The channel of the configuration block, 0 when it names none.
    std::uint32_t Channel() const;
};

struct Association {
    bool connected = false;
    bool ownCell = false; // an ad hoc cell the card started itself
    Mac bssid{};
    std::string ssid;
    std::uint32_t channel = 0;
    NetMode mode = NetMode::Infrastructure;
    std::uint64_t sinceMs = 0; // wall clock, ms
};

struct CardState {
    CardSettings settings;
    Association association;
    std::uint64_t txBase = 0; // frames counted before the current association
    std::uint64_t rxBase = 0;
    std::uint64_t failSerial = 0; // failure setting whose calls are counted
    std::int64_t failUsed = 0;    // calls failed by it so far
    std::string profileRoot;      // below the world folder, '/' separated
};

// Milliseconds of the wall clock: the status file is read by other
// processes, so times in it must mean the same to them.
std::uint64_t WallClockMs();

// Frames sent and received so far: the counters grow while connected.
std::uint64_t TxFrames(const CardState& state, std::uint64_t nowMs);
std::uint64_t RxFrames(const CardState& state, std::uint64_t nowMs);
// Ends the association, keeping what the counters reached.
void Disconnect(CardState& state, std::uint64_t nowMs);

std::string FormatStatus(const CardState& state, std::uint64_t nowMs);
// Reads a status file; fields it lacks keep the values of `state`.
bool ParseStatus(std::string_view text, CardState& state, std::string& error);

} // namespace cardsim
