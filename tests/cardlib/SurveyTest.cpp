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
    home.WriteWorld(world);

    ASSERT_EQ(0, TAVL_SiteSurveyTrigger());
    std::vector<std::uint8_t> buffer(TAVL_SURVEY_BUFFER_SIZE, 0xAB);
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
    EXPECT_EQ(0xAB, buffer[TAVL_SURVEY_HEADER_SIZE + 4 * TAVL_SURVEY_ENTRY_SIZE]);
}

TEST(SiteSurvey, FullBufferHoldsSeventyOneWholeEntriesAndTheRealCount) {
    SimHome home;
    home.WriteWorld(CrowdedAir(80));
    ASSERT_EQ(0, TAVL_SiteSurveyTrigger());
    std::vector<std::uint8_t> buffer(TAVL_SURVEY_BUFFER_SIZE + 512, 0xAB);
    std::uint32_t size = TAVL_SURVEY_BUFFER_SIZE;
    ASSERT_EQ(1, TAVL_SiteSurveyGet(buffer.data(), &size));
    EXPECT_EQ(80u, Word(buffer.data()));
    const std::size_t used = TAVL_SURVEY_HEADER_SIZE + 71 * TAVL_SURVEY_ENTRY_SIZE;
    EXPECT_EQ(104u, Word(buffer.data() + TAVL_SURVEY_HEADER_SIZE + 70 * TAVL_SURVEY_ENTRY_SIZE));
    EXPECT_EQ(70, buffer[TAVL_SURVEY_HEADER_SIZE + 70 * TAVL_SURVEY_ENTRY_SIZE + 9]);
    for (std::size_t i = used; i < buffer.size(); ++i) {
        ASSERT_EQ(0xAB, buffer[i]) << "byte " << i << " lies past the last whole entry";
    }
    EXPECT_EQ(TAVL_SURVEY_BUFFER_SIZE, size) << "the size word is left as given";
}

TEST(SiteSurvey, SizeSmallerThanOneEntryFailsWithoutWriting) {
    SimHome home;
    home.WriteWorld(CrowdedAir(3));
    ASSERT_EQ(0, TAVL_SiteSurveyTrigger());
    for (std::uint32_t size : {0u, 3u, 4u, 107u}) {
        std::vector<std::uint8_t> buffer(200, 0xAB);
        std::uint32_t given = size;
        EXPECT_NE(1, TAVL_SiteSurveyGet(buffer.data(), &given)) << size;
        EXPECT_EQ(std::vector<std::uint8_t>(200, 0xAB), buffer) << size;
    }
    std::vector<std::uint8_t> buffer(200, 0xAB);
    std::uint32_t size = 108;
    EXPECT_EQ(1, TAVL_SiteSurveyGet(buffer.data(), &size));
    EXPECT_EQ(3u, Word(buffer.data()));
    EXPECT_EQ(0xAB, buffer[108]);
}

TEST(SiteSurvey, ResultAppearsWhenTheScanHasFinished) {
    SimHome home;
    cardsim::World world = CrowdedAir(2);
    world.scanMs = 60000;
    home.WriteWorld(world);
    EXPECT_EQ(0u, SurveyCount()) << "no scan has finished yet";
    world.scanMs = 0;
    home.WriteWorld(world);
    EXPECT_EQ(2u, SurveyCount());
}

TEST(SiteSurvey, ListsOnlyChannelsOfTheDomain) {
    SimHome home;
    cardsim::World world = EmptyWorld();
    world.networks.push_back(MakeNet("Six", "00:0C:2B:4A:10:06", 6, -50));
    world.networks.push_back(MakeNet("Ten", "00:0C:2B:4A:10:0A", 10, -50));
    world.networks.push_back(MakeNet("Fourteen", "00:0C:2B:4A:10:0E", 14, -50));
    home.WriteWorld(world);
    for (auto [domain, count] : {std::pair{0, 2u}, {2, 1u}, {4, 3u}}) {
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

TEST(ChannelTable, DomainMasksReachTheCaller) {
    SimHome home;
    const std::pair<std::int32_t, std::uint16_t> table[] = {
        {0, 0x07FF}, {1, 0x1FFF}, {2, 0x0600}, {3, 0x1E00}, {4, 0x3FFF}};
    for (const auto& [domain, expected] : table) {
        ASSERT_EQ(0, TAVL_SetWLDomain(domain));
        HostInfo host{};
        std::uint32_t mask = TAVL_MASK_CHANNEL_MASK;
        ASSERT_EQ(0, TAVL_GetWLANConfig(&mask, &host));
        EXPECT_EQ(expected, host.channelMask) << "domain " << domain;
    }
}

} // namespace
