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

std::uint32_t Get(std::uint32_t mask) {
    HostInfo host{};
    return GetMask(mask, &host);
}

// Only calls of the chosen kind that name a failing bit count; a count
// of -1 never runs out; a new serial counts afresh, another edit does not.
TEST(FailureInjection, ChosenBitsFailTheNextCallsThatNameThem) {
    using cardsim::FailCalls;
    SimHome home;
    home.SetWorld(WithFailure(TAVL_MASK_SSID | TAVL_MASK_WEP_STATUS, 2, FailCalls::Both, 1));
    EXPECT_EQ(0u, SetMask(TAVL_MASK_INFRASTRUCTURE));
    EXPECT_EQ(TAVL_MASK_SSID, SetMask(TAVL_MASK_INFRASTRUCTURE | TAVL_MASK_SSID));
    EXPECT_EQ(TAVL_MASK_SSID, Get(TAVL_MASK_SSID | TAVL_MASK_CONFIGURATION));
    EXPECT_EQ(0u, SetMask(TAVL_MASK_SSID)) << "the third call succeeds";

    home.SetWorld(WithFailure(TAVL_MASK_SSID, -1, FailCalls::Set, 2));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(0u, Get(TAVL_MASK_SSID));
        EXPECT_EQ(TAVL_MASK_SSID, SetMask(TAVL_MASK_SSID | TAVL_MASK_INFRASTRUCTURE));
    }

    home.SetWorld(WithFailure(TAVL_MASK_SSID, 1, FailCalls::Get, 3));
    EXPECT_EQ(TAVL_MASK_SSID, Get(TAVL_MASK_SSID));
    EXPECT_EQ(0u, Get(TAVL_MASK_SSID));
    cardsim::World same = WithFailure(TAVL_MASK_SSID, 1, FailCalls::Get, 3);
    same.networks.pop_back(); // another edit of the world, the same setting
    home.SetWorld(same);
    EXPECT_EQ(0u, Get(TAVL_MASK_SSID));
}

} // namespace
