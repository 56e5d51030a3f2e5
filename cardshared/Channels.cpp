#include "cardshared/Channels.h"

namespace cardsim {

std::uint32_t ChannelToKhz(std::uint32_t channel) {
    if (channel == 14) {
        return 2484000;
    }
    if (channel >= kChannelMin && channel <= 13) {
        return 2412000 + 5000 * (channel - 1);
    }
    return 0;
}

std::uint32_t KhzToChannel(std::uint32_t khz) {
    if (khz == 2484000) {
        return 14;
    }
    if (khz >= 2412000 && khz <= 2472000 && (khz - 2412000) % 5000 == 0) {
        return (khz - 2412000) / 5000 + 1;
    }
    return 0;
}

std::uint16_t DomainChannelMask(std::int32_t domain) {
    switch (domain) {
    case 0:
        return 0x07FF; // FCC: 1-11
    case 1:
        return 0x1FFF; // ETSI: 1-13
    case 2:
        return 0x0600; // SPAIN: 10-11
    case 3:
        return 0x1E00; // FRANCE: 10-13
    case 4:
        return 0x3FFF; // MKK: 1-14
    default:
        return 0;
    }
}

} // namespace cardsim
