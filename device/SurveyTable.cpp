#include "device/SurveyTable.h"

#include "device/LinkStatus.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

std::string Decimal(std::int32_t value) {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

} // namespace

std::string SurveyColumnText(const SurveyRow& row, SurveyColumn column) {
    switch (column) {
    case SurveyColumn::Ssid:
        return row.ssid;
    case SurveyColumn::Bssid:
        return BssidText(row.bssid);
    case SurveyColumn::Signal:
        return row.signalPercent > 0 ? Decimal(row.signalPercent) + "%" : "n/a";
    case SurveyColumn::Channel:
        // The library's answer as a signed number, as the card reports it.
        return Decimal(static_cast<std::int32_t>(row.channel));
    case SurveyColumn::Wep:
        return row.privacy ? "Yes" : "No";
    case SurveyColumn::BssType:
        return row.infrastructure ? "Infrastructure" : "Ad-Hoc";
    }
    return {};
}

void CSurveyTable::Add(const SurveyRow& row) {
    const bool present = std::any_of(rows_.begin(), rows_.end(), [&row](const SurveyRow& held) {
        return std::memcmp(held.bssid, row.bssid, sizeof row.bssid) == 0;
    });
    if (present || Count() >= kMaxRows) {
        return;
    }
    if (rows_.empty()) {
        rows_.reserve(kMaxRows);
    }
    rows_.push_back(row);
}
