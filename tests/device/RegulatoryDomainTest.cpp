#include "device/RegulatoryDomain.h"
#include "device/HostState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <utility>

namespace {

// Five digits summing to 25 select the domain by the third digit.
TEST(RegulatoryDomain, DomainEntrySelectsTheDomain) {
    const std::pair<const char*, std::int32_t>
        cases[] =
            {
                {"91249", 2}, {"99205", 2}, {"0727900", 2}, {"97405", 4},
                {"99133", 1}, {"88333", 3}, {"55555", 0}, // third digit 5: out of range
                {"77200", 0},                             // sum 16
                {"9961", 0},  {"", 0},      {"abcde", 0},   {"50983", 0},
                {"/1;95", 0}, // sum 25 with "/" as -1; the third gives 11
            };
    for (const auto& [entry, domain] : cases) {
        EXPECT_EQ(domain, DomainFromEntry(entry)) << entry;
    }
}

TEST(RegulatoryDomain, ChannelEntryGivesTheMask) {
    const std::pair<std::string, std::uint16_t> cases[] = {
        {"11111111111", 0x07FF},
        {"1x1", 0x0005},
        {"0000000000000000111", 0},           // positions 16.. are ignored
        {std::string(32, '1') + "1", 0xFFFF}, // position 32 wraps to bit 0
        {std::string(100000, '1'), 0xFFFF},   // longer than any buffer
    };
    for (const auto& [entry, mask] : cases) {
        EXPECT_EQ(mask, ChannelMaskFromEntry(entry)) << entry.substr(0, 40);
    }
}

class SettingsFile : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("skerrin-ini-" + std::to_string(getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "skerrin.bin").string();
        ResetHostState();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }

    std::filesystem::path dir_;
    std::string path_;
};

// One pair of enclosing quotes is not part of a value; a lone or
// mismatched quote is.
TEST_F(SettingsFile, EnclosingQuotesAreNotPartOfTheValue) {
    const struct {
        const char* text;
        std::int32_t domain;
        std::uint16_t mask;
    } cases[] = {
        {"[ini]\r\n d = 91249 \r\nCH=0000000000001\r\n", 2, 0x1000},
        {"[INI]\nD=\"91249\"\nCh=\"11111111111\"\n", 2, 0x07FF},
        {"[INI]\nD = '91249' \nCh='1'\n", 2, 0x0001},
        {"[INI]\nD=\"91249'\nCh=\"1\n", 0, 0x0002},
        {"[INI]\nD=\"\"91249\"\"\nCh=\"\n", 0, 0x0000},
    };
    for (const auto& c : cases) {
        Write(c.text);
        ReadDomainSettings(path_);
        EXPECT_EQ(c.domain, gDomain) << c.text;
        EXPECT_EQ(c.mask, gIniChannelMask) << c.text;
    }
}

TEST_F(SettingsFile, BadFilesGiveDomainZeroAndNoOverride) {
    const std::string garbage("\x01\xff\x00[INI\nD=\x80\x80", 12);
    const std::string hugeLine =
        "[INI]\nD=" + std::string(100 * 1024, '5') + "\nCh=" + std::string(300, '1') + "\n";
    for (const std::string& text : {std::string{}, garbage, std::string("[OTHER]\nD=91249\n"),
                                    std::string("[INI]\nD=9124\n"), hugeLine}) {
        Write(text);
        gDomain = 3;
        gIniChannelMask = 7;
        ReadDomainSettings(path_);
        EXPECT_EQ(0, gDomain);
        EXPECT_EQ(text == hugeLine ? 0xFFFF : 0, gIniChannelMask);
    }
    for (const std::filesystem::path& unreadable : {dir_ / "absent.bin", dir_}) {
        gDomain = 3;
        gIniChannelMask = 7;
        ReadDomainSettings(unreadable.string());
        EXPECT_EQ(0, gDomain);
        EXPECT_EQ(0, gIniChannelMask);
    }
}

} // namespace
