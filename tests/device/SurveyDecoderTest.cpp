#include "device/SurveyDecoder.h"

#include "tests/fakes/CardRecorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// One survey entry with a distinct BSSID 02-00-00-00-hi-lo.
TavlSurveyEntry Entry(int n, const std::string& ssid = "net", std::int32_t rssi = -60) {
    TavlSurveyEntry entry{};
    entry.length = TAVL_SURVEY_ENTRY_SIZE;
    const std::uint8_t bssid[6] = {
        0x02, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
    std::memcpy(entry.bssid, bssid, sizeof bssid);
    entry.ssidLength = static_cast<std::uint32_t>(ssid.size());
    std::memcpy(entry.ssid, ssid.data(), std::min<std::size_t>(ssid.size(), sizeof entry.ssid));
    entry.rssi = rssi;
    entry.dsConfig = 2437000;
    entry.infrastructureMode = 1;
    return entry;
}

// A result buffer: `count` as reported, then `entries`, in a buffer of
// `size` bytes (at least what the entries need).
std::vector<std::uint8_t> Result(std::uint32_t count, const std::vector<TavlSurveyEntry>& entries,
                                 std::size_t size = 0) {
    const std::size_t needed = TAVL_SURVEY_HEADER_SIZE + entries.size() * TAVL_SURVEY_ENTRY_SIZE;
    std::vector<std::uint8_t> bytes(std::max(size, needed), 0);
    std::memcpy(bytes.data(), &count, sizeof count);
    if (!entries.empty()) {
        std::memcpy(bytes.data() + TAVL_SURVEY_HEADER_SIZE, entries.data(),
                    entries.size() * TAVL_SURVEY_ENTRY_SIZE);
    }
    return bytes;
}

std::vector<std::uint8_t> Result(const std::vector<TavlSurveyEntry>& entries) {
    return Result(static_cast<std::uint32_t>(entries.size()), entries);
}

class SurveyDecoder : public testing::Test {
protected:
    // The table's rows as "ssid|bssid|signal|channel|wep|type".
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int i = 0; i < table.Count(); ++i) {
            const CSurveyTable::Row& r = table.At(i);
            rows.push_back(std::string(r.ssid) + "|" + r.bssid + "|" + r.signal + "|" + r.channel +
                           "|" + r.wep + "|" + r.bssType);
        }
        return rows;
    }

    CardRecorder card;
    CSurveyTable table;
};

TEST_F(SurveyDecoder, FieldsToTexts) {
    struct {
        std::int32_t rssi;
        std::uint32_t khz;
        std::uint32_t privacy;
        std::uint32_t mode;
        const char* texts; // signal|channel|wep|type
    } cases[] = {
        {-60, 2412000, 0, 1, "66%|1|No|Infrastructure"},
        {-45, 2484000, 5, 0, "100%|14|Yes|Ad-Hoc"},
        {-89, 2472000, 1, 2, "2%|13|Yes|Ad-Hoc"},
        {0, 2437000, 0, 1, "n/a|6|No|Infrastructure"},
        {-90, 2437000, 0, 1, "n/a|6|No|Infrastructure"},
        {-91, 2437000, 0, 1, "n/a|6|No|Infrastructure"},
        {-32768, 2437000, 0, 1, "n/a|6|No|Infrastructure"},
        // Only the low 16 bits of the level count: 0x7FFFFFC4 is -60.
        {0x7FFFFFC4, 2437000, 0, 1, "66%|6|No|Infrastructure"},
        // A frequency with no channel shows what the library answers.
        {-60, 5180000, 0, 1, "66%|0|No|Infrastructure"},
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

TEST_F(SurveyDecoder, SsidLengthsAndBytes) {
    TavlSurveyEntry full = Entry(1, std::string(32, 'A'));
    TavlSurveyEntry tooLong = Entry(2, std::string(32, 'B'));
    tooLong.ssidLength = 33;
    TavlSurveyEntry huge = Entry(3, std::string(32, 'C'));
    huge.ssidLength = 0xFFFFFFFF;
    TavlSurveyEntry hidden = Entry(4, "");
    TavlSurveyEntry zeroInside = Entry(5, std::string("ab\0cd", 5));
    TavlSurveyEntry high = Entry(6, "caf\xE9\xFF");
    FillSurveyTable(Result({full, tooLong, huge, hidden, zeroInside, high}), card, table);
    ASSERT_EQ(4, table.Count());
    EXPECT_EQ(std::string(32, 'A'), table.At(0).ssid);
    EXPECT_EQ("", std::string(table.At(1).ssid));
    EXPECT_EQ("02-00-00-00-00-04", std::string(table.At(1).bssid));
    EXPECT_EQ("ab", std::string(table.At(2).ssid));
    EXPECT_EQ("caf\xE9\xFF", std::string(table.At(3).ssid));
}

TEST_F(SurveyDecoder, BssidsBeginningWithFourZeroBytesAreSkipped) {
    TavlSurveyEntry zero = Entry(1);
    std::memset(zero.bssid, 0, sizeof zero.bssid);
    TavlSurveyEntry zeroPrefix = Entry(2);
    const std::uint8_t prefix[6] = {0, 0, 0, 0, 0x12, 0x34};
    std::memcpy(zeroPrefix.bssid, prefix, sizeof prefix);
    TavlSurveyEntry third = Entry(3);
    const std::uint8_t nonZero[6] = {0, 0, 0, 1, 0, 0};
    std::memcpy(third.bssid, nonZero, sizeof nonZero);
    EXPECT_EQ(3u, FillSurveyTable(Result({zero, zeroPrefix, third}), card, table));
    ASSERT_EQ(1, table.Count());
    EXPECT_STREQ("00-00-00-01-00-00", table.At(0).bssid);
}

// The first entry of a BSSID wins, and repeats take no row from the later
// networks: 65 networks give the first 64 rows.
TEST_F(SurveyDecoder, RepeatedBssidsAreDroppedAndSixtyFourRowsKept) {
    std::vector<TavlSurveyEntry> entries{Entry(1, "first")};
    for (int i = 0; i < 10; ++i) {
        entries.push_back(Entry(1, "again"));
    }
    for (int i = 0; i < 64; ++i) {
        entries.push_back(Entry(i + 2));
    }
    EXPECT_EQ(75u, FillSurveyTable(Result(entries), card, table));
    ASSERT_EQ(64, table.Count());
    EXPECT_EQ("first|02-00-00-00-00-01|66%|6|No|Infrastructure", Rows()[0]);
    EXPECT_STREQ("02-00-00-00-00-40", table.At(63).bssid);
}

TEST_F(SurveyDecoder, CountsNeverLeadPastTheBuffer) {
    // Count 0 with entries behind it: nothing.
    EXPECT_EQ(0u, FillSurveyTable(Result(0, {Entry(1)}), card, table));
    EXPECT_EQ(0, table.Count());

    // The page's 7444-byte buffer holds 71 whole entries; a count of 72
    // or 0xFFFFFFFF reads those 71 and no byte more.
    std::vector<TavlSurveyEntry> entries;
    for (int i = 0; i < 71; ++i) {
        entries.push_back(Entry(i + 1));
    }
    for (std::uint32_t count : {72u, 0xFFFFFFFFu}) {
        std::vector<std::uint8_t> exact = Result(count, entries, TAVL_SURVEY_BUFFER_SIZE);
        ASSERT_EQ(std::size_t{TAVL_SURVEY_BUFFER_SIZE}, exact.size());
        EXPECT_EQ(71u, SurveyReadableCount(exact));
        // A heap buffer of exactly this size: the sanitizers catch a read past it.
        auto* heap = new std::uint8_t[exact.size()];
        std::memcpy(heap, exact.data(), exact.size());
        EXPECT_EQ(count, FillSurveyTable({heap, exact.size()}, card, table));
        delete[] heap;
        EXPECT_EQ(64, table.Count());
    }

    // A buffer shorter than one entry, or than the count itself.
    const std::vector<std::uint8_t> partial = Result(0xFFFFFFFF, {}, 100);
    EXPECT_EQ(0u, SurveyReadableCount(partial));
    EXPECT_EQ(0xFFFFFFFFu, FillSurveyTable(partial, card, table));
    EXPECT_EQ(0, table.Count());
    const std::uint8_t tiny[3] = {1, 0, 0};
    EXPECT_EQ(0u, FillSurveyTable(tiny, card, table));
    EXPECT_EQ(0u, FillSurveyTable({}, card, table));
}

TEST(SurveyTable, TextsAreCutToTheirFields) {
    CSurveyTable table;
    const std::string z(50, 'z');
    EXPECT_TRUE(table.Add({z, z, z, z, z, z}));
    const CSurveyTable::Row& r = table.At(0);
    const std::string z19(19, 'z');
    EXPECT_EQ(std::string(39, 'z'), r.ssid);
    EXPECT_EQ(z19 + z19 + z19 + z19 + z19,
              std::string(r.bssid) + r.signal + r.channel + r.wep + r.bssType);
    // A BSSID text that differs only past the field is the same row.
    EXPECT_FALSE(table.Add({z + "y", "other", "", "", "", ""}));
    EXPECT_EQ(1, table.Count());
}

} // namespace
