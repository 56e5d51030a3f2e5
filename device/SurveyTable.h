// CSurveyTable: the rows of the last site survey, as the Site Survey page
// lists them. At most 64 rows; one row per BSSID, the first entry seen
// for a BSSID stays; each text is kept in a field of fixed capacity
// (terminator included) and longer texts are cut.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The six texts of one network, as made from a survey entry.
struct SurveyTexts {
    std::string_view bssid;
    std::string_view ssid;
    std::string_view signal;
    std::string_view channel;
    std::string_view wep;
    std::string_view bssType;
};

class CSurveyTable {
public:
    static constexpr int kMaxRows = 64;

    struct Row {
        char bssid[20];
        char ssid[40];
        char signal[20];
        char channel[20];
        char wep[20];
        char bssType[20];
    };

    int Count() const { return count_; }
    // Row `i`, 0 <= i < Count().
    const Row& At(int i) const { return rows_[i]; }

    void Clear() { count_ = 0; }
    // Appends a row unless one with the same BSSID text is present or the
    // table is full. True when the row was added.
    bool Add(const SurveyTexts& texts);

private:
    std::int32_t count_ = 0;
    Row rows_[kMaxRows] = {};
};
