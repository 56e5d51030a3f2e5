#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

namespace {

cardsim::World WithFailure(std::uint32_t mask, std::int64_t count, cardsim::FailCalls calls,
                           std::uint64_t serial) {
    cardsim::World world = cardsim::DefaultWorld();
    world.fail.mask = mask;
    world.fail.count = count;
    world.fail.calls = calls;
    world.fail.serial = serial;
    return world;
}

std::uint32_t Set(std::uint32_t mask) {
    HostInfo host{};
    host.infrastructureMode = 1;
    host.ssidLength = 3;
    std::copy_n("any", 3, host.ssid);
    TAVL_SetWLANConfig(&mask, &host);
    return mask;
}

std::uint32_t Get(std::uint32_t mask) {
    HostInfo host{};
    TAVL_GetWLANConfig(&mask, &host);
    return mask;
}

TEST(FailureInjection, ChosenBitsFailTheNextCallsThatNameThem) {
    SimHome home;
    home.WriteWorld(
        WithFailure(TAVL_MASK_SSID | TAVL_MASK_WEP_STATUS, 2, cardsim::FailCalls::Both, 1));
    EXPECT_EQ(0u, Set(TAVL_MASK_INFRASTRUCTURE)) << "calls that name no failing bit do not count";
    EXPECT_EQ(TAVL_MASK_SSID, Set(TAVL_MASK_INFRASTRUCTURE | TAVL_MASK_SSID));
    EXPECT_EQ(TAVL_MASK_SSID, Get(TAVL_MASK_SSID | TAVL_MASK_CONFIGURATION));
    EXPECT_EQ(0u, Set(TAVL_MASK_SSID)) << "the third call succeeds";
}

TEST(FailureInjection, OnlyTheChosenKindOfCall) {
    SimHome home;
    home.WriteWorld(WithFailure(TAVL_MASK_SSID, -1, cardsim::FailCalls::Set, 1));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(0u, Get(TAVL_MASK_SSID));
        EXPECT_EQ(TAVL_MASK_SSID, Set(TAVL_MASK_SSID | TAVL_MASK_INFRASTRUCTURE));
    }
}

TEST(FailureInjection, NewSettingCountsAfresh) {
    SimHome home;
    home.WriteWorld(WithFailure(TAVL_MASK_SSID, 1, cardsim::FailCalls::Get, 1));
    EXPECT_EQ(TAVL_MASK_SSID, Get(TAVL_MASK_SSID));
    EXPECT_EQ(0u, Get(TAVL_MASK_SSID));
    cardsim::World same = WithFailure(TAVL_MASK_SSID, 1, cardsim::FailCalls::Get, 1);
    same.networks.pop_back(); // another edit of the world, the same setting
    home.WriteWorld(same);
    EXPECT_EQ(0u, Get(TAVL_MASK_SSID));
    home.WriteWorld(WithFailure(TAVL_MASK_SSID, 1, cardsim::FailCalls::Get, 2));
    EXPECT_EQ(TAVL_MASK_SSID, Get(TAVL_MASK_SSID));
}

TEST(FailureInjection, StatusQueryAndDetectionFail) {
    SimHome home;
    cardsim::World world = cardsim::DefaultWorld();
    world.fail.query = true;
    world.fail.detect = true;
    home.WriteWorld(world);
    std::uint32_t value = 0;
    std::uint32_t written = 9;
    EXPECT_NE(0, TAVL_QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &value, 4, &written));
    EXPECT_EQ(0u, written);
    std::uint8_t info[TAVL_DETECT_INFO_SIZE];
    EXPECT_EQ(0, TAVL_Detect(info));
    EXPECT_EQ(0u, Get(TAVL_MASK_FIRMWARE_VERSION)) << "the card still answers";
}

} // namespace
