// The live configuration: HostInfo fields read from the radio, and written
// by remembering them and applying what the supplicant (or, with the
// rights, nl80211) can apply. A field that cannot be applied keeps its bit
// in the returned mask, as the interface defines for failed fields.
#include "realcard/Card.h"

#include "cardshared/Channels.h"
#include "realcard/HostFields.h"
#include "realcard/Interface.h"
#include "realcard/Nl80211.h"

#include <algorithm>
#include <cstring>
#include <linux/nl80211.h>

namespace realcard {

namespace {

// Fields whose change means joining again.
constexpr std::uint32_t kJoinFields = TAVL_MASK_SSID | TAVL_MASK_INFRASTRUCTURE |
                                      TAVL_MASK_CONFIGURATION | TAVL_MASK_WEP_KEYS |
                                      TAVL_MASK_WEP_STATUS | TAVL_MASK_AUTH_MODE;

} // namespace

std::uint32_t Card::Read(std::uint32_t mask, HostInfo& host) {
    const Live live = ReadLive();
    if (!live.read) {
        return mask; // nothing read is reported as read
    }
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
        const std::string& ssid = live.connected ? live.interface.ssid : wanted_.ssid;
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
        host.fragThreshold = ThresholdOrOff(haveWiphy && wiphy.hasFrag, wiphy.fragThreshold,
                                            kFragOff, wanted_.fragThreshold);
    }
    if (mask & TAVL_MASK_RTS_THRESHOLD) {
        host.rtsThreshold = ThresholdOrOff(haveWiphy && wiphy.hasRts, wiphy.rtsThreshold, kRtsOff,
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
    std::uint32_t failed = TakeFields(mask, host, wanted_);
    const std::uint32_t asked =
        mask & ~failed & ~(TAVL_MASK_RESERVED_08 | TAVL_MASK_RESERVED_40000);
    if ((asked & kJoinFields) != 0 && !Reconnect()) {
        failed |= asked & kJoinFields;
    }
    if ((asked & TAVL_MASK_POWER_MODE) && !ApplyPowerSave()) {
        failed |= TAVL_MASK_POWER_MODE;
    }
    if ((asked & (TAVL_MASK_FRAG_THRESHOLD | TAVL_MASK_RTS_THRESHOLD)) && !ApplyThresholds()) {
        failed |= asked & (TAVL_MASK_FRAG_THRESHOLD | TAVL_MASK_RTS_THRESHOLD);
    }
    return failed | FieldsTheRadioSetsItself(asked, wanted_);
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
        ThresholdOrOff(true, wiphy.rtsThreshold, kRtsOff, 0) == wanted_.rtsThreshold &&
        ThresholdOrOff(true, wiphy.fragThreshold, kFragOff, 0) == wanted_.fragThreshold;
    // Only a process with CAP_NET_ADMIN may change them.
    return same || SetThresholds(info.wiphy, rts, frag);
}

} // namespace realcard
