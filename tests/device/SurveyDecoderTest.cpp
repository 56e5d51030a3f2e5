#include "device/SurveyDecoder.h"

#include "tests/fakes/CardRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// One survey entry with the BSSID 02-00-00-00-hi-lo of `n`.
TavlSurveyEntry Entry(int n, const std::string& ssid = "net", std::int32_t rssi = -60) {
    TavlSurveyEntry entry{};
    entry.bssid[0] = 0x02;
    entry.bssid[4] = static_cast<std::uint8_t>(n >> 8);
    entry.bssid[5] = static_cast<std::uint8_t>(n);
    entry.ssidLength = static_cast<std::uint32_t>(ssid.size());
    std::memcpy(entry.ssid, ssid.data(), ssid.size());
    entry.rssi = rssi;
    entry.dsConfig = 2437000;
    entry.infrastructureMode = 1;
    return entry;
}

// A result of `size` bytes at least, reporting `count` (when negative, the entries' own).
std::vector<std::uint8_t> Result(const std::vector<TavlSurveyEntry>& entries,
                                 std::int64_t count = -1, std::size_t size = 0) {
    const std::size_t needed = TAVL_SURVEY_HEADER_SIZE + entries.size() * TAVL_SURVEY_ENTRY_SIZE;
    std::vector<std::uint8_t> bytes(std::max(size, needed), 0);
    const auto reported = static_cast<std::uint32_t>(count < 0 ? entries.size() : count);
    std::memcpy(bytes.data(), &reported, sizeof reported);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(entries.data()),
                entries.size() * TAVL_SURVEY_ENTRY_SIZE, bytes.begin() + TAVL_SURVEY_HEADER_SIZE);
    return bytes;
}

class SurveyDecoder : public testing::Test {
protected:
    // The table's rows as the list shows them, "ssid|bssid|signal|channel|wep|type".
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int i = 0; i < table.Count(); ++i) {
            std::string text = table.At(i).ssid;
            for (int c = 1; c < kSurveyColumnCount; ++c) {
                text += "|" + SurveyColumnText(table.At(i), static_cast<SurveyColumn>(c));
            }
            rows.push_back(text);
        }
        return rows;
    }

    CardRecorder card;
    CSurveyTable table;
};

TEST_F(SurveyDecoder, FieldsToTexts) {
    struct {
        std::int32_t rssi;
        std::uint32_t khz, privacy, mode;
        const char* texts; // signal|channel|wep|type
    } cases[] = {
        {-60, 2412000, 0, 1, "66%|1|No|Infrastructure"},
        {-45, 2484000, 5, 0, "100%|14|Yes|Ad-Hoc"},
        {-89, 2472000, 1, 2, "2%|13|Yes|Ad-Hoc"},
        {0, 2437000, 0, 1, "n/a|6|No|Infrastructure"},
        // Only the low 16 bits of the level count: 0x7FFFFFC4 is -60.
        {0x7FFFFFC4, 2437000, 0, 1, "66%|6|No|Infrastructure"},
    };
    for (const auto& c : cases) {
        TavlSurveyEntry entry = Entry(1, "x", c.rssi);
        entry.dsConfig = c.khz;
        entry.privacy = c.privacy;
        entry.infrastructureMode = c.mode;
        EXPECT_EQ(1u, FillSurveyTable(Result({entry}), card, table));
        EXPECT_EQ(std::string("x|02-00-00-00-00-01|") + c.texts, Rows().at(0)) << c.rssi;
    }
}

// SSIDs longer than 32 bytes and BSSIDs beginning 00-00-00-00 are not
// listed; an SSID ends at its length or its first zero byte.
TEST_F(SurveyDecoder, WhichEntriesAreListedAndTheirSsidBytes) {
    TavlSurveyEntry tooLong = Entry(2, std::string(32, 'B'));
    tooLong.ssidLength = 33;
    TavlSurveyEntry zeroPrefix = Entry(0x1234);
    TavlSurveyEntry fourthByte = Entry(7);
    zeroPrefix.bssid[0] = fourthByte.bssid[0] = 0;
    fourthByte.bssid[3] = 1;
    FillSurveyTable(
        Result({Entry(1, std::string(32, 'A')), tooLong, Entry(4, ""), zeroPrefix,
                Entry(5, std::string("ab\0cd", 5)), Entry(6, "caf\xE9\xFF"), fourthByte}),
        card, table);
    const std::string tail = "|66%|6|No|Infrastructure";
    EXPECT_EQ((std::vector<std::string>{std::string(32, 'A') + "|02-00-00-00-00-01" + tail,
                                        "|02-00-00-00-00-04" + tail, "ab|02-00-00-00-00-05" + tail,
                                        "caf\xE9\xFF|02-00-00-00-00-06" + tail,
                                        "net|00-00-00-01-00-07" + tail}),
              Rows());
}

// The page's 7444-byte buffer holds 71 whole entries; a count of 72 or
// more reads those 71 and no byte more (the sanitizers catch a read past).
// Of a BSSID the first entry wins, and repeats take no row from the later
// networks: 65 networks give the first 64 rows.
TEST_F(SurveyDecoder, CountsNeverLeadPastTheBufferAndSixtyFourNetworksAreListed) {
    std::vector<TavlSurveyEntry> entries{Entry(1, "first")};
    entries.insert(entries.end(), 6, Entry(1, "again", -45));
    for (int i = 0; i < 64; ++i) {
        entries.push_back(Entry(i + 2));
    }
    for (std::uint32_t count : {72u, 0x12345678u}) {
        const std::vector<std::uint8_t> exact = Result(entries, count, TAVL_SURVEY_BUFFER_SIZE);
        EXPECT_EQ(count, FillSurveyTable(exact, card, table));
        const std::vector<std::string> rows = Rows();
        ASSERT_EQ(64u, rows.size());
        EXPECT_EQ("first|02-00-00-00-00-01|66%|6|No|Infrastructure", rows[0]);
        EXPECT_EQ("net|02-00-00-00-00-40|66%|6|No|Infrastructure", rows[63]);
    }
    // Count 0 with entries behind it; a buffer shorter than one entry, or
    // than the count itself: nothing.
    const struct {
        std::vector<std::uint8_t> result;
        std::uint32_t reported;
    } cases[] = {
        {Result({Entry(1)}, 0), 0}, {Result({}, 0xFFFFFFFF, 100), 0xFFFFFFFF}, {{1, 0, 0}, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.reported, FillSurveyTable(c.result, card, table));
        EXPECT_EQ(0, table.Count());
    }
}

} // namespace
