#include "device/SurveyDecoder.h"

#include "device/CardLibrary.h"
#include "device/Rssi.h"
#include "device/tavl.h"

#include <cstring>

namespace {

std::uint32_t ReadU32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

} // namespace

std::uint32_t SurveyReportedCount(std::span<const std::uint8_t> result) {
    return result.size() < TAVL_SURVEY_HEADER_SIZE ? 0 : ReadU32(result.data());
}

std::uint32_t SurveyReadableCount(std::span<const std::uint8_t> result) {
    if (result.size() < TAVL_SURVEY_HEADER_SIZE) {
        return 0;
    }
    const std::size_t whole = (result.size() - TAVL_SURVEY_HEADER_SIZE) / TAVL_SURVEY_ENTRY_SIZE;
    const std::uint32_t reported = SurveyReportedCount(result);
    return reported < whole ? reported : static_cast<std::uint32_t>(whole);
}

bool DecodeSurveyEntry(std::span<const std::uint8_t> result, std::uint32_t index,
                       CardLibrary& library, SurveyRow& row) {
    if (index >= SurveyReadableCount(result)) {
        return false;
    }
    TavlSurveyEntry entry;
    std::memcpy(&entry,
                result.data() + TAVL_SURVEY_HEADER_SIZE +
                    static_cast<std::size_t>(index) * TAVL_SURVEY_ENTRY_SIZE,
                sizeof entry);
    if (entry.ssidLength > TAVL_SSID_MAX) {
        return false;
    }
    if (entry.bssid[0] == 0 && entry.bssid[1] == 0 && entry.bssid[2] == 0 && entry.bssid[3] == 0) {
        return false;
    }
    const auto* ssid = reinterpret_cast<const char*>(entry.ssid);
    const void* zero = std::memchr(ssid, '\0', entry.ssidLength);
    row.ssid.assign(ssid, zero ? static_cast<const char*>(zero) - ssid : entry.ssidLength);
    std::memcpy(row.bssid, entry.bssid, sizeof row.bssid);
    row.signalPercent =
        RssiToPercent(static_cast<std::int16_t>(static_cast<std::uint32_t>(entry.rssi) & 0xFFFF));
    row.channel = library.FrequencyToChannel(entry.dsConfig);
    row.privacy = entry.privacy != 0;
    row.infrastructure = entry.infrastructureMode == 1;
    return true;
}

std::uint32_t FillSurveyTable(std::span<const std::uint8_t> result, CardLibrary& library,
                              CSurveyTable& table) {
    table.Clear();
    const std::uint32_t readable = SurveyReadableCount(result);
    SurveyRow row;
    for (std::uint32_t i = 0; i < readable; ++i) {
        if (DecodeSurveyEntry(result, i, library, row)) {
            table.Add(row);
        }
    }
    return SurveyReportedCount(result);
}
