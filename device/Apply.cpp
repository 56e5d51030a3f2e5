#include "device/Apply.h"

#include "device/HostState.h"
#include "device/Records.h"
#include "device/WepSettings.h"
#include "support/Trace.h"

#include <cstring>

namespace {

constexpr std::uint32_t kConfigurationLength = 32;
constexpr std::uint32_t kFrequencyHoppingLength = 16;
constexpr std::uint32_t kMaxChannel = 14;
// Lets the card settle after the configuration read of the change apply.
constexpr std::uint32_t kChangeApplyPauseMs = 100;

void CopyRates(const WirelessReg& reg, HostInfo& host) {
    const auto rates = RatesForCode(reg.txRate);
    static_assert(sizeof host.supportedRates == rates.size());
    std::memcpy(host.supportedRates, rates.data(), rates.size());
}

} // namespace

void CopySsid(const WirelessReg& reg, HostInfo& host) {
    const std::string_view ssid = FieldText(reg.ssid);
    const std::size_t length = ssid.size() < sizeof host.ssid ? ssid.size() : sizeof host.ssid;
    std::memcpy(host.ssid, ssid.data(), length);
    std::memset(host.ssid + length, 0, sizeof host.ssid - length);
    host.ssidLength = static_cast<std::uint32_t>(length);
}

std::uint32_t FrequencyForChannel(CardLibrary& library, std::uint32_t channel,
                                  std::uint32_t current) {
    if (channel < 1 || channel > kMaxChannel) {
        return current;
    }
    return library.ChannelToFrequency(channel);
}

bool ApplyHostInfo(CardLibrary& library, const WirelessReg& reg, HostInfo& host) {
    std::uint32_t mask = kChangeApplyMask;
    WepKeysGuard keys(host);
    BuildWepSettings(reg, host, mask);
    library.SetWLANConfig(&mask, &host);
    if (mask != 0) {
        library.SetWLANConfig(&mask, &host);
    }
    return mask == 0;
}

void ApplyConfiguration(CardLibrary& library, const WirelessReg& reg) {
    const std::int32_t domain = gDomain;
    TraceOut("\n\n##### Setting domain %i\n", domain);
    library.SetWLDomain(domain);
    if (gZeroConfig == 1) {
        TraceOut("Skip WLAN Config due to zero config");
        return;
    }

    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_FULL_READ;
    library.GetWLANConfig(&mask, &host);

    mask = TAVL_MASK_SSID;
    CopySsid(reg, host);
    mask |= TAVL_MASK_INFRASTRUCTURE;
    host.infrastructureMode = reg.opMode;
    mask |= TAVL_MASK_CONFIGURATION;
    host.configuration.length = kConfigurationLength;
    host.configuration.beaconPeriod = kBeaconPeriod;
    host.configuration.dsConfig =
        FrequencyForChannel(library, reg.channel, host.configuration.dsConfig);
    host.configuration.fhLength = kFrequencyHoppingLength;
    TraceOut("DSConfig %i", static_cast<int>(host.configuration.dsConfig));

    WepKeysGuard keys(host);
    BuildWepSettings(reg, host, mask);
    host.authMode = reg.encryptionLevel != 0 ? reg.authType : 0;

    mask |= TAVL_MASK_POWER_MODE;
    host.powerMode = reg.powerSaveMode;
    mask |= TAVL_MASK_FRAG_THRESHOLD;
    host.fragThreshold = reg.fragThreshold;
    mask |= TAVL_MASK_RTS_THRESHOLD;
    host.rtsThreshold = reg.rtsThreshold;
    host.GMode = reg.GMode;
    CopyRates(reg, host);
    mask |= TAVL_MASK_PREAMBLE;
    host.preambleType = reg.preambleType;

    library.SetWLANConfig(&mask, &host);
}

bool ApplyChange(CardLibrary& library, const WirelessReg& reg, HostInfo& host, Clock& clock) {
    std::uint32_t mask = TAVL_MASK_CONFIGURATION;
    library.GetWLANConfig(&mask, &host);
    host.configuration.beaconPeriod = kBeaconPeriod;
    clock.Sleep(kChangeApplyPauseMs);

    host.configuration.dsConfig =
        FrequencyForChannel(library, reg.channel, host.configuration.dsConfig);
    CopyRates(reg, host);
    host.GMode = reg.GMode;
    host.infrastructureMode = reg.opMode;
    CopySsid(reg, host);
    host.powerMode = reg.powerSaveMode;

    if (!ApplyHostInfo(library, reg, host)) {
        return false;
    }
    if (gOsClass == kOsWindows98Me) {
        SendWepPartAfter(library, reg, clock, kWepAloneAfterChangeApplyMs);
    }
    library.SetDriverReg(&reg);
    return true;
}

void SendWepPart(CardLibrary& library, const WirelessReg& reg) {
    HostInfo host{};
    std::uint32_t mask = 0;
    WepKeysGuard keys(host);
    BuildWepSettings(reg, host, mask);
    library.SetWLANConfig(&mask, &host);
}

void SendWepPartAfter(CardLibrary& library, const std::function<WirelessReg()>& currentReg,
                      std::uint32_t settleMs, const std::function<void(std::uint32_t ms)>& wait) {
    wait(settleMs);
    SendWepPart(library, currentReg());
    wait(kWepAloneSettleMs);
}
