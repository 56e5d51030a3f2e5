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

// The events on the fake card, with what they ask of the tray and the clock.
struct DeviceEventsRig {
    DeviceEventsRig()
        : pages_(h_.card, *h_.sheet),
          events_(
              h_.card, *h_.sheet, pages_,
              DeviceEventHooks{
                  [this](int id) { icons_.push_back(id); },
                  [this](std::uint32_t ms) { pauses_.push_back("sleep " + std::to_string(ms)); },
                  [this](std::uint32_t ms) { pauses_.push_back("wait " + std::to_string(ms)); }}) {}

    SheetHarness h_;
    CZeroConfigPages pages_;
    CDeviceEvents events_;
    std::vector<int> icons_;
    std::vector<std::string> pauses_; // "sleep <ms>" blocking, "wait <ms>" with events flowing
};

class DeviceEventsTest : public testing::Test, public DeviceEventsRig {};

// What arrivals, removals and node changes do, by the system class, the
// flags before them and whether detection finds the card: the icon
// requests, presence, detections and pauses; a removal that finds no card
// also closes the sheet. PCI, PCMCIA and USB devices in any case may be the
// card, nothing under NETWORK.
TEST(DeviceEvents, EventsFollowWhatDetectionFinds) {
    using Event = std::pair<std::uint32_t, const char*>;
    const Event arrival{kDbtDeviceArrival, kCardId};
    const Event removal{kDbtDeviceRemoveComplete, kCardId};
    const Event usbOut{kDbtDeviceRemoveComplete, "USB\\VID_0&PID_0\\1"};
    const std::vector<Event> others{{kDbtDeviceArrival, "ROOT\\NETWORK\\PCI\\1"},
                                    {kDbtDeviceRemoveComplete, "ACPI\\X"},
                                    {kDbtDeviceArrival, "network\\pci\\x"},
                                    {kDbtDeviceArrival, "PCI"},
                                    {kDbtDeviceArrival, ""}};
    const std::vector<Event> anyCase{{kDbtDeviceArrival, "pci\\ven_1a2b"},
                                     {kDbtDeviceArrival, "PCMCIA\\CARD"}};
    const Event nodes{kDbtDevNodesChanged, ""};
    const int nt = kOsNt51, me = kOsWindows98Me;
    const int off = kTrayIconNotConnected, gone = kTrayIconRemove;
    const struct {
        const char* name;
        int os, winMe, resume, presentBefore, card;
        std::vector<Event> events;
        std::vector<int> icons;
        int presentAfter;
        std::size_t detects;
        std::vector<std::string> pauses;
    } cases[] = {
        {"ArrivalShowsTheIcon", nt, 0, 0, 0, 1, {arrival}, {off}, 1, 1, {}},
        {"OtherDevicesTouchNothing", nt, 0, 0, 0, 1, others, {}, 0, 0, {}},
        {"AnyCaseAndPcmcia", nt, 0, 0, 0, 1, anyCase, {off}, 1, 2, {}},
        {"NodesChangeOn98TouchNothing", me, 0, 0, 0, 1, {nodes}, {}, 0, 0, {}},
        {"RemovalFindingTheCardKeepsIt", nt, 0, 0, 0, 1, {usbOut}, {off}, 1, 1, {}},
        {"RemovalFindingNoCardRemovesIt", nt, 0, 0, 1, 0, {removal}, {gone}, 0, 1, {}},
        {"MeSkipsTheFirstArrivalOnly", me, 1, 0, 0, 1, {arrival, arrival}, {off}, 1, 1, {}},
        {"MeRemovalAfterResumeWaits", me, 1, 1, 1, 1, {removal}, {}, 0, 0, {"wait 3000"}},
        {"NodesChangeWithoutCardDetectsTwice", nt, 0, 0, 1, 0, {nodes}, {}, 0, 2, {"sleep 1000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceEventsRig rig;
        gOsClass = static_cast<std::uint8_t>(c.os);
        gWinMe = static_cast<std::uint32_t>(c.winMe);
        gResumeRequest = static_cast<std::uint8_t>(c.resume);
        gDevicePresent = static_cast<std::uint8_t>(c.presentBefore);
        rig.h_.card.SetPresent(c.card != 0);
        rig.h_.Open();
        for (const auto& [event, id] : c.events) {
            rig.events_.OnDeviceChange(event, id);
        }
        EXPECT_EQ(c.icons, rig.icons_);
        EXPECT_EQ(c.presentAfter, gDevicePresent);
        EXPECT_EQ(c.detects, rig.h_.card.CountOf("Detect"));
        EXPECT_EQ(c.pauses, rig.pauses_);
        EXPECT_EQ(0, gResumeRequest);
        EXPECT_EQ(c.icons != std::vector<int>{gone}, rig.h_.sheet->isVisible());
    }
}

TEST_F(DeviceEventsTest, DevNodesChangedFollowsTheNetworkService) {
    gOsClass = kOsNt51;
    // The service takes the card: three pages.
    h_.card.SetZeroConfigState(1);
    gApplyConfigRequest = 0;
    events_.OnDeviceChange(kDbtDevNodesChanged, {});
    EXPECT_EQ(std::vector<std::string>{"sleep 1000"}, pauses_);
    EXPECT_EQ(kThreePages, Titles(*h_.sheet));
    EXPECT_EQ(1u, gZeroConfig);
    EXPECT_EQ(1, gApplyConfigRequest);
    EXPECT_EQ(1, gDevicePresent);

    // Already present: nothing changes.
    h_.card.SetZeroConfigState(0);
    gApplyConfigRequest = 0;
    events_.OnDeviceChange(kDbtDevNodesChanged, {});
    EXPECT_EQ(kThreePages, Titles(*h_.sheet));
    EXPECT_EQ(0, gApplyConfigRequest);

    // Absent, then back with the service off: five pages in order; and
    // again (the service came and went while the sheet was closed): still
    // five in order, opening on Link Info.
    for (int i = 0; i < 2; ++i) {
        gDevicePresent = 0;
        gZeroConfig = 1;
        events_.OnDeviceChange(kDbtDevNodesChanged, {});
        EXPECT_EQ(kFivePages, Titles(*h_.sheet));
        EXPECT_EQ(0u, gZeroConfig);
    }
    h_.Open();
    EXPECT_EQ(&h_.sheet->m_LinkInfoPage, h_.sheet->GetActivePage());
}

// The suspend query and the resumes raise the resume request; on Windows
// Me a resume from suspend also marks the card present after two pauses.
TEST_F(DeviceEventsTest, PowerCodesRaiseTheResumeRequest) {
    for (std::uint32_t code : {0u, 1u, 4u, 6u, 7u, 10u, 18u, 0xFFFFFFFFu}) {
        gResumeRequest = 0;
        events_.OnPowerBroadcast(code);
        EXPECT_EQ(code == 0 || code == 6 || code == 7 || code == 18, gResumeRequest != 0) << code;
    }
    EXPECT_TRUE(pauses_.empty());
    EXPECT_EQ(0, gDevicePresent);
    gOsClass = kOsWindows98Me;
    gWinMe = 1;
    events_.OnPowerBroadcast(7);
    EXPECT_EQ((std::vector<std::string>{"sleep 50", "sleep 50"}), pauses_);
    EXPECT_EQ(1, gDevicePresent);
}

TEST_F(DeviceEventsTest, AdjustPagesFollowsTheZeroConfigState) {
    // Outside NT 5.1 the service is not asked.
    gOsClass = kOsWindows2000;
    h_.card.SetZeroConfigState(1);
    EXPECT_FALSE(pages_.AdjustPagesByXPWZC(1));
    EXPECT_EQ(0u, h_.card.CountOf("Get_XPWZC"));
    gOsClass = kOsNt51;
    // Service in charge, five pages: with 0 the open sheet closes but the
    // pages stay; the next call with 1 changes them.
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

} // namespace
