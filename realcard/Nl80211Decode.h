// Decoders of nl80211 replies: plain functions over the attribute area of
// one generic-netlink message (the bytes after its genlmsghdr), so they are
// tested on captured buffers without a radio. Every decoder takes what is
// there and leaves the rest of its result at its zero value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace realcard {

// NL80211_CMD_GET_INTERFACE.
struct InterfaceInfo {
    std::uint32_t ifindex = 0;
    std::uint32_t wiphy = 0;
    std::uint32_t iftype = 0; // NL80211_IFTYPE_*
    std::array<std::uint8_t, 6> mac{};
    std::string ssid;          // while associated or in a cell
    std::uint32_t freqMhz = 0; // of the operating channel, 0 when none
};
bool DecodeInterface(const void* attrs, std::size_t length, InterfaceInfo& info);

// NL80211_CMD_GET_STATION.
struct StationInfo {
    std::array<std::uint8_t, 6> mac{};
    bool hasSignal = false;
    std::int32_t signalDbm = 0;
    std::uint32_t txBitrate100k = 0; // units of 100 kbit/s, 0 when unknown
};
bool DecodeStation(const void* attrs, std::size_t length, StationInfo& info);

// One entry of the NL80211_CMD_GET_SCAN dump.
struct ScanBss {
    std::array<std::uint8_t, 6> bssid{};
    std::string ssid;
    std::uint16_t capability = 0; // bit 0 ESS, bit 1 IBSS, bit 4 privacy
    std::uint16_t beaconInterval = 0;
    std::uint32_t freqMhz = 0;
    std::int32_t signalDbm = 0;
    std::uint64_t lastSeenBoottimeNs = 0; // 0 when the kernel gave none
    std::uint32_t status = 0;             // 1 associated, 2 ad hoc cell joined, else 0
    bool hasStatus = false;
    std::array<std::uint8_t, 8> rates{}; // 500 kbit/s units, basic-rate bit kept
};
bool DecodeScanEntry(const void* attrs, std::size_t length, ScanBss& bss);

// The SSID (element 0) and the first eight rates (elements 1 and 50) of an
// information-element list; elements running past the end are ignored.
void DecodeElements(const std::uint8_t* ies, std::size_t length, std::string& ssid,
                    std::array<std::uint8_t, 8>& rates);

// NL80211_CMD_GET_WIPHY (possibly split over several messages: call once
// per message with the same record).
struct WiphyInfo {
    std::uint16_t enabledChannels = 0; // 2.4 GHz channels the radio may use, bit n-1 = n
    bool hasRts = false;
    std::uint32_t rtsThreshold = 0; // (u32)-1: off
    bool hasFrag = false;
    std::uint32_t fragThreshold = 0; // (u32)-1: off
};
void DecodeWiphy(const void* attrs, std::size_t length, WiphyInfo& info);

// NL80211_CMD_GET_POWER_SAVE: true when power saving is on.
bool DecodePowerSave(const void* attrs, std::size_t length, bool& enabled);

} // namespace realcard
