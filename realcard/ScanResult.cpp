#include "realcard/ScanResult.h"

#include "cardshared/Channels.h"

#include <cstring>

namespace realcard {

namespace {

constexpr std::uint16_t kCapabilityEss = 0x0001;
constexpr std::uint16_t kCapabilityPrivacy = 0x0010;
constexpr std::uint32_t kNdis80211DS = 1;

} // namespace

TavlSurveyEntry MakeSurveyEntry(const ScanBss& bss) {
    TavlSurveyEntry entry{};
    entry.length = TAVL_SURVEY_ENTRY_SIZE;
    std::memcpy(entry.bssid, bss.bssid.data(), 6);
    const std::size_t ssidLength =
        bss.ssid.size() < TAVL_SSID_MAX ? bss.ssid.size() : TAVL_SSID_MAX;
    entry.ssidLength = static_cast<std::uint32_t>(ssidLength);
    std::memcpy(entry.ssid, bss.ssid.data(), ssidLength);
    entry.privacy = (bss.capability & kCapabilityPrivacy) != 0 ? 1 : 0;
    entry.rssi = bss.signalDbm;
    entry.networkType = kNdis80211DS;
    entry.configurationLength = sizeof(TavlConfiguration);
    entry.beaconPeriod = bss.beaconInterval;
    entry.dsConfig = bss.freqMhz * 1000u;
    entry.infrastructureMode = (bss.capability & kCapabilityEss) != 0 ? 1 : 0;
    std::memcpy(entry.supportedRates, bss.rates.data(), sizeof entry.supportedRates);
    return entry;
}

std::vector<TavlSurveyEntry> CurrentScan(const std::vector<ScanBss>& cache,
                                         std::uint64_t scanStartNs, std::uint16_t allowed) {
    std::vector<TavlSurveyEntry> entries;
    for (const ScanBss& bss : cache) {
        const bool fresh = bss.lastSeenBoottimeNs == 0 || bss.lastSeenBoottimeNs >= scanStartNs;
        if (fresh && cardsim::ChannelAllowed(allowed, cardsim::KhzToChannel(bss.freqMhz * 1000u))) {
            entries.push_back(MakeSurveyEntry(bss));
        }
    }
    return entries;
}

} // namespace realcard
