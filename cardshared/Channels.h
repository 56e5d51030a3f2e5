// The 2.4 GHz band as the card knows it: channel frequencies and the
// channels each regulatory domain allows.
#pragma once

#include <cstdint>

namespace cardsim {

inline constexpr std::uint32_t kChannelMin = 1;
inline constexpr std::uint32_t kChannelMax = 14;
inline constexpr std::int32_t kDomainCount = 5; // FCC, ETSI, SPAIN, FRANCE, MKK

// Centre frequency in kHz of channel 1..14 (1 = 2412000, 13 = 2472000,
// 14 = 2484000); 0 for any other number.
std::uint32_t ChannelToKhz(std::uint32_t channel);
// The channel whose centre frequency is exactly `khz`; 0 when none is.
std::uint32_t KhzToChannel(std::uint32_t khz);

// Channels allowed in domain 0..4, bit n-1 for channel n: FCC 1-11,
// ETSI 1-13, SPAIN 10-11, FRANCE 10-13, MKK 1-14. 0 for another domain.
std::uint16_t DomainChannelMask(std::int32_t domain);

inline bool ChannelAllowed(std::uint16_t mask, std::uint32_t channel) {
    return channel >= kChannelMin && channel <= kChannelMax && ((mask >> (channel - 1)) & 1u) != 0;
}

} // namespace cardsim
