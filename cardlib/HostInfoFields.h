// HostInfo fields between the caller's record and the card: which mask
// bits the card accepts, what it stores, and what it reports.
#pragma once

#include "cardlib/CardState.h"
#include "cardlib/World.h"
#include "device/tavl.h"

#include <cstdint>

namespace cardsim {

// Bits the card reports but cannot be given: BSSID, signal, link state,
// link quality, firmware version, channel mask.
inline constexpr std::uint32_t kReadOnlyBits = TAVL_MASK_BSSID | TAVL_MASK_RSSI |
                                               TAVL_MASK_LINK_STATE | TAVL_MASK_LINK_QUALITY |
                                               TAVL_MASK_FIRMWARE_VERSION | TAVL_MASK_CHANNEL_MASK;

// Signal reported while not connected, in dBm.
inline constexpr std::int32_t kNoSignalDbm = -100;

// Stores into `settings` each field `mask` names and returns the bits of
// the fields that could not be stored: unknown bits, read-only bits, and
// values out of range (SSID longer than 32, a configuration block whose
// length is not 32 or whose frequency is no channel, a null key or one
// whose lengths or index are wrong, ...). Valid fields are stored even
// when others fail. A key marked as the transmit key selects it.
std::uint32_t StoreHostInfo(const HostInfo& host, std::uint32_t mask, CardSettings& settings);

// What the card reports: its settings, its association and the network of
// the air it is associated with (null for its own cell or none).
struct LiveCard {
    const CardSettings& settings;
    const Association& association;
    const Network* network;
    const World& world;
};

// Fills each field `mask` names from the live card and returns the bits
// that could not be filled (unknown bits). WEP keys are never reported:
// their bits are cleared without touching the key slots.
std::uint32_t FillHostInfo(std::uint32_t mask, const LiveCard& card, HostInfo& host);

// Signal of the association in dBm.
std::int32_t LiveSignal(const LiveCard& card);
// The transmit rate the card uses, in units of 500 kbit/s: the fastest of
// its rates that the signal carries.
std::uint8_t CurrentRate(const CardSettings& settings, std::int32_t signalDbm, bool ownCell);

} // namespace cardsim
