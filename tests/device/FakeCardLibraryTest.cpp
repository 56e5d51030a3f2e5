// The scripted fake is what every device and page test stands on: its
// default card and its scripting must behave as documented.
#include "tests/fakes/FakeCardLibrary.h"

#include "device/Records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(FakeCardLibrary, ChannelsAndFrequenciesMapBothWays) {
    FakeCardLibrary card;
    EXPECT_EQ(2412000u, card.ChannelToFrequency(1));
    EXPECT_EQ(2437000u, card.ChannelToFrequency(6));
    EXPECT_EQ(2472000u, card.ChannelToFrequency(13));
    EXPECT_EQ(2484000u, card.ChannelToFrequency(14));
    EXPECT_EQ(0u, card.ChannelToFrequency(0));
    EXPECT_EQ(0u, card.ChannelToFrequency(15));
    for (std::uint32_t ch = 1; ch <= 14; ++ch) {
        EXPECT_EQ(ch, card.FrequencyToChannel(card.ChannelToFrequency(ch)));
    }
    EXPECT_EQ(0u, card.FrequencyToChannel(2413000));
}

TEST(FakeCardLibrary, ProfileStoreAnswersWithTheLibraryCodes) {
    FakeCardLibrary card;
    char name[TAVL_NAME_BUFFER_MIN] = {};
    EXPECT_EQ(TAVL_PROFILE_NONE_ACTIVE, card.GetActiveProfileByType(name, 1));
    EXPECT_EQ(TAVL_PROFILE_ENUM_END, card.EnumProfilesByType(0, name, 1));
    // Storing into the active profile needs one.
    WirelessReg reg = DefaultWirelessReg();
    EXPECT_EQ(TAVL_PROFILE_NONE_ACTIVE, card.SetProfileWireless(nullptr, &reg));

    EXPECT_EQ(0, card.SetProfileWireless("Office", &reg));
    EXPECT_EQ(0, card.SetActiveProfileByType("OFFICE", 1));
    EXPECT_EQ(0, card.GetActiveProfileByType(name, 1));
    EXPECT_STREQ("Office", name); // the first spelling is kept

    reg.channel = 11;
    EXPECT_EQ(0, card.SetProfileWireless(nullptr, &reg));
    WirelessReg read{};
    EXPECT_EQ(0, card.GetProfileWireless("office", &read));
    EXPECT_EQ(11u, read.channel);
    EXPECT_EQ(0, card.EnumProfilesByType(0, name, 1));
    EXPECT_EQ(TAVL_PROFILE_ENUM_END, card.EnumProfilesByType(1, name, 1));

    EXPECT_EQ(0, card.DeleteProfileByType("office", 1));
    EXPECT_FALSE(card.ActiveProfile());
    EXPECT_NE(0, card.GetProfileWireless("Office", &read));
}

TEST(FakeCardLibrary, ConfigurationRoundTripsAndScriptedBitsFail) {
    FakeCardLibrary card;
    HostInfo host{};
    host.ssidLength = 3;
    std::memcpy(host.ssid, "abc", 3);
    host.powerMode = 1;
    std::uint32_t mask = TAVL_MASK_SSID | TAVL_MASK_POWER_MODE;
    EXPECT_EQ(0, card.SetWLANConfig(&mask, &host));
    EXPECT_EQ(0u, mask);

    card.FailSetBits(TAVL_MASK_POWER_MODE | TAVL_MASK_PREAMBLE, 1);
    mask = TAVL_MASK_SSID | TAVL_MASK_POWER_MODE;
    EXPECT_NE(0, card.SetWLANConfig(&mask, &host));
    EXPECT_EQ(TAVL_MASK_POWER_MODE, mask); // only bits that were asked for
    mask = TAVL_MASK_POWER_MODE;
    EXPECT_EQ(0, card.SetWLANConfig(&mask, &host)); // the script is used up

    HostInfo read{};
    mask = TAVL_MASK_SSID | TAVL_MASK_POWER_MODE;
    EXPECT_EQ(0, card.GetWLANConfig(&mask, &read));
    EXPECT_EQ(3u, read.ssidLength);
    EXPECT_EQ(1u, read.powerMode);

    const auto sets = card.CallsNamed("SetWLANConfig");
    ASSERT_EQ(3u, sets.size());
    EXPECT_EQ(TAVL_MASK_POWER_MODE, sets[1].maskOut);
    EXPECT_NE(std::string::npos, card.Log().find("SetWLANConfig mask=0x00000006")) << card.Log();
}

TEST(FakeCardLibrary, KeyBlocksAreDecodedAtCallTime) {
    FakeCardLibrary card;
    WepKeyBuffer block{};
    block.length = 20;
    block.keyIndex = 2 | TAVL_WEP_TRANSMIT_KEY;
    block.keyLength = 5;
    const std::uint8_t bytes[5] = {0x3A, 0x9C, 0x17, 0xE0, 0x5B};
    std::memcpy(block.keyMaterial, bytes, 5);
    HostInfo host{};
    TavlSetWepKey(&host, 2, &block);
    std::uint32_t mask = TAVL_MASK_WEP_KEY1 << 2 | TAVL_MASK_WEP_KEY1 << 3;
    card.SetWLANConfig(&mask, &host);
    block.keyLength = 13; // later changes do not reach the record

    const CardCall call = *card.LastCall("SetWLANConfig");
    ASSERT_NE(nullptr, call.Key(2));
    EXPECT_TRUE(call.Key(2)->transmit);
    EXPECT_EQ(5u, call.Key(2)->keyLength);
    EXPECT_EQ("3A9C17E05B", call.Key(2)->Hex());
    EXPECT_EQ(std::vector<int>{3}, call.nullWepSlots);
}

TEST(FakeCardLibrary, MediaStatusAndScriptedQueryFailures) {
    FakeCardLibrary card;
    card.SetMediaStatus(1);
    std::uint32_t value = 7;
    std::uint32_t written = 0;
    EXPECT_EQ(0, card.QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &value, 4, &written));
    EXPECT_EQ(1u, value);
    EXPECT_EQ(4u, written);
    card.FailQueryOID(1);
    EXPECT_NE(0, card.QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &value, 4, &written));
    EXPECT_EQ(0u, written);
}

TEST(FakeCardLibrary, CallsAfterTerminateAreCounted) {
    FakeCardLibrary card;
    std::uint8_t info[TAVL_DETECT_INFO_SIZE];
    card.Detect(info);
    card.Terminate();
    EXPECT_EQ(0u, card.CallsAfterTerminate());
    card.Detect(info);
    EXPECT_EQ(1u, card.CallsAfterTerminate());
    EXPECT_EQ((std::vector<std::string>{"Detect", "Terminate", "Detect"}), card.CallNames());
}

} // namespace
