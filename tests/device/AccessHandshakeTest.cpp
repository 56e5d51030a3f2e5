// A handshake taken inside another holder's nested wait neither waits nor
// lets the polling thread go before the outer holder is done.
#include "device/AccessHandshake.h"

#include "device/VirtualClock.h"

#include <gtest/gtest.h>

namespace {

TEST(AccessHandshake, OnlyTheOutermostHolderTakesAndReleasesTheHold) {
    SheetState sheet;
    VirtualClock clock;
    {
        const CAccessHandshake page(sheet, clock);
        EXPECT_FALSE(sheet.background.IsSet());
        const std::uint32_t before = clock.TickCount();
        {
            // The tray tip's read, then a page-set check, drained meanwhile.
            const CAccessHandshake tip(sheet, clock);
            const CPollingHold pages(sheet);
        }
        EXPECT_EQ(before, clock.TickCount()); // no second wait for `forground`
        EXPECT_FALSE(sheet.background.IsSet());
    }
    EXPECT_TRUE(sheet.background.IsSet());
    EXPECT_EQ(0, sheet.holders);
}

} // namespace
