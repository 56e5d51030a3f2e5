#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

namespace {

std::uint32_t Get(std::uint32_t mask) {
    HostInfo host{};
    return GetMask(mask, &host);
}

// Only calls of the chosen kind that name a failing bit count; a count
// of -1 never runs out; a new serial counts afresh, another edit does not.
TEST(FailureInjection, ChosenBitsFailTheNextCallsThatNameThem) {
    using cardsim::FailCalls;
    SimHome home;
    const auto fail = [&](std::uint32_t mask, std::int64_t count, FailCalls calls) {
        home.EditWorld([&](cardsim::World& w) {
            w.fail = {mask, count, calls, false, false, w.fail.serial + 1};
        });
    };
    fail(TAVL_MASK_SSID | TAVL_MASK_WEP_STATUS, 2, FailCalls::Both);
    EXPECT_EQ(0u, SetMask(TAVL_MASK_INFRASTRUCTURE));
    EXPECT_EQ(TAVL_MASK_SSID, SetMask(TAVL_MASK_INFRASTRUCTURE | TAVL_MASK_SSID));
    EXPECT_EQ(TAVL_MASK_SSID, Get(TAVL_MASK_SSID | TAVL_MASK_CONFIGURATION));
    EXPECT_EQ(0u, SetMask(TAVL_MASK_SSID)) << "the third call succeeds";

    fail(TAVL_MASK_SSID, -1, FailCalls::Set);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(0u, Get(TAVL_MASK_SSID));
        EXPECT_EQ(TAVL_MASK_SSID, SetMask(TAVL_MASK_SSID | TAVL_MASK_INFRASTRUCTURE));
    }

    fail(TAVL_MASK_SSID, 1, FailCalls::Get);
    EXPECT_EQ(TAVL_MASK_SSID, Get(TAVL_MASK_SSID));
    EXPECT_EQ(0u, Get(TAVL_MASK_SSID));
    // Another edit of the world, the same failure setting.
    home.EditWorld([](cardsim::World& w) { w.scanMs = 1; });
    EXPECT_EQ(0u, Get(TAVL_MASK_SSID));
}

} // namespace
