#include "realcard/HostFields.h"

#include "cardshared/Channels.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace realcard {

namespace {

constexpr std::uint32_t kReadOnly = TAVL_MASK_BSSID | TAVL_MASK_RSSI | TAVL_MASK_LINK_STATE |
                                    TAVL_MASK_LINK_QUALITY | TAVL_MASK_FIRMWARE_VERSION |
                                    TAVL_MASK_CHANNEL_MASK;
constexpr std::uint32_t kIgnored = TAVL_MASK_RESERVED_08 | TAVL_MASK_RESERVED_40000;
// The automatic transfer rate: no restriction of the radio's own choice.
constexpr std::uint8_t kAutoRates[8] = {108, 96, 72, 48, 36, 24, 22, 18};

bool ValidRate(std::uint8_t raw) {
    static constexpr std::uint8_t kRates[] = {2, 4, 11, 12, 18, 22, 24, 36, 48, 72, 96, 108};
    return std::find(std::begin(kRates), std::end(kRates), raw & 0x7F) != std::end(kRates);
}

bool ValidRates(const std::uint8_t* rates) {
    bool any = false;
    for (int i = 0; i < 8; ++i) {
        if (rates[i] != 0) {
            any = true;
            if (!ValidRate(rates[i])) {
                return false;
            }
        }
    }
    return any;
}

// A WEP key block the way the interface defines it; its key index must be
// the slot's.
bool TakeKey(const WepKeyBuffer* key, int slot, std::vector<std::uint8_t>& bytes, bool& transmit) {
    if (key == nullptr || (key->keyLength != 5 && key->keyLength != 13) ||
        key->length != key->keyLength + 15 ||
        (key->keyIndex & ~TAVL_WEP_TRANSMIT_KEY) != static_cast<std::uint32_t>(slot)) {
        return false;
    }
    bytes.assign(key->keyMaterial, key->keyMaterial + key->keyLength);
    transmit = (key->keyIndex & TAVL_WEP_TRANSMIT_KEY) != 0;
    return true;
}

} // namespace

std::uint32_t ThresholdOrOff(bool known, std::uint32_t value, std::uint32_t off,
                             std::uint32_t wanted) {
    if (!known) {
        return wanted;
    }
    return value == kThresholdOff || value > off ? off : value;
}

std::uint32_t TakeFields(std::uint32_t mask, const HostInfo& host, Wanted& wanted) {
    std::uint32_t failed = mask & (~TAVL_MASK_KNOWN | kReadOnly);
    Wanted next = wanted;
    auto check = [&](std::uint32_t bit, bool valid) {
        if ((mask & bit) && !valid) {
            failed |= bit;
        }
        return (mask & bit) && valid;
    };
    if (check(TAVL_MASK_SSID, host.ssidLength <= TAVL_SSID_MAX)) {
        next.ssid.assign(reinterpret_cast<const char*>(host.ssid), host.ssidLength);
    }
    if (check(TAVL_MASK_INFRASTRUCTURE, host.infrastructureMode <= 1)) {
        next.infrastructure = host.infrastructureMode;
    }
    const std::uint32_t channel = cardsim::KhzToChannel(host.configuration.dsConfig);
    if (check(TAVL_MASK_CONFIGURATION, host.configuration.length == 32 && channel != 0)) {
        next.channel = channel;
        next.gMode = host.GMode;
    }
    for (int i = 0; i < 4; ++i) {
        std::vector<std::uint8_t> bytes;
        bool transmit = false;
        if (check(TAVL_MASK_WEP_KEY1 << i, TakeKey(TavlGetWepKey(&host, i), i, bytes, transmit))) {
            next.keys[static_cast<std::size_t>(i)] = bytes;
            if (transmit) {
                next.txKey = static_cast<std::uint32_t>(i);
            }
        }
    }
    if (check(TAVL_MASK_WEP_STATUS, host.wepStatus <= 1)) {
        next.wepDisabled = host.wepStatus;
    }
    if (check(TAVL_MASK_AUTH_MODE, host.authMode <= 2)) {
        next.authMode = host.authMode;
    }
    if (check(TAVL_MASK_POWER_MODE, host.powerMode <= 2)) {
        next.powerMode = host.powerMode;
    }
    if (check(TAVL_MASK_FRAG_THRESHOLD,
              host.fragThreshold >= 256 && host.fragThreshold <= kFragOff)) {
        next.fragThreshold = host.fragThreshold;
    }
    if (check(TAVL_MASK_RTS_THRESHOLD, host.rtsThreshold <= kRtsOff)) {
        next.rtsThreshold = host.rtsThreshold;
    }
    if (check(TAVL_MASK_SUPPORTED_RATES, ValidRates(host.supportedRates))) {
        std::memcpy(next.rates, host.supportedRates, 8);
    }
    if (check(TAVL_MASK_PREAMBLE, host.preambleType <= 2)) {
        next.preamble = host.preambleType;
    }
    wanted = next;
    return failed & ~kIgnored;
}

std::uint32_t FieldsTheRadioSetsItself(std::uint32_t asked, const Wanted& next) {
    std::uint32_t failed = 0;
    // No supplicant command restricts the rates, selects the preamble or
    // turns 802.11g off: only what the radio does on its own succeeds.
    if ((asked & TAVL_MASK_SUPPORTED_RATES) && std::memcmp(next.rates, kAutoRates, 8) != 0) {
        failed |= TAVL_MASK_SUPPORTED_RATES;
    }
    if ((asked & TAVL_MASK_PREAMBLE) && next.preamble == 0) {
        failed |= TAVL_MASK_PREAMBLE;
    }
    if ((asked & TAVL_MASK_CONFIGURATION) && next.gMode == 0) {
        failed |= TAVL_MASK_CONFIGURATION;
    }
    return failed;
}

} // namespace realcard
