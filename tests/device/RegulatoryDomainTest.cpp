#include "device/RegulatoryDomain.h"
#include "device/HostState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

struct DomainCase {
    const char* entry;
    std::int32_t domain;
};

class DomainEntry : public testing::TestWithParam<DomainCase> {};

TEST_P(DomainEntry, SelectsTheDomain) {
    EXPECT_EQ(GetParam().domain, DomainFromEntry(GetParam().entry)) << GetParam().entry;
}

INSTANTIATE_TEST_SUITE_P(
    RegulatoryDomain, DomainEntry,
    testing::Values(DomainCase{"55555", 0},   // sum 25, third digit 5: out of range
                    DomainCase{"77200", 0},   // sum 16: ignored
                    DomainCase{"0727900", 2}, // sum 25 over the first five, third 2
                    DomainCase{"9961", 0},    // four characters
                    DomainCase{"", 0}, DomainCase{"abcde", 0},
                    DomainCase{"97405", 4},   // 9+7+4+0+5 = 25, MKK
                    DomainCase{"99133", 1},   // ETSI
                    DomainCase{"88333", 3},   // FRANCE
                    DomainCase{"50983", 0},   // sum 25, third 9
                    DomainCase{"/1;95", 0})); // sum 25 with "/" as -1; third gives 11

TEST(RegulatoryDomain, SpainFromDigitsSummingTo25) {
    EXPECT_EQ(2, DomainFromEntry("91249"));
    EXPECT_EQ(2, DomainFromEntry("99205"));
}

struct MaskCase {
    const char* entry;
    std::uint16_t mask;
};

class ChannelEntry : public testing::TestWithParam<MaskCase> {};

TEST_P(ChannelEntry, GivesTheMask) {
    EXPECT_EQ(GetParam().mask, ChannelMaskFromEntry(GetParam().entry)) << GetParam().entry;
}

INSTANTIATE_TEST_SUITE_P(
    RegulatoryDomain, ChannelEntry,
    testing::Values(MaskCase{"11111111111", 0x07FF}, MaskCase{"000000000000100", 0x1000},
                    MaskCase{"", 0}, MaskCase{"1x1", 0x0005},
                    MaskCase{"0000000000000000111", 0},         // positions 16.. are ignored
                    MaskCase{"11111111111111111111111111111111" // position 32 wraps to bit 0
                             "1",
                             0xFFFF}));

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
