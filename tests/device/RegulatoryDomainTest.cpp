#include "device/RegulatoryDomain.h"
#include "device/HostState.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <utility>

namespace {

// Five digits summing to 25 select the domain by the third digit: "55555"
// (third digit 5) is out of range, "77200" sums to 16, "/1;95" sums to 25
// with "/" as -1 and its third gives 11.
TEST(RegulatoryDomain, DomainEntrySelectsTheDomain) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"91249", 2}, {"99205", 2}, {"0727900", 2}, {"97405", 4}, {"99133", 1},
        {"88333", 3}, {"55555", 0}, {"77200", 0},   {"9961", 0},  {"", 0},
        {"abcde", 0}, {"50983", 0}, {"/1;95", 0},
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

// Section INI, entries D and Ch; one pair of enclosing quotes is not part
// of a value, a lone or mismatched quote is. A bad, missing or unreadable
// file gives domain 0 and no channel override.
TEST(RegulatoryDomain, SettingsFileGivesDomainAndChannels) {
    ResetHostState();
    const auto dir =
        std::filesystem::temp_directory_path() / ("skerrin-ini-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "skerrin.bin").string();
    const struct {
        std::string text;
        std::int32_t domain;
        std::uint16_t mask;
    } cases[] = {
        {"[ini]\r\n d = 91249 \r\nCH=0000000000001\r\n", 2, 0x1000},
        {"[INI]\nD=\"91249\"\nCh=\"11111111111\"\n", 2, 0x07FF},
        {"[INI]\nD = '91249' \nCh='1'\n", 2, 0x0001},
        {"[INI]\nD=\"91249'\nCh=\"1\n", 0, 0x0002},
        {"[INI]\nD=\"\"91249\"\"\nCh=\"\n", 0, 0x0000},
        {"", 0, 0},
        {std::string("\x01\xff\x00[INI\nD=\x80\x80", 12), 0, 0},
        {"[OTHER]\nD=91249\n", 0, 0},
        {"[INI]\nD=9124\n", 0, 0},
        {"[INI]\nD=" + std::string(100 * 1024, '5') + "\nCh=" + std::string(300, '1') + "\n", 0,
         0xFFFF},
    };
    for (const auto& c : cases) {
        std::ofstream(path, std::ios::binary) << c.text;
        gDomain = 3;
        gIniChannelMask = 7;
        ReadDomainSettings(path);
        EXPECT_EQ(c.domain, gDomain) << c.text.substr(0, 40);
        EXPECT_EQ(c.mask, gIniChannelMask) << c.text.substr(0, 40);
    }
    for (const std::filesystem::path& unreadable : {dir / "absent.bin", dir}) {
        gDomain = 3;
        gIniChannelMask = 7;
        ReadDomainSettings(unreadable.string());
        EXPECT_EQ(0, gDomain);
        EXPECT_EQ(0, gIniChannelMask);
    }
    std::filesystem::remove_all(dir);
}

} // namespace
