// The networks of the last site survey, as decoded from the card's result:
// one SurveyRow per network, and CSurveyTable, the rows the Site Survey
// page lists. The list shows a row's texts; Connect joins the row itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One usable entry of a survey result.
struct SurveyRow {
    std::string ssid;            // SSID bytes up to the first zero byte, at most 32
    std::uint8_t bssid[6] = {};  // the cell's BSSID
    int signalPercent = 0;       // RssiToPercent of the entry's level
    std::uint32_t channel = 0;   // the library's FrequencyToChannel of the DS frequency
    bool privacy = false;        // the cell asks for WEP
    bool infrastructure = false; // infrastructure mode 1; any other value is an ad hoc cell
};

// The list's columns, in order.
enum class SurveyColumn { Ssid, Bssid, Signal, Channel, Wep, BssType };
inline constexpr int kSurveyColumnCount = 6;

// The text of `column` for `row`: BSSID "%02X-%02X-%02X-%02X-%02X-%02X";
// signal "%d%%" of the percentage when above 0, else "n/a"; channel "%d";
// WEP "Yes" or "No"; BSS type "Infrastructure" or "Ad-Hoc". The SSID
// column gives the bytes as they are (the page shows them readably).
std::string SurveyColumnText(const SurveyRow& row, SurveyColumn column);

class CSurveyTable {
public:
    static constexpr int kMaxRows = 64;

    int Count() const { return static_cast<int>(rows_.size()); }
    // Row `i`, 0 <= i < Count().
    const SurveyRow& At(int i) const { return rows_[static_cast<std::size_t>(i)]; }

    void Clear() { rows_.clear(); }
    // Appends `row` unless a row with the same BSSID is present (the first
    // one seen stays) or the table holds 64 rows.
    void Add(const SurveyRow& row);

private:
    std::vector<SurveyRow> rows_;
};
