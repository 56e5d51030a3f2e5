#include "device/RegulatoryDomain.h"

#include "device/HostState.h"
#include "device/PrivateProfile.h"
#include "support/Trace.h"

namespace {

constexpr std::size_t kEntryBufferSize = 260;

} // namespace

std::int32_t DomainFromEntry(const std::string& entry) {
    std::int32_t domain = 0;
    if (entry.size() >= 5) {
        int sum = 0;
        for (std::size_t i = 0; i < 5; ++i) {
            sum += static_cast<unsigned char>(entry[i]) - 48;
        }
        if (sum == 25) {
            domain = static_cast<unsigned char>(entry[2]) - 48;
        }
    }
    return domain < 0 || domain > 4 ? 0 : domain;
}

std::uint16_t ChannelMaskFromEntry(const std::string& entry) {
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        if (entry[i] == '1') {
            mask |= 1u << (i % 32);
        }
    }
    return static_cast<std::uint16_t>(mask & 0xFFFF);
}

void ReadDomainSettings(const std::string& settingsPath) {
    gDomain =
        DomainFromEntry(GetPrivateProfileString("INI", "D", "", kEntryBufferSize, settingsPath));
    TraceOut("\n##### INI domain= %i\n", static_cast<int>(gDomain));
    gIniChannelMask = 0;
    gIniChannelMask = ChannelMaskFromEntry(
        GetPrivateProfileString("INI", "Ch", "", kEntryBufferSize, settingsPath));
    TraceOut("\n##### INI channels= 0x%X\n", static_cast<unsigned>(gIniChannelMask));
}
