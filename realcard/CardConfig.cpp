// The live configuration: HostInfo fields read from the radio, and written
// by remembering them and applying what the supplicant (or, with the
// rights, nl80211) can apply. A field that cannot be applied keeps its bit
// in the returned mask, as the interface defines for failed fields.
#include "realcard/Card.h"

#include "cardshared/Channels.h"
#include "realcard/Interface.h"
#include "realcard/Nl80211.h"

#include <algorithm>
#include <cstring>
#include <linux/nl80211.h>

namespace realcard {

namespace {

constexpr std::uint32_t kReadOnly = TAVL_MASK_BSSID | TAVL_MASK_RSSI | TAVL_MASK_LINK_STATE |
                                    TAVL_MASK_LINK_QUALITY | TAVL_MASK_FIRMWARE_VERSION |
                                    TAVL_MASK_CHANNEL_MASK;
constexpr std::uint32_t kIgnored = TAVL_MASK_RESERVED_08 | TAVL_MASK_RESERVED_40000;
// Fields whose change means joining again.
constexpr std::uint32_t kJoinFields = TAVL_MASK_SSID | TAVL_MASK_INFRASTRUCTURE |
                                      TAVL_MASK_CONFIGURATION | TAVL_MASK_WEP_KEYS |
                                      TAVL_MASK_WEP_STATUS | TAVL_MASK_AUTH_MODE;
constexpr std::uint32_t kThresholdOff = 0xFFFFFFFFu;
constexpr std::uint32_t kFragOff = 2346;
constexpr std::uint32_t kRtsOff = 2347;
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

std::uint32_t ThresholdText(bool known, std::uint32_t value, std::uint32_t off,
                            std::uint32_t wanted) {
    if (!known) {
        return wanted;
    }
    return value == kThresholdOff || value > off ? off : value;
}

} // namespace

std::uint32_t Card::Read(std::uint32_t mask, HostInfo& host) {
    const Live live = ReadLive();
    WiphyInfo wiphy;
    const bool haveWiphy = GetWiphy(live.interface.wiphy, wiphy);
    std::uint32_t failed = mask & ~TAVL_MASK_KNOWN;
    const bool adhoc = live.interface.iftype == NL80211_IFTYPE_ADHOC;
    StationInfo station;
    const bool haveStation =
        live.connected && !adhoc && GetStation(live.interface.ifindex, live.bss.bssid, station);
    if (mask & TAVL_MASK_BSSID) {
        std::memset(host.bssid, 0, 6);
        if (live.connected && live.haveBss) {
            std::memcpy(host.bssid, live.bss.bssid.data(), 6);
        }
    }
    if (mask & TAVL_MASK_SSID) {
        // A managed interface's own record carries no SSID on every kernel;
        // the associated network's entry does.
        const std::string& liveSsid =
            live.interface.ssid.empty() && live.haveBss ? live.bss.ssid : live.interface.ssid;
        const std::string& ssid = live.connected ? liveSsid : wanted_.ssid;
        const std::size_t n = std::min<std::size_t>(ssid.size(), sizeof host.ssid);
        std::memset(host.ssid, 0, sizeof host.ssid);
        std::memcpy(host.ssid, ssid.data(), n);
        host.ssidLength = static_cast<std::uint32_t>(n);
    }
    if (mask & TAVL_MASK_POWER_MODE) {
        bool on = false;
        host.powerMode =
            GetPowerSave(live.interface.ifindex, on) ? (on ? 1 : 0) : wanted_.powerMode;
    }
    if (mask & (TAVL_MASK_RSSI | TAVL_MASK_LINK_QUALITY)) {
        std::int32_t dbm = -100;
        if (live.connected) {
            dbm = haveStation && station.hasSignal ? station.signalDbm
                  : live.haveBss                   ? live.bss.signalDbm
                                                   : 0;
        }
        host.rssi = dbm;
    }
    if (mask & TAVL_MASK_INFRASTRUCTURE) {
        host.infrastructureMode = live.interface.iftype == NL80211_IFTYPE_STATION ? 1
                                  : adhoc                                         ? 0
                                          : wanted_.infrastructure;
    }
    if (mask & TAVL_MASK_FRAG_THRESHOLD) {
        host.fragThreshold = ThresholdText(haveWiphy && wiphy.hasFrag, wiphy.fragThreshold,
                                           kFragOff, wanted_.fragThreshold);
    }
    if (mask & TAVL_MASK_RTS_THRESHOLD) {
        host.rtsThreshold = ThresholdText(haveWiphy && wiphy.hasRts, wiphy.rtsThreshold, kRtsOff,
                                          wanted_.rtsThreshold);
    }
    if (mask & TAVL_MASK_SUPPORTED_RATES) {
        // The rate frames are sent at now first, then the network's rates.
        std::uint8_t rates[8] = {};
        std::size_t n = 0;
        if (haveStation && station.txBitrate100k != 0) {
            rates[n++] =
                static_cast<std::uint8_t>(std::min<std::uint32_t>(station.txBitrate100k / 5, 127));
        }
        const std::uint8_t* source = live.haveBss ? live.bss.rates.data() : wanted_.rates;
        for (std::size_t i = 0; i < 8 && n < 8; ++i) {
            const std::uint8_t rate = source[i] & 0x7F;
            if (rate != 0 && (n == 0 || rate != rates[0])) {
                rates[n++] = rate;
            }
        }
        std::memcpy(host.supportedRates, rates, 8);
    }
    if (mask & TAVL_MASK_CONFIGURATION) {
        TavlConfiguration& c = host.configuration;
        c.length = sizeof(TavlConfiguration);
        c.beaconPeriod =
            live.haveBss && live.bss.beaconInterval != 0 ? live.bss.beaconInterval : 100;
        c.atimWindow = 0;
        c.dsConfig = live.interface.freqMhz != 0 ? live.interface.freqMhz * 1000u
                                                 : cardsim::ChannelToKhz(wanted_.channel);
        c.fhLength = 16;
        host.GMode = wanted_.gMode;
    }
    if (mask & TAVL_MASK_LINK_STATE) {
        host.mediaConnectStatus = live.connected ? 0 : 1;
    }
    if (mask & TAVL_MASK_WEP_STATUS) {
        host.wepStatus = wanted_.wepDisabled;
    }
    if (mask & TAVL_MASK_AUTH_MODE) {
        host.authMode = wanted_.authMode;
    }
    if (mask & TAVL_MASK_PREAMBLE) {
        host.preambleType = wanted_.preamble;
    }
    if (mask & TAVL_MASK_FIRMWARE_VERSION) {
        const std::string firmware = FirmwareText(interface_);
        const std::size_t n = std::min(firmware.size(), sizeof host.firmwareVersion - 1);
        std::memcpy(host.firmwareVersion, firmware.data(), n);
        host.firmwareVersion[n] = '\0';
    }
    if (mask & TAVL_MASK_CHANNEL_MASK) {
        host.channelMask = AllowedChannels();
    }
    // WEP keys are never read back: their bits clear, the slots untouched.
    return failed;
}

std::uint32_t Card::Write(std::uint32_t mask, const HostInfo& host) {
    std::uint32_t failed = mask & (~TAVL_MASK_KNOWN | kReadOnly);
    Wanted next = wanted_;
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
    wanted_ = next; // remembered, also where the radio cannot take it

    const std::uint32_t asked = mask & ~failed;
    if ((asked & kJoinFields) != 0 && !Reconnect()) {
        failed |= asked & kJoinFields;
    }
    if ((asked & TAVL_MASK_POWER_MODE) && !ApplyPowerSave()) {
        failed |= TAVL_MASK_POWER_MODE;
    }
    if ((asked & (TAVL_MASK_FRAG_THRESHOLD | TAVL_MASK_RTS_THRESHOLD)) && !ApplyThresholds()) {
        failed |= asked & (TAVL_MASK_FRAG_THRESHOLD | TAVL_MASK_RTS_THRESHOLD);
    }
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
    return failed & ~kIgnored;
}

bool Card::Reconnect() {
    if (supplicant_.Connect(interface_) != Reach::Reachable) {
        return false;
    }
    const std::string& ssid = wanted_.ssid;
    const bool adhoc = wanted_.infrastructure == 0;
    if (!adhoc && (ssid.empty() || ssid == "any")) {
        // Any network: the supplicant chooses among its own.
        return supplicant_.Release();
    }
    if (ssid.empty() || (adhoc && !cardsim::ChannelAllowed(AllowedChannels(), wanted_.channel))) {
        return false;
    }
    JoinRequest join;
    join.ssid = ssid;
    join.adhoc = adhoc;
    join.freqMhz = cardsim::ChannelToKhz(wanted_.channel) / 1000u;
    join.wep = wanted_.wepDisabled == 0;
    if (join.wep) {
        join.keys = wanted_.keys;
        join.txKey = wanted_.txKey;
        join.auth = wanted_.authMode;
        if (join.keys[join.txKey].empty()) {
            return false; // no transmit key: nothing could be sent
        }
    }
    return supplicant_.Join(join);
}

bool Card::ApplyPowerSave() {
    const bool on = wanted_.powerMode != 0;
    bool now = false;
    if (GetPowerSave(Ifindex(), now) && now == on) {
        return true;
    }
    return supplicant_.Connect(interface_) == Reach::Reachable &&
           supplicant_.Command(on ? "SET ps 1" : "SET ps 0");
}

bool Card::ApplyThresholds() {
    InterfaceInfo info;
    WiphyInfo wiphy;
    if (!GetInterface(Ifindex(), info) || !GetWiphy(info.wiphy, wiphy)) {
        return false;
    }
    const std::uint32_t rts =
        wanted_.rtsThreshold >= kRtsOff ? kThresholdOff : wanted_.rtsThreshold;
    const std::uint32_t frag =
        wanted_.fragThreshold >= kFragOff ? kThresholdOff : wanted_.fragThreshold;
    const bool same =
        wiphy.hasRts && wiphy.hasFrag &&
        ThresholdText(true, wiphy.rtsThreshold, kRtsOff, 0) == wanted_.rtsThreshold &&
        ThresholdText(true, wiphy.fragThreshold, kFragOff, 0) == wanted_.fragThreshold;
    // Only a process with CAP_NET_ADMIN may change them.
    return same || SetThresholds(info.wiphy, rts, frag);
}

} // namespace realcard
