#include "device/RegulatoryDomain.h"
#include "device/HostState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <utility>

namespace {

TEST(RegulatoryDomain, DomainEntrySelectsTheDomain) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"55555", 0},                               // sum 25, third digit 5: out of range
        {"77200", 0},                               // sum 16: ignored
        {"0727900", 2},                             // sum 25 over the first five, third 2
        {"9961", 0},                                // four characters
        {"", 0},        {"abcde", 0}, {"97405", 4}, // 9+7+4+0+5 = 25, MKK
        {"99133", 1},                               // ETSI
        {"88333", 3},                               // FRANCE
        {"50983", 0},                               // sum 25, third 9
        {"/1;95", 0},                               // sum 25 with "/" as -1; third gives 11
    };
    for (const auto& [entry, domain] : cases) {
        EXPECT_EQ(domain, DomainFromEntry(entry)) << entry;
    }
}

TEST(RegulatoryDomain, SpainFromDigitsSummingTo25) {
    EXPECT_EQ(2, DomainFromEntry("91249"));
    EXPECT_EQ(2, DomainFromEntry("99205"));
}

TEST(RegulatoryDomain, ChannelEntryGivesTheMask) {
    const std::pair<std::string, std::uint16_t> cases[] = {
        {"11111111111", 0x07FF},
        {"000000000000100", 0x1000},
        {"", 0},
        {"1x1", 0x0005},
        {"0000000000000000111", 0},           // positions 16.. are ignored
        {std::string(32, '1') + "1", 0xFFFF}, // position 32 wraps to bit 0
    };
    for (const auto& [entry, mask] : cases) {
        EXPECT_EQ(mask, ChannelMaskFromEntry(entry)) << entry;
    }
}

TEST(RegulatoryDomain, ChannelEntryLongerThanTheBufferNeverOverruns) {
    std::string entry(100000, '1');
    EXPECT_EQ(0xFFFF, ChannelMaskFromEntry(entry));
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

TEST_F(SettingsFile, ReadsDomainAndChannelsFromSectionIni) {
    Write("[ini]\r\n d = 91249 \r\nCH=0000000000001\r\n");
    ReadDomainSettings(path_);
    EXPECT_EQ(2, gDomain);
    EXPECT_EQ(0x1000, gIniChannelMask);
}

// One pair of enclosing quotes is not part of a value; a lone or
// mismatched quote is.
TEST_F(SettingsFile, EnclosingQuotesAreNotPartOfTheValue) {
    const struct {
        const char* text;
        std::int32_t domain;
        std::uint16_t mask;
    } cases[] = {
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
        if (text == hugeLine) {
            EXPECT_EQ(0xFFFF, gIniChannelMask);
        } else {
            EXPECT_EQ(0, gIniChannelMask);
        }
    }
}

TEST_F(SettingsFile, MissingOrDirectoryGivesDefaults) {
    gDomain = 3;
    ReadDomainSettings((dir_ / "absent.bin").string());
    EXPECT_EQ(0, gDomain);
    gDomain = 3;
    ReadDomainSettings(dir_.string());
    EXPECT_EQ(0, gDomain);
    EXPECT_EQ(0, gIniChannelMask);
}

} // namespace
