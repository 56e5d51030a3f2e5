// The site survey result in the card's wire layout: a 32-bit entry count
// followed by 104-byte entries (device/tavl.h, TavlSurveyEntry).
#pragma once

#include "cardlib/World.h"
#include "device/tavl.h"

#include <cstdint>
#include <vector>

namespace cardsim {

// One entry: BSSID, SSID (length 0 for a hidden network), privacy, signal,
// direct-sequence configuration with the channel's frequency, mode, rates.
TavlSurveyEntry MakeSurveyEntry(const Network& network);

// The entries of a scan: the networks of the air on channels the card's
// domain allows, in world order.
std::vector<TavlSurveyEntry> ScanAir(const World& world, std::int32_t domain);

} // namespace cardsim
