#include "device/LinkStatus.h"

#include "device/CardLibrary.h"
#include "support/Trace.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint32_t kPhaseMasks[] = {
    // bssid, ssid, mode, rates, configuration, link state
    TAVL_MASK_BSSID | TAVL_MASK_SSID | TAVL_MASK_INFRASTRUCTURE | TAVL_MASK_SUPPORTED_RATES |
        TAVL_MASK_CONFIGURATION | TAVL_MASK_LINK_STATE,
    // bssid, ssid, configuration, link state
    TAVL_MASK_BSSID | TAVL_MASK_SSID | TAVL_MASK_CONFIGURATION | TAVL_MASK_LINK_STATE,
    // ssid, link state
    TAVL_MASK_SSID | TAVL_MASK_LINK_STATE,
};

enum Level { kNoSignal, kPoor, kGood, kVeryGood, kExcellent };

std::string Caption(const LevelWords& words, Level level, int shownPercent) {
    std::string caption(words[level]);
    if (level != kNoSignal) {
        char percent[16];
        std::snprintf(percent, sizeof percent, " (%u%%)", static_cast<unsigned>(shownPercent));
        caption += percent;
    }
    return caption;
}

// The level of `value` on the scale 1..`top`, by the highest value that is
// still poor, good and very good; outside the scale there is no signal.
Level LevelOn(int value, int top, const int (&highest)[3]) {
    if (value < 1 || value > top) {
        return kNoSignal;
    }
    for (int level = kPoor; level < kExcellent; ++level) {
        if (value <= highest[level - kPoor]) {
            return static_cast<Level>(level);
        }
    }
    return kExcellent;
}

Level SignalLevel(int percent) {
    return LevelOn(percent, 100, {25, 50, 74});
}

Level QualityLevel(int quality) {
    return LevelOn(quality, 15, {4, 8, 11});
}

} // namespace

std::uint32_t LinkStatusMask(int phase, std::uint32_t infrastructureMode) {
    if (phase < 0 || phase > 2) {
        return 0;
    }
    std::uint32_t mask = kPhaseMasks[phase];
    if (infrastructureMode == 1) {
        mask |= TAVL_MASK_RSSI | TAVL_MASK_LINK_QUALITY;
    }
    return mask;
}

bool QueryLinkStatus(CardLibrary& library, HostInfo& record, int phase) {
    TraceOut(" OID_GEN_MEDIA_CONNECT_STATUS ");
    std::uint32_t written = 0;
    if (library.QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &record.mediaConnectStatus,
                         sizeof record.mediaConnectStatus, &written) != 0) {
        TraceOut("->Failed  ");
        return false;
    }
    TraceOut("->Succeed  ");
    if (record.mediaConnectStatus != 0) {
        return true;
    }
    std::uint32_t mask = LinkStatusMask(phase, record.infrastructureMode);
    for (int attempt = 0; attempt < 2; ++attempt) {
        TraceOut(" . ");
        library.GetWLANConfig(&mask, &record);
        if (mask == 0) {
            break;
        }
    }
    TraceOut("dwWLFlag=(0x%X)", mask);
    return mask == 0;
}

LinkBars LinkBarsForPercent(int percent, const LevelWords& words) {
    LinkBars bars;
    const int signal = percent * 15 / 100;
    const int quality = std::min(signal, 15);
    bars.signalBar = std::clamp(signal, 0, 15);
    bars.qualityBar = std::max(quality, 0);
    bars.signalCaption = Caption(words, SignalLevel(percent), percent);
    bars.qualityCaption = Caption(words, QualityLevel(quality), quality * 100 / 15);
    return bars;
}

std::string BssidText(const std::uint8_t (&bssid)[6]) {
    // "%02X-%02X-%02X-%02X-%02X-%02X", written directly: the survey formats
    // one per network on every fill.
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(17, '-');
    for (std::size_t i = 0; i < 6; ++i) {
        text[i * 3] = kDigits[bssid[i] >> 4];
        text[i * 3 + 1] = kDigits[bssid[i] & 0x0F];
    }
    return text;
}

std::string LinkSsidText(const HostInfo& record) {
    const std::size_t length = std::min<std::size_t>(record.ssidLength, sizeof record.ssid);
    const auto* begin = reinterpret_cast<const char*>(record.ssid);
    const void* zero = std::memchr(begin, '\0', length);
    return std::string(begin, zero ? static_cast<const char*>(zero) - begin : length);
}

int LinkRateMbps(const HostInfo& record) {
    return record.supportedRates[0] / 2;
}
