// The site survey result in the card's wire layout: a 32-bit entry count
// followed by 104-byte entries (device/tavl.h, TavlSurveyEntry).
#pragma once

#include "device/tavl.h"

#include <cstdint>
#include <vector>

namespace cardsim {

// Writes the count of `entries` and as many whole entries as fit in `size`
// bytes. False, with nothing written, when `size` holds no whole entry.
bool WriteSurvey(const std::vector<TavlSurveyEntry>& entries, std::uint8_t* buffer,
                 std::uint32_t size);

} // namespace cardsim
