// The nl80211 requests the library makes, over one generic-netlink socket
// per call (the library is called from two threads; a socket each keeps
// their replies apart). Reads need no privileges; the threshold write needs
// CAP_NET_ADMIN and fails cleanly without it.
#pragma once

#include "realcard/Nl80211Decode.h"

#include <cstdint>
#include <vector>

namespace realcard {

bool GetInterface(std::uint32_t ifindex, InterfaceInfo& info);
// The station the interface is associated with (infrastructure mode).
bool GetStation(std::uint32_t ifindex, const std::array<std::uint8_t, 6>& bssid, StationInfo& info);
bool GetScan(std::uint32_t ifindex, std::vector<ScanBss>& entries);
bool GetWiphy(std::uint32_t wiphy, WiphyInfo& info);
bool GetPowerSave(std::uint32_t ifindex, bool& enabled);
// NL80211_CMD_SET_WIPHY with the RTS and fragmentation thresholds
// ((u32)-1 = off); false without the rights or when the radio refuses.
bool SetThresholds(std::uint32_t wiphy, std::uint32_t rts, std::uint32_t frag);

} // namespace realcard
