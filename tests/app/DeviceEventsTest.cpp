#include "app/DeviceEvents.h"
#include "SheetHarness.h"
#include "app/ZeroConfigPages.h"
#include "device/HostUi.h"
#include "support/MessageChannel.h"

#include <gtest/gtest.h>

#include <QTabWidget>

namespace {

QStringList Titles(CConfigUtility& sheet) {
    QStringList titles;
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        titles << sheet.GetPage(i)->Title();
    }
    return titles;
}

const QStringList kFivePages{"Link Info", "Configuration", "Site Survey", "Encryption", "About"};
const QStringList kThreePages{"Link Info", "Site Survey", "About"};
constexpr const char* kCardId = "PCI\\VEN_1A2B&DEV_2093\\4&1234";

class DeviceEventsTest : public testing::Test {
protected:
    DeviceEventsTest()
        : pages_(h_.card, *h_.sheet),
          events_(h_.card, *h_.sheet, pages_,
                  DeviceEventHooks{[this](int id) { icons_.push_back(id); },
                                   [this](std::uint32_t ms) { sleeps_.push_back(ms); },
                                   [this](std::uint32_t ms) { waits_.push_back(ms); }}) {}

    SheetHarness h_;
    CZeroConfigPages pages_;
    CDeviceEvents events_;
    std::vector<int> icons_;
    std::vector<std::uint32_t> sleeps_, waits_;
};

TEST_F(DeviceEventsTest, IdentifierFilter) {
    struct Case {
        const char* id;
        bool accepted;
    };
    const Case cases[] = {
        {"PCI\\VEN_1A2B&DEV_2093\\1", true},
        {"pci\\ven_1a2b", true},
        {"USB\\VID_1&PID_2", true},
        {"PCMCIA\\CARD", true},
        {"ROOT\\NETWORK\\PCI\\0000", false},
        {"network\\pci\\x", false},
        {"ACPI\\PNP0A03", false},
        {"", false},
        {"PCI", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.accepted, CDeviceEvents::AcceptsIdentifier(c.id)) << c.id;
    }
}

TEST_F(DeviceEventsTest, ArrivalWithCardShowsIconAndStartsTimer7) {
    gOsClass = kOsNt51;
    EXPECT_TRUE(events_.OnDeviceChange(kDbtDeviceArrival, kCardId));
    EXPECT_EQ((std::vector<int>{kTrayIconNotConnected}), icons_);
    EXPECT_EQ(1, gDevicePresent);
    EXPECT_TRUE(events_.ArrivalTimer().isActive());
    EXPECT_EQ(kArrivalTimerMs, events_.ArrivalTimer().interval());

    gApplyConfigRequest = 0;
    events_.OnTimer();
    EXPECT_FALSE(events_.ArrivalTimer().isActive());
    EXPECT_EQ(1, gApplyConfigRequest);
}

TEST_F(DeviceEventsTest, RejectedIdentifiersTouchNothing) {
    gOsClass = kOsNt51;
    for (const char* id : {"ROOT\\NETWORK\\PCI\\1", "ACPI\\X"}) {
        events_.OnDeviceChange(kDbtDeviceArrival, id);
        events_.OnDeviceChange(kDbtDeviceRemoveComplete, id);
    }
    EXPECT_TRUE(icons_.empty());
    EXPECT_EQ(0u, h_.card.CountOf("Detect"));
}

TEST_F(DeviceEventsTest, RemovalOfAnAbsentCardRemovesIconAndClosesSheet) {
    gOsClass = kOsNt51;
    gDevicePresent = 1;
    h_.card.SetPresent(false);
    h_.Open();
    events_.OnDeviceChange(kDbtDeviceRemoveComplete, kCardId);
    EXPECT_EQ((std::vector<int>{kTrayIconRemove}), icons_);
    EXPECT_EQ(0, gDevicePresent);
    EXPECT_FALSE(h_.sheet->isVisible());
}

TEST_F(DeviceEventsTest, RemovalOfAnotherDeviceKeepsThePresentCard) {
    gOsClass = kOsNt51;
    events_.OnDeviceChange(kDbtDeviceRemoveComplete, "USB\\VID_0&PID_0\\1");
    EXPECT_EQ((std::vector<int>{kTrayIconNotConnected}), icons_);
    EXPECT_EQ(1, gDevicePresent);
}

TEST_F(DeviceEventsTest, Windows98MeSkipsTheFirstArrivalOnly) {
    gOsClass = kOsWindows98Me;
    gWinMe = 1;
    events_.OnDeviceChange(kDbtDeviceArrival, kCardId);
    EXPECT_TRUE(icons_.empty());
    EXPECT_EQ(0u, h_.card.CountOf("Detect"));
    events_.OnDeviceChange(kDbtDeviceArrival, kCardId);
    EXPECT_EQ((std::vector<int>{kTrayIconNotConnected}), icons_);
}

TEST_F(DeviceEventsTest, Windows98MeRemovalAfterResumeWaitsAndMarksAbsentWithoutDetection) {
    gOsClass = kOsWindows98Me;
    gResumeRequest = 1;
    gDevicePresent = 1;
    events_.OnDeviceChange(kDbtDeviceRemoveComplete, kCardId);
    EXPECT_EQ((std::vector<std::uint32_t>{3000}), waits_);
    EXPECT_EQ(0, gResumeRequest);
    EXPECT_EQ(0, gDevicePresent);
    EXPECT_EQ(0u, h_.card.CountOf("Detect"));
}

TEST_F(DeviceEventsTest, DevNodesChangedFollowsTheNetworkService) {
    gOsClass = kOsNt51;
    // The service takes the card: three pages.
    h_.card.SetZeroConfigServiceDisabled(0);
    gApplyConfigRequest = 0;
    events_.OnDeviceChange(kDbtDevNodesChanged, {});
    EXPECT_EQ((std::vector<std::uint32_t>{1000}), sleeps_);
    EXPECT_EQ(kThreePages, Titles(*h_.sheet));
    EXPECT_EQ(1u, gZeroConfig);
    EXPECT_EQ(1, gApplyConfigRequest);
    EXPECT_EQ(1, gDevicePresent);

    // Already present: nothing changes.
    h_.card.SetZeroConfigServiceDisabled(1);
    gApplyConfigRequest = 0;
    events_.OnDeviceChange(kDbtDevNodesChanged, {});
    EXPECT_EQ(kThreePages, Titles(*h_.sheet));
    EXPECT_EQ(0, gApplyConfigRequest);

    // Absent, then back with the service off: five pages in order.
    gDevicePresent = 0;
    events_.OnDeviceChange(kDbtDevNodesChanged, {});
    EXPECT_EQ(kFivePages, Titles(*h_.sheet));
    EXPECT_EQ(0u, gZeroConfig);
}

TEST_F(DeviceEventsTest, DevNodesChangedWithoutCardDetectsTwiceAndMarksAbsent) {
    gOsClass = kOsNt51;
    gDevicePresent = 1;
    h_.card.SetPresent(false);
    events_.OnDeviceChange(kDbtDevNodesChanged, {});
    EXPECT_EQ(2u, h_.card.CountOf("Detect"));
    EXPECT_EQ(0, gDevicePresent);
}

TEST_F(DeviceEventsTest, DevNodesChangedIgnoredOnWindows98) {
    gOsClass = kOsWindows98Me;
    gWinMe = 0;
    events_.OnDeviceChange(kDbtDevNodesChanged, {});
    EXPECT_TRUE(sleeps_.empty());
    EXPECT_EQ(0u, h_.card.CountOf("Detect"));
}

TEST_F(DeviceEventsTest, PowerCodesRaiseTheResumeRequest) {
    for (std::uint32_t code : {0u, 6u, 7u, 18u}) {
        gResumeRequest = 0;
        events_.OnPowerBroadcast(code);
        EXPECT_EQ(1, gResumeRequest) << code;
    }
    for (std::uint32_t code : {1u, 4u, 10u, 0xFFFFFFFFu}) {
        gResumeRequest = 0;
        events_.OnPowerBroadcast(code);
        EXPECT_EQ(0, gResumeRequest) << code;
    }
}

TEST_F(DeviceEventsTest, WindowsMeResumeSuspendMarksTheCardPresent) {
    gOsClass = kOsWindows98Me;
    gWinMe = 1;
    events_.OnPowerBroadcast(7);
    EXPECT_EQ((std::vector<std::uint32_t>{50, 50}), sleeps_);
    EXPECT_EQ(1, gDevicePresent);
}

TEST_F(DeviceEventsTest, AdjustPagesFollowsTheZeroConfigState) {
    gOsClass = kOsNt51;
    // Service in charge, five pages: with 0 the open sheet closes but the
    // pages stay; the next call with 1 changes them.
    h_.card.SetZeroConfigState(1);
    h_.Open();
    EXPECT_TRUE(pages_.AdjustPagesByXPWZC(0));
    EXPECT_FALSE(h_.sheet->isVisible());
    EXPECT_EQ(kFivePages, Titles(*h_.sheet));
    EXPECT_TRUE(pages_.AdjustPagesByXPWZC(1));
    EXPECT_EQ(kThreePages, Titles(*h_.sheet));
    EXPECT_FALSE(pages_.AdjustPagesByXPWZC(1));
    EXPECT_TRUE(h_.sheet->state.background.IsSet());

    // Service gone: back to five, in order.
    h_.card.SetZeroConfigState(0);
    EXPECT_TRUE(pages_.AdjustPagesByXPWZC(1));
    EXPECT_EQ(kFivePages, Titles(*h_.sheet));
}

TEST_F(DeviceEventsTest, AdjustPagesDoesNothingOutsideNt51) {
    gOsClass = kOsWindows2000;
    h_.card.SetZeroConfigState(1);
    EXPECT_FALSE(pages_.AdjustPagesByXPWZC(1));
    EXPECT_EQ(0u, h_.card.CountOf("Get_XPWZC"));
    EXPECT_EQ(kFivePages, Titles(*h_.sheet));
}

} // namespace

namespace {

// The thread marked the service active while the sheet was closed (five
// pages kept); the card comes back without it: the five stay in order and
// the sheet opens on Link Info.
TEST_F(DeviceEventsTest, ServiceThatCameAndWentWhileClosedKeepsTheTabOrder) {
    gOsClass = kOsNt51;
    gZeroConfig = 1;
    h_.card.SetZeroConfigServiceDisabled(1);
    events_.OnDeviceChange(kDbtDevNodesChanged, {});
    EXPECT_EQ(kFivePages, Titles(*h_.sheet));
    h_.Open();
    EXPECT_EQ(&h_.sheet->m_LinkInfoPage, h_.sheet->GetActivePage());
}

} // namespace
