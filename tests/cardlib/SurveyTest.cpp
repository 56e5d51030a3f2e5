#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using cardsim::NetMode;

std::uint32_t Word(const std::uint8_t* at) {
    std::uint32_t value = 0;
    std::memcpy(&value, at, 4);
    return value;
}

cardsim::World CrowdedAir(int count) {
    cardsim::World world = EmptyWorld();
    for (int i = 0; i < count; ++i) {
        char bssid[18];
        std::snprintf(bssid, sizeof bssid, "00:0C:2B:10:%02X:%02X", (i >> 8) & 0xFF, i & 0xFF);
        world.networks.push_back(MakeNet("Net " + std::to_string(i), bssid,
                                         1 + static_cast<std::uint32_t>(i % 11), -40 - i % 50));
    }
    return world;
}

TEST(SiteSurvey, ResultParsesBackFieldByField) {
    SimHome home;
    cardsim::World world = cardsim::DefaultWorld(); // open, WEP and ad hoc networks
    world.scanMs = 0;
    cardsim::Network hidden = MakeNet("Backroom", "00:0C:2B:4A:10:03", 1, -90);
    hidden.hidden = true;
    world.networks.push_back(hidden);
    home.SetWorld(world);

    ASSERT_EQ(0, TAVL_SiteSurveyTrigger());
    std::vector<std::uint8_t> buffer(TAVL_SURVEY_BUFFER_SIZE);
    std::uint32_t size = TAVL_SURVEY_BUFFER_SIZE;
    ASSERT_EQ(1, TAVL_SiteSurveyGet(buffer.data(), &size));
    ASSERT_EQ(4u, Word(buffer.data()));

    // Each entry as one line: BSSID's last byte, SSID, privacy, signal,
    // frequency, infrastructure, and the fixed words and the 54 Mbit/s rate.
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < 4; ++i) {
        TavlSurveyEntry e;
        std::memcpy(&e, buffer.data() + TAVL_SURVEY_HEADER_SIZE + i * TAVL_SURVEY_ENTRY_SIZE,
                    sizeof e);
        char line[160];
        std::snprintf(line, sizeof line, "%02X %.*s %u %d %u %u / %u %02X %u %u %u %02X",
                      e.bssid[5], static_cast<int>(std::min(e.ssidLength, 32u)), e.ssid, e.privacy,
                      static_cast<std::int16_t>(e.rssi & 0xFFFF), e.dsConfig, e.infrastructureMode,
                      e.length, e.bssid[1], e.networkType, e.configurationLength, e.beaconPeriod,
                      e.supportedRates[7]);
        entries.push_back(line);
    }
    EXPECT_EQ((std::vector<std::string>{"01 Corvane 0 -48 2437000 1 / 104 0C 1 32 100 6C",
                                        "02 Harbour Office 1 -67 2462000 1 / 104 0C 1 32 100 6C",
                                        "05 Workshop Cell 0 -74 2422000 0 / 104 0C 1 32 100 6C",
                                        "03  0 -90 2412000 1 / 104 0C 1 32 100 6C"}),
              entries);
}

// Only whole entries are written, as many as the size given holds, with
// the real count; a size below one entry fails and writes nothing.
TEST(SiteSurvey, BufferHoldsWholeEntriesOnlyAndTheRealCount) {
    SimHome home;
    home.SetWorld(CrowdedAir(80));
    ASSERT_EQ(0, TAVL_SiteSurveyTrigger());
    constexpr std::size_t kEntry = TAVL_SURVEY_ENTRY_SIZE;
    for (std::uint32_t size :
         {0u, 3u, 4u, 107u, 108u, 211u, std::uint32_t{TAVL_SURVEY_BUFFER_SIZE}}) {
        std::vector<std::uint8_t> buffer(TAVL_SURVEY_BUFFER_SIZE + 512, 0xAB);
        std::uint32_t given = size;
        const std::size_t whole = size < TAVL_SURVEY_HEADER_SIZE ? 0 : (size - 4) / kEntry;
        ASSERT_EQ(whole > 0, TAVL_SiteSurveyGet(buffer.data(), &given) == 1) << size;
        EXPECT_EQ(size, given) << "the size word is left as given";
        const std::size_t used = whole > 0 ? TAVL_SURVEY_HEADER_SIZE + whole * kEntry : 0;
        if (whole > 0) {
            EXPECT_EQ(80u, Word(buffer.data()));
            EXPECT_EQ(kEntry, Word(buffer.data() + used - kEntry)) << size;
            EXPECT_EQ(whole - 1, buffer[used - kEntry + 9]) << size; // its BSSID's last byte
        }
        EXPECT_EQ(std::vector<std::uint8_t>(buffer.size() - used, 0xAB),
                  std::vector<std::uint8_t>(buffer.begin() + used, buffer.end()))
            << size;
    }
}

TEST(SiteSurvey, ResultAppearsWhenTheScanHasFinished) {
    SimHome home;
    cardsim::World world = CrowdedAir(2);
    world.scanMs = 60000;
    home.SetWorld(world);
    EXPECT_EQ(0u, SurveyCount()) << "no scan has finished yet";
    world.scanMs = 0;
    home.SetWorld(world);
    EXPECT_EQ(2u, SurveyCount());
}

// Each domain's channels, told by networks on the edges of the ranges.
TEST(SiteSurvey, ListsOnlyChannelsOfTheDomain) {
    SimHome home;
    cardsim::World world = EmptyWorld();
    for (std::uint32_t channel : {1u, 6u, 10u, 11u, 13u, 14u}) {
        char bssid[18];
        std::snprintf(bssid, sizeof bssid, "00:0C:2B:4A:10:%02X", channel);
        world.networks.push_back(MakeNet("Net", bssid, channel, -50));
    }
    home.SetWorld(world);
    for (auto [domain, count] : {std::pair{0, 4u}, {1, 5u}, {2, 2u}, {3, 3u}, {4, 6u}}) {
        ASSERT_EQ(0, TAVL_SetWLDomain(domain));
        EXPECT_EQ(count, SurveyCount()) << "domain " << domain;
    }
}

TEST(ChannelTable, FrequenciesOfTheBandAndBack) {
    const std::pair<std::uint32_t, std::uint32_t> both[] = {
        {1, 2412000}, {6, 2437000}, {13, 2472000}, {14, 2484000}};
    for (const auto& [channel, khz] : both) {
        EXPECT_EQ(khz, TAVL_ChannelToFrequency(channel));
        EXPECT_EQ(channel, TAVL_FrequencyToChannel(khz));
    }
    for (std::uint32_t bad : {0u, 15u, 0xFFFFFFFFu, 2437u, 2413000u, 2489000u}) {
        EXPECT_EQ(0u, TAVL_ChannelToFrequency(bad));
        EXPECT_EQ(0u, TAVL_FrequencyToChannel(bad));
    }
}

} // namespace
