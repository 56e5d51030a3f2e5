#include "cardlib/HostInfoFields.h"

#include "cardshared/Channels.h"

#include <algorithm>
#include <cstring>

namespace cardsim {

namespace {

bool ValidRate(std::uint8_t rate) {
    switch (rate & 0x7F) {
    case 2:
    case 4:
    case 11:
    case 22:
    case 12:
    case 18:
    case 24:
    case 36:
    case 48:
    case 72:
    case 96:
    case 108:
        return true;
    default:
        return false;
    }
}

bool ValidRates(const std::uint8_t* rates) {
    bool any = false;
    for (std::size_t i = 0; i < 8; ++i) {
        if (rates[i] != 0) {
            any = true;
            if (!ValidRate(rates[i])) {
                return false;
            }
        }
    }
    return any;
}

// Reads key i of the request; false when it is absent or malformed.
bool ReadKey(const HostInfo& host, int i, WepKey& key, bool& transmit) {
    const WepKeyBuffer* block = TavlGetWepKey(&host, i);
    if (block == nullptr) {
        return false;
    }
    std::uint32_t header[3];
    std::memcpy(header, block, sizeof header);
    const std::uint32_t length = header[0];
    const std::uint32_t index = header[1] & ~TAVL_WEP_TRANSMIT_KEY;
    const std::uint32_t keyLength = header[2];
    if ((keyLength != 5 && keyLength != 13) || length != keyLength + 15 ||
        index != static_cast<std::uint32_t>(i)) {
        return false;
    }
    key = WepKey{};
    key.length = keyLength;
    std::memcpy(key.bytes.data(), reinterpret_cast<const std::uint8_t*>(block) + 12, keyLength);
    transmit = (header[1] & TAVL_WEP_TRANSMIT_KEY) != 0;
    return true;
}

// Stores one word field when `valid`; returns the bit when it failed.
std::uint32_t StoreWord(std::uint32_t mask, std::uint32_t bit, std::uint32_t value, bool valid,
                        std::uint32_t& field) {
    if ((mask & bit) == 0) {
        return 0;
    }
    if (!valid) {
        return bit;
    }
    field = value;
    return 0;
}

} // namespace

std::uint32_t StoreHostInfo(const HostInfo& host, std::uint32_t mask, CardSettings& settings) {
    std::uint32_t failed = (mask & ~TAVL_MASK_KNOWN) | (mask & kReadOnlyBits);
    if ((mask & TAVL_MASK_SSID) != 0) {
        if (host.ssidLength > TAVL_SSID_MAX) {
            failed |= TAVL_MASK_SSID;
        } else {
            settings.ssid.fill(0);
            std::memcpy(settings.ssid.data(), host.ssid, host.ssidLength);
            settings.ssidLength = host.ssidLength;
        }
    }
    if ((mask & TAVL_MASK_CONFIGURATION) != 0) {
        const TavlConfiguration& c = host.configuration;
        if (c.length != sizeof(TavlConfiguration) || KhzToChannel(c.dsConfig) == 0) {
            failed |= TAVL_MASK_CONFIGURATION;
        } else {
            settings.configuration = c;
            settings.gMode = host.GMode; // GMode travels with every apply's radio block
        }
    }
    if ((mask & TAVL_MASK_SUPPORTED_RATES) != 0) {
        if (ValidRates(host.supportedRates)) {
            std::memcpy(settings.supportedRates.data(), host.supportedRates, 8);
        } else {
            failed |= TAVL_MASK_SUPPORTED_RATES;
        }
    }
    failed |= StoreWord(mask, TAVL_MASK_INFRASTRUCTURE, host.infrastructureMode,
                        host.infrastructureMode <= 1, settings.infrastructureMode);
    failed |= StoreWord(mask, TAVL_MASK_POWER_MODE, host.powerMode, host.powerMode <= 2,
                        settings.powerMode);
    failed |=
        StoreWord(mask, TAVL_MASK_FRAG_THRESHOLD, host.fragThreshold,
                  host.fragThreshold >= 256 && host.fragThreshold <= 2346, settings.fragThreshold);
    failed |= StoreWord(mask, TAVL_MASK_RTS_THRESHOLD, host.rtsThreshold, host.rtsThreshold <= 2347,
                        settings.rtsThreshold);
    failed |= StoreWord(mask, TAVL_MASK_WEP_STATUS, host.wepStatus, host.wepStatus <= 1,
                        settings.wepStatus);
    failed |=
        StoreWord(mask, TAVL_MASK_AUTH_MODE, host.authMode, host.authMode <= 2, settings.authMode);
    failed |= StoreWord(mask, TAVL_MASK_PREAMBLE, host.preambleType, host.preambleType <= 2,
                        settings.preambleType);
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t bit = TAVL_MASK_WEP_KEY1 << i;
        if ((mask & bit) == 0) {
            continue;
        }
        WepKey key;
        bool transmit = false;
        if (!ReadKey(host, i, key, transmit)) {
            failed |= bit;
            continue;
        }
        settings.keys[static_cast<std::size_t>(i)] = key;
        if (transmit) {
            settings.transmitKey = static_cast<std::uint32_t>(i);
        }
    }
    return failed;
}

std::int32_t LiveSignal(const LiveCard& card) {
    if (!card.association.connected) {
        return kNoSignalDbm;
    }
    return card.network != nullptr ? card.network->signal : 0;
}

std::uint8_t CurrentRate(const CardSettings& settings, std::int32_t signalDbm, bool ownCell) {
    static constexpr struct {
        std::int32_t dbm;
        std::uint8_t rate;
    } kCarried[] = {{-65, 108}, {-68, 96}, {-71, 72}, {-74, 48}, {-77, 36},
                    {-80, 24},  {-83, 22}, {-86, 11}, {-88, 4}};
    std::uint8_t carried = 2;
    for (const auto& step : kCarried) {
        if (ownCell || signalDbm >= step.dbm) {
            carried = step.rate;
            break;
        }
    }
    std::uint8_t best = 0;
    std::uint8_t lowest = 0;
    for (const std::uint8_t raw : settings.supportedRates) {
        const std::uint8_t rate = raw & 0x7F;
        if (rate == 0) {
            continue;
        }
        if (rate <= carried) {
            best = std::max(best, rate);
        }
        lowest = lowest == 0 ? rate : std::min(lowest, rate);
    }
    return best != 0 ? best : lowest;
}

std::uint32_t FillHostInfo(std::uint32_t mask, const LiveCard& card, HostInfo& host) {
    const CardSettings& s = card.settings;
    const Association& a = card.association;
    if ((mask & TAVL_MASK_BSSID) != 0) {
        std::memcpy(host.bssid, a.connected ? a.bssid.data() : Mac{}.data(), 6);
    }
    if ((mask & TAVL_MASK_SSID) != 0) {
        const std::string_view ssid = a.connected ? std::string_view(a.ssid) : s.Ssid();
        std::memset(host.ssid, 0, sizeof host.ssid);
        std::memcpy(host.ssid, ssid.data(), std::min<std::size_t>(ssid.size(), TAVL_SSID_MAX));
        host.ssidLength = static_cast<std::uint32_t>(std::min<std::size_t>(ssid.size(), 32));
    }
    const std::int32_t signal = LiveSignal(card);
    if ((mask & (TAVL_MASK_RSSI | TAVL_MASK_LINK_QUALITY)) != 0) {
        host.rssi = signal;
    }
    if ((mask & TAVL_MASK_INFRASTRUCTURE) != 0) {
        host.infrastructureMode = s.infrastructureMode;
    }
    if ((mask & TAVL_MASK_CONFIGURATION) != 0) {
        host.configuration = s.configuration;
        if (a.connected) {
            host.configuration.dsConfig = ChannelToKhz(a.channel);
        }
        host.GMode = s.gMode;
    }
    if ((mask & TAVL_MASK_SUPPORTED_RATES) != 0) {
        const std::uint8_t current = CurrentRate(s, signal, a.ownCell);
        std::uint8_t rates[8] = {current};
        std::size_t n = 1;
        for (const std::uint8_t raw : s.supportedRates) {
            if (raw != 0 && (raw & 0x7F) != current && n < 8) {
                rates[n++] = raw & 0x7F;
            }
        }
        std::memcpy(host.supportedRates, rates, 8);
    }
    if ((mask & TAVL_MASK_LINK_STATE) != 0) {
        host.mediaConnectStatus = a.connected ? 0 : 1;
    }
    if ((mask & TAVL_MASK_POWER_MODE) != 0) {
        host.powerMode = s.powerMode;
    }
    if ((mask & TAVL_MASK_FRAG_THRESHOLD) != 0) {
        host.fragThreshold = s.fragThreshold;
    }
    if ((mask & TAVL_MASK_RTS_THRESHOLD) != 0) {
        host.rtsThreshold = s.rtsThreshold;
    }
    if ((mask & TAVL_MASK_WEP_STATUS) != 0) {
        host.wepStatus = s.wepStatus;
    }
    if ((mask & TAVL_MASK_AUTH_MODE) != 0) {
        host.authMode = s.authMode;
    }
    if ((mask & TAVL_MASK_PREAMBLE) != 0) {
        host.preambleType = s.preambleType;
    }
    if ((mask & TAVL_MASK_FIRMWARE_VERSION) != 0) {
        std::memset(host.firmwareVersion, 0, sizeof host.firmwareVersion);
        std::memcpy(host.firmwareVersion, card.world.firmware.data(),
                    std::min(card.world.firmware.size(), sizeof host.firmwareVersion - 1));
    }
    if ((mask & TAVL_MASK_CHANNEL_MASK) != 0) {
        host.channelMask = DomainChannelMask(s.domain);
    }
    return mask & ~TAVL_MASK_KNOWN;
}

} // namespace cardsim
