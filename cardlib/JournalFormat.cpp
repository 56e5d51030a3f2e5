#include "cardlib/JournalFormat.h"

#include "cardshared/Text.h"

#include <cstring>

namespace cardsim {

namespace {

void Field(std::string& out, const char* key, const std::string& value) {
    out += ' ';
    out += key;
    out += '=';
    out += value;
}

void Field(std::string& out, const char* key, std::int64_t value) {
    Field(out, key, std::to_string(value));
}

std::string KeyBlock(const HostInfo& host, int i) {
    const WepKeyBuffer* block = TavlGetWepKey(&host, i);
    if (block == nullptr) {
        return "null";
    }
    std::uint32_t header[3];
    std::memcpy(header, block, sizeof header);
    std::string text = "{length=" + std::to_string(header[0]) +
                       ",index=" + std::to_string(header[1] & ~TAVL_WEP_TRANSMIT_KEY) +
                       ",tx=" + ((header[1] & TAVL_WEP_TRANSMIT_KEY) != 0 ? "1" : "0") +
                       ",keyLength=" + std::to_string(header[2]);
    if ((header[2] == 5 || header[2] == 13) && header[0] == header[2] + 15) {
        text += ",key=" + HexBytes(reinterpret_cast<const std::uint8_t*>(block) + 12, header[2]);
    }
    return text + "}";
}

std::string Rates(const std::uint8_t* rates) {
    std::string text;
    for (std::size_t i = 0; i < 8; ++i) {
        text += (i == 0 ? "" : ",") + std::to_string(rates[i]);
    }
    return text;
}

template <std::size_t N> std::string Quoted(const char (&field)[N]) {
    return JournalText(BoundedText(field, N));
}

} // namespace

std::string HostFields(const HostInfo& host, std::uint32_t mask) {
    std::string out;
    if ((mask & TAVL_MASK_BSSID) != 0) {
        Field(out, "bssid", FormatMac(host.bssid));
    }
    if ((mask & TAVL_MASK_SSID) != 0) {
        Field(out, "ssidLength", host.ssidLength);
        const std::size_t shown = host.ssidLength < 32 ? host.ssidLength : 32;
        Field(out, "ssid", JournalText({reinterpret_cast<const char*>(host.ssid), shown}));
    }
    if ((mask & TAVL_MASK_POWER_MODE) != 0) {
        Field(out, "powerMode", host.powerMode);
    }
    if ((mask & TAVL_MASK_INFRASTRUCTURE) != 0) {
        Field(out, "infrastructureMode", host.infrastructureMode);
    }
    if ((mask & TAVL_MASK_FRAG_THRESHOLD) != 0) {
        Field(out, "fragThreshold", host.fragThreshold);
    }
    if ((mask & TAVL_MASK_RTS_THRESHOLD) != 0) {
        Field(out, "rtsThreshold", host.rtsThreshold);
    }
    if ((mask & TAVL_MASK_SUPPORTED_RATES) != 0) {
        Field(out, "supportedRates", Rates(host.supportedRates));
    }
    if ((mask & TAVL_MASK_CONFIGURATION) != 0) {
        const TavlConfiguration& c = host.configuration;
        Field(out, "configuration",
              "{length=" + std::to_string(c.length) + ",beaconPeriod=" +
                  std::to_string(c.beaconPeriod) + ",atimWindow=" + std::to_string(c.atimWindow) +
                  ",dsConfig=" + std::to_string(c.dsConfig) + ",fhLength=" +
                  std::to_string(c.fhLength) + ",hopPattern=" + std::to_string(c.hopPattern) +
                  ",hopSet=" + std::to_string(c.hopSet) +
                  ",dwellTime=" + std::to_string(c.dwellTime) + "}");
        Field(out, "GMode", host.GMode);
    }
    for (int i = 0; i < 4; ++i) {
        if ((mask & (TAVL_MASK_WEP_KEY1 << i)) != 0) {
            const std::string key = "key" + std::to_string(i + 1);
            Field(out, key.c_str(), KeyBlock(host, i));
        }
    }
    if ((mask & TAVL_MASK_WEP_STATUS) != 0) {
        Field(out, "wepStatus", host.wepStatus);
    }
    if ((mask & TAVL_MASK_AUTH_MODE) != 0) {
        Field(out, "authMode", host.authMode);
    }
    if ((mask & TAVL_MASK_PREAMBLE) != 0) {
        Field(out, "preambleType", host.preambleType);
    }
    return out;
}

std::string RegFields(const WirelessReg& reg) {
    std::string out;
    Field(out, "profileName", Quoted(reg.profileName));
    Field(out, "channel", reg.channel);
    Field(out, "txRate", reg.txRate);
    Field(out, "opMode", reg.opMode);
    Field(out, "GMode", reg.GMode);
    Field(out, "ssid", Quoted(reg.ssid));
    Field(out, "encryptionLevel", reg.encryptionLevel);
    Field(out, "defaultKeyId", reg.defaultKeyId);
    for (int i = 0; i < 4; ++i) {
        const std::string key = "keyText" + std::to_string(i + 1);
        Field(out, key.c_str(), Quoted(reg.keyText[i]));
    }
    Field(out, "fragThreshold", reg.fragThreshold);
    Field(out, "rtsThreshold", reg.rtsThreshold);
    Field(out, "preambleType", reg.preambleType);
    Field(out, "powerSaveMode", reg.powerSaveMode);
    Field(out, "authType", reg.authType);
    Field(out, "keyEntryMode", reg.keyEntryMode);
    return out;
}

} // namespace cardsim
