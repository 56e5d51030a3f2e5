#include "realcard/Nl80211Decode.h"

#include "cardshared/Channels.h"

#include <cstring>
#include <linux/nl80211.h>
#include <netlink/attr.h>

namespace realcard {

namespace {

// nla_parse over a caller's buffer; libnl never writes to it.
template <int Max> struct Attrs {
    nlattr* tb[Max + 1] = {};
    bool Parse(const void* data, std::size_t length) {
        if (data == nullptr && length != 0) {
            return false;
        }
        return nla_parse(tb, Max, static_cast<nlattr*>(const_cast<void*>(data)),
                         static_cast<int>(length), nullptr) == 0;
    }
    bool Parse(nlattr* nested) { return nla_parse_nested(tb, Max, nested, nullptr) == 0; }
    nlattr* operator[](int i) const { return tb[i]; }
};

template <typename T> bool Fits(const nlattr* a) {
    return a != nullptr && nla_len(a) >= static_cast<int>(sizeof(T));
}

std::uint32_t U32(const nlattr* a) {
    return Fits<std::uint32_t>(a) ? nla_get_u32(const_cast<nlattr*>(a)) : 0;
}
std::uint16_t U16(const nlattr* a) {
    return Fits<std::uint16_t>(a) ? nla_get_u16(const_cast<nlattr*>(a)) : 0;
}

void CopyMac(const nlattr* a, std::array<std::uint8_t, 6>& mac) {
    if (a != nullptr && nla_len(a) == 6) {
        std::memcpy(mac.data(), nla_data(a), 6);
    }
}

std::string Bytes(const nlattr* a, std::size_t max) {
    if (a == nullptr) {
        return {};
    }
    const std::size_t n = static_cast<std::size_t>(nla_len(a));
    return std::string(static_cast<const char*>(nla_data(a)), n < max ? n : max);
}

constexpr std::size_t kSsidMax = 32;
constexpr std::uint8_t kElementSsid = 0;
constexpr std::uint8_t kElementRates = 1;
constexpr std::uint8_t kElementExtendedRates = 50;

} // namespace

bool DecodeInterface(const void* attrs, std::size_t length, InterfaceInfo& info) {
    Attrs<NL80211_ATTR_MAX> a;
    if (!a.Parse(attrs, length) || a[NL80211_ATTR_IFINDEX] == nullptr) {
        return false;
    }
    info.ifindex = U32(a[NL80211_ATTR_IFINDEX]);
    info.wiphy = U32(a[NL80211_ATTR_WIPHY]);
    info.iftype = U32(a[NL80211_ATTR_IFTYPE]);
    CopyMac(a[NL80211_ATTR_MAC], info.mac);
    info.ssid = Bytes(a[NL80211_ATTR_SSID], kSsidMax);
    info.freqMhz = U32(a[NL80211_ATTR_WIPHY_FREQ]);
    return true;
}

bool DecodeStation(const void* attrs, std::size_t length, StationInfo& info) {
    Attrs<NL80211_ATTR_MAX> a;
    if (!a.Parse(attrs, length) || a[NL80211_ATTR_STA_INFO] == nullptr) {
        return false;
    }
    CopyMac(a[NL80211_ATTR_MAC], info.mac);
    Attrs<NL80211_STA_INFO_MAX> s;
    if (!s.Parse(a[NL80211_ATTR_STA_INFO])) {
        return false;
    }
    if (Fits<std::uint8_t>(s[NL80211_STA_INFO_SIGNAL])) {
        info.hasSignal = true;
        info.signalDbm = static_cast<std::int8_t>(nla_get_u8(s[NL80211_STA_INFO_SIGNAL]));
    }
    if (s[NL80211_STA_INFO_TX_BITRATE] != nullptr) {
        Attrs<NL80211_RATE_INFO_MAX> r;
        if (r.Parse(s[NL80211_STA_INFO_TX_BITRATE])) {
            info.txBitrate100k = r[NL80211_RATE_INFO_BITRATE32] != nullptr
                                     ? U32(r[NL80211_RATE_INFO_BITRATE32])
                                     : U16(r[NL80211_RATE_INFO_BITRATE]);
        }
    }
    return true;
}

void DecodeElements(const std::uint8_t* ies, std::size_t length, std::string& ssid,
                    std::array<std::uint8_t, 8>& rates) {
    std::size_t rateCount = 0;
    std::size_t pos = 0;
    while (ies != nullptr && pos + 2 <= length) {
        const std::uint8_t id = ies[pos];
        const std::size_t size = ies[pos + 1];
        const std::uint8_t* body = ies + pos + 2;
        if (pos + 2 + size > length) {
            break;
        }
        if (id == kElementSsid && size <= kSsidMax && ssid.empty()) {
            ssid.assign(reinterpret_cast<const char*>(body), size);
        } else if (id == kElementRates || id == kElementExtendedRates) {
            for (std::size_t i = 0; i < size && rateCount < rates.size(); ++i) {
                rates[rateCount++] = body[i];
            }
        }
        pos += 2 + size;
    }
}

bool DecodeScanEntry(const void* attrs, std::size_t length, ScanBss& bss) {
    Attrs<NL80211_ATTR_MAX> a;
    if (!a.Parse(attrs, length) || a[NL80211_ATTR_BSS] == nullptr) {
        return false;
    }
    Attrs<NL80211_BSS_MAX> b;
    if (!b.Parse(a[NL80211_ATTR_BSS]) || b[NL80211_BSS_BSSID] == nullptr ||
        nla_len(b[NL80211_BSS_BSSID]) != 6) {
        return false;
    }
    CopyMac(b[NL80211_BSS_BSSID], bss.bssid);
    bss.freqMhz = U32(b[NL80211_BSS_FREQUENCY]);
    bss.beaconInterval = U16(b[NL80211_BSS_BEACON_INTERVAL]);
    bss.capability = U16(b[NL80211_BSS_CAPABILITY]);
    if (Fits<std::int32_t>(b[NL80211_BSS_SIGNAL_MBM])) {
        bss.signalDbm = static_cast<std::int32_t>(nla_get_u32(b[NL80211_BSS_SIGNAL_MBM])) / 100;
    }
    if (Fits<std::uint64_t>(b[NL80211_BSS_LAST_SEEN_BOOTTIME])) {
        bss.lastSeenBoottimeNs = nla_get_u64(b[NL80211_BSS_LAST_SEEN_BOOTTIME]);
    }
    if (Fits<std::uint32_t>(b[NL80211_BSS_STATUS])) {
        bss.hasStatus = true;
        bss.status = nla_get_u32(b[NL80211_BSS_STATUS]);
    }
    nlattr* ies = b[NL80211_BSS_INFORMATION_ELEMENTS] != nullptr
                      ? b[NL80211_BSS_INFORMATION_ELEMENTS]
                      : b[NL80211_BSS_BEACON_IES];
    if (ies != nullptr) {
        DecodeElements(static_cast<const std::uint8_t*>(nla_data(ies)),
                       static_cast<std::size_t>(nla_len(ies)), bss.ssid, bss.rates);
    }
    return true;
}

void DecodeWiphy(const void* attrs, std::size_t length, WiphyInfo& info) {
    Attrs<NL80211_ATTR_MAX> a;
    if (!a.Parse(attrs, length)) {
        return;
    }
    if (Fits<std::uint32_t>(a[NL80211_ATTR_WIPHY_RTS_THRESHOLD])) {
        info.hasRts = true;
        info.rtsThreshold = U32(a[NL80211_ATTR_WIPHY_RTS_THRESHOLD]);
    }
    if (Fits<std::uint32_t>(a[NL80211_ATTR_WIPHY_FRAG_THRESHOLD])) {
        info.hasFrag = true;
        info.fragThreshold = U32(a[NL80211_ATTR_WIPHY_FRAG_THRESHOLD]);
    }
    if (a[NL80211_ATTR_WIPHY_BANDS] == nullptr) {
        return;
    }
    nlattr* band = nullptr;
    int bandsLeft = 0;
    nla_for_each_nested(band, a[NL80211_ATTR_WIPHY_BANDS], bandsLeft) {
        Attrs<NL80211_BAND_ATTR_MAX> bandAttrs;
        if (!bandAttrs.Parse(band) || bandAttrs[NL80211_BAND_ATTR_FREQS] == nullptr) {
            continue;
        }
        nlattr* freq = nullptr;
        int freqsLeft = 0;
        nla_for_each_nested(freq, bandAttrs[NL80211_BAND_ATTR_FREQS], freqsLeft) {
            Attrs<NL80211_FREQUENCY_ATTR_MAX> f;
            if (!f.Parse(freq) || f[NL80211_FREQUENCY_ATTR_DISABLED] != nullptr) {
                continue;
            }
            const std::uint32_t channel =
                cardsim::KhzToChannel(U32(f[NL80211_FREQUENCY_ATTR_FREQ]) * 1000u);
            if (channel != 0) {
                info.enabledChannels |= static_cast<std::uint16_t>(1u << (channel - 1));
            }
        }
    }
}

bool DecodePowerSave(const void* attrs, std::size_t length, bool& enabled) {
    Attrs<NL80211_ATTR_MAX> a;
    if (!a.Parse(attrs, length) || !Fits<std::uint32_t>(a[NL80211_ATTR_PS_STATE])) {
        return false;
    }
    enabled = U32(a[NL80211_ATTR_PS_STATE]) == NL80211_PS_ENABLED;
    return true;
}

} // namespace realcard
