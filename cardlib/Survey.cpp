#include "cardlib/Survey.h"

#include "cardshared/Channels.h"

#include <cstring>

namespace cardsim {

namespace {

// What every simulated station offers: 802.11b basic rates, then 11g.
constexpr std::uint8_t kAirRates[8] = {0x82, 0x84, 0x8B, 0x96, 0x24, 0x30, 0x48, 0x6C};
constexpr std::uint32_t kNdis80211DS = 1;

} // namespace

TavlSurveyEntry MakeSurveyEntry(const Network& network) {
    TavlSurveyEntry entry{};
    entry.length = TAVL_SURVEY_ENTRY_SIZE;
    std::memcpy(entry.bssid, network.bssid.data(), 6);
    if (!network.hidden) {
        entry.ssidLength = static_cast<std::uint32_t>(network.ssid.size());
        std::memcpy(entry.ssid, network.ssid.data(), network.ssid.size());
    }
    entry.privacy = network.wep != WepLevel::Off ? 1 : 0;
    entry.rssi = network.signal;
    entry.networkType = kNdis80211DS;
    entry.configurationLength = sizeof(TavlConfiguration);
    entry.beaconPeriod = 100;
    entry.atimWindow = 0;
    entry.dsConfig = ChannelToKhz(network.channel);
    entry.infrastructureMode = network.mode == NetMode::Infrastructure ? 1 : 0;
    std::memcpy(entry.supportedRates, kAirRates, sizeof kAirRates);
    return entry;
}

std::vector<TavlSurveyEntry> ScanAir(const World& world, std::int32_t domain) {
    const std::uint16_t allowed = DomainChannelMask(domain);
    std::vector<TavlSurveyEntry> entries;
    for (const Network& network : world.networks) {
        if (ChannelAllowed(allowed, network.channel)) {
            entries.push_back(MakeSurveyEntry(network));
        }
    }
    return entries;
}

} // namespace cardsim
