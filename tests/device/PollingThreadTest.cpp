// The polling thread's start and cycle, run step by step on the test's own
// thread with the virtual clock: no real waiting.
#include "device/PollingThread.h"

#include "device/Apply.h"
#include "device/HostState.h"
#include "device/Records.h"
#include "device/VirtualClock.h"
#include "tests/device/TraceCapture.h"
#include "tests/fakes/CardRecorder.h"
#include "tests/fakes/FakeHostUi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Names = std::vector<std::string>;
using Ms = std::vector<std::uint32_t>;

WirelessReg Office() {
    WirelessReg reg = DefaultWirelessReg();
    SetFieldText(reg.profileName, "Office");
    SetFieldText(reg.ssid, "corvane-lab");
    reg.channel = 11;
    return reg;
}

// A polling thread over the fake card and UI, with the virtual clock.
struct Rig {
    // Start and the first cycle's full apply, then a clean record.
    void StartAndSettle() {
        ASSERT_TRUE(thread.RunStart());
        thread.RunCycle();
        card.ClearCalls();
        ui.Clear();
    }

    std::uint32_t SetMask(std::size_t i) const {
        return card.CallsNamed("SetWLANConfig").at(i).maskIn;
    }

    CardRecorder card;
    SheetState sheet;
    FakeHostUi ui;
    VirtualClock clock;
    CPollingThread thread{card, sheet, ui, clock};
};

class PollingThread : public testing::Test, public Rig {
protected:
    void SetUp() override { ResetHostState(); }
    void TearDown() override { ResetHostState(); }
};

// ---- Start ----------------------------------------------------------------

TEST_F(PollingThread, WaitForTheCardEndsOnExitOrWhenTheMainFrameSeesIt) {
    card.SetPresent(false);
    clock.OnAdvance([](std::uint32_t now) { gThreadExit = now >= 3000 ? 1 : 0; });
    TraceCapture trace;
    thread.Run();
    EXPECT_EQ(Names{"Detect"}, card.CallNames()); // the thread detects only once
    EXPECT_TRUE(ui.Events().empty());
    EXPECT_EQ((Ms{1000, 1000, 1000}), clock.Sleeps());
    EXPECT_EQ(1u, trace.Count("<M> TAVL_Detect BY (polling thread, first time only)"));

    ResetHostState();
    CardRecorder absent;
    absent.SetPresent(false);
    VirtualClock later;
    later.OnAdvance([](std::uint32_t now) {
        if (now == 2000) {
            gDevicePresent = 1;
        }
    });
    EXPECT_TRUE(CPollingThread(absent, sheet, ui, later).RunStart());
    EXPECT_EQ((Ms{1000, 1000}), later.Sleeps());
    EXPECT_EQ(std::vector<int>{kTrayIconNotConnected}, ui.Icons());

    gThreadExit = 1; // exit wins over a present card
    EXPECT_FALSE(CPollingThread(absent, sheet, ui, later).RunStart());
}

TEST_F(PollingThread, StoredActiveProfileIsLoadedAppliedAndAppliedAgainByTheFirstCycle) {
    card.StoreProfile("Office", Office());
    card.SetActiveProfile("Office");
    ASSERT_TRUE(thread.RunStart());
    EXPECT_EQ((Names{"Detect", "SetProfileRoot", "GetActiveProfileByType", "GetProfileWireless",
                     "SetWLDomain", "GetWLANConfig", "ChannelToFrequency", "SetWLANConfig"}),
              card.CallNames());
    EXPECT_EQ("corvane-lab", std::string(FieldText(sheet.reg.Get().ssid)));
    EXPECT_TRUE(thread.StartupMarker());

    // gApplyConfigRequest starts set: the first cycle applies everything
    // again and goes straight on to the next cycle.
    card.ClearCalls();
    thread.RunCycle();
    EXPECT_EQ((Names{"SetWLDomain", "GetWLANConfig", "ChannelToFrequency", "SetWLANConfig"}),
              card.CallNames());
    EXPECT_EQ(0, gApplyConfigRequest);
    EXPECT_EQ(Ms{2000}, clock.Waits());

    // The next cycle clears the start-up marker together with any change
    // request: the profile is on the card already.
    gChangeParametersRequest = 1;
    card.ClearCalls();
    thread.RunCycle();
    EXPECT_FALSE(thread.StartupMarker());
    EXPECT_EQ(Names{"QueryOID"}, card.CallNames());
}

// No active profile (a first start) or one the store cannot give: `reg`
// takes the stored "default" or the default record, never a record that
// was not read, and nothing reaches the card before the first cycle.
TEST_F(PollingThread, MissingOrUnreadableActiveProfileFallsBackToTheDefaultProfile) {
    WirelessReg mine = DefaultWirelessReg();
    SetFieldText(mine.ssid, "my-default");
    const struct {
        const char* active;
        bool defaultStored;
        const char* ssid;
        const char* calls; // after Detect, root and active name
    } cases[] = {
        {"ghost", true, "my-default",
         "GetProfileWireless GetProfileWireless SetActiveProfileByType"},
        {"ghost", false, "any",
         "GetProfileWireless GetProfileWireless SetActiveProfileByType SetProfileWireless"},
        {"default", false, "any", "GetProfileWireless SetActiveProfileByType SetProfileWireless"},
        {nullptr, false, "any", "SetActiveProfileByType SetProfileWireless"},
    };
    for (const auto& c : cases) {
        const std::string active = c.active != nullptr ? c.active : "";
        SCOPED_TRACE(active);
        ResetHostState();
        CardRecorder fresh;
        if (c.defaultStored) {
            fresh.StoreProfile("default", mine);
        }
        if (c.active != nullptr) {
            fresh.SetActiveProfile(active);
        }
        SheetState state;
        state.reg.Set(Office());
        CPollingThread start(fresh, state, ui, clock);
        TraceCapture trace;
        ASSERT_TRUE(start.RunStart());

        std::string calls;
        for (const std::string& name : fresh.CallNames()) {
            calls += (calls.empty() ? "" : " ") + name;
        }
        EXPECT_EQ(std::string("Detect SetProfileRoot GetActiveProfileByType ") + c.calls, calls);
        EXPECT_EQ(c.ssid, std::string(FieldText(state.reg.Get().ssid)));
        EXPECT_EQ("default", fresh.ActiveProfile().value_or(""));
        EXPECT_EQ(c.ssid, std::string(FieldText(fresh.Profile("default")->ssid)));
        EXPECT_FALSE(start.StartupMarker());
        EXPECT_EQ(c.active != nullptr ? 1u : 0u,
                  trace.Count("Active profile \"" + active +
                              "\" cannot be read (-3): using the default profile"));
    }
}

// ---- Cycle --------------------------------------------------------------------

// A page holding the handshake delays the cycle by at most two seconds.
TEST_F(PollingThread, QuietCycleHoldsPausesQueriesAndReleases) {
    StartAndSettle();
    sheet.forground.Set(); // the cycle resets it first
    TraceCapture trace;
    thread.RunCycle();
    EXPECT_EQ(Names{"QueryOID"}, card.CallNames());
    EXPECT_EQ((Ms{2000, 2000}), clock.Waits());
    EXPECT_EQ((Ms{500, 1000}), clock.Sleeps());
    EXPECT_TRUE(sheet.forground.IsSet());
    EXPECT_EQ(std::vector<int>{kTrayIconConnected}, ui.Icons());
    EXPECT_TRUE(trace.Lines().empty());

    sheet.background.Reset();
    const std::uint32_t before = clock.TickCount();
    thread.RunCycle();
    EXPECT_EQ(2000u + 500u + 1000u, clock.TickCount() - before);
    EXPECT_EQ(2u, card.CountOf("QueryOID")); // it goes on regardless
}

TEST_F(PollingThread, ChangeRequestRunsTheChangeApplyBeforeThePause) {
    StartAndSettle();
    WirelessReg reg = Office();
    reg.channel = 3;
    sheet.reg.Set(reg);
    gChangeParametersRequest = 1;
    thread.RunCycle();

    EXPECT_EQ(
        (Names{"GetWLANConfig", "ChannelToFrequency", "SetWLANConfig", "SetDriverReg", "QueryOID"}),
        card.CallNames());
    EXPECT_EQ(kChangeApplyMask | 0x30000u, SetMask(0));
    EXPECT_EQ((Ms{100, 500, 1000}), clock.Sleeps());
    EXPECT_EQ(0, gChangeParametersRequest);
    // The change apply works in the thread's own HostInfo.
    EXPECT_EQ(3u, card.FrequencyToChannel(thread.ThreadHostInfo().configuration.dsConfig));
}

// Both requests together give one full apply and no change apply; a
// request raised during a full apply is kept for the next cycle.
TEST_F(PollingThread, RequestsGiveOneFullApplyAndOnesRaisedMeanwhileAreKept) {
    StartAndSettle();
    card.OnCall([sets = 0](std::string_view name) mutable {
        if (name == "SetWLANConfig" && sets++ == 0) {
            gApplyConfigRequest = 1; // a page hands over a new record meanwhile
        }
    });
    gApplyConfigRequest = 1;
    gChangeParametersRequest = 1;
    thread.RunCycle();
    EXPECT_EQ(1, gApplyConfigRequest);
    EXPECT_EQ(0, gChangeParametersRequest);
    thread.RunCycle();
    EXPECT_EQ(2u, card.CountOf("SetWLANConfig"));
    EXPECT_EQ(0x020304E6u, SetMask(0));
    EXPECT_EQ(0u, card.CountOf("SetDriverReg"));
}

TEST_F(PollingThread, FailedChangeApplyReportsOnceAndIsNotRetried) {
    StartAndSettle();
    card.FailSetBits(TAVL_MASK_SSID, 2);
    gChangeParametersRequest = 1;
    thread.RunCycle();
    thread.RunCycle();

    EXPECT_EQ(std::vector<int>{kStringChangeFailed}, ui.Messages());
    EXPECT_EQ(2u, card.CountOf("SetWLANConfig"));
    EXPECT_EQ(0u, card.CountOf("SetDriverReg"));
    EXPECT_EQ(2u, card.CountOf("QueryOID")); // the cycle goes on
}

// A started, settled thread of its own, for the table-driven cycles.
struct SettledRig : Rig {
    explicit SettledRig(std::uint8_t osClass) {
        ResetHostState();
        gOsClass = osClass;
        StartAndSettle();
    }
};

TEST_F(PollingThread, MediaStatusChoosesTheIconAndKeepsTheCardPresent) {
    for (const auto& [status, icon] :
         {std::pair{0u, kTrayIconConnected}, std::pair{1u, kTrayIconNotConnected}}) {
        SettledRig rig(kOsNt51);
        rig.card.SetMediaStatus(status);
        rig.thread.RunCycle();
        EXPECT_EQ(std::vector<int>{icon}, rig.ui.Icons()) << status;
        EXPECT_EQ(1, gDevicePresent);
        EXPECT_EQ(0u, rig.card.CountOf("Detect"));
        EXPECT_EQ(status, rig.thread.ThreadHostInfo().mediaConnectStatus);
    }
}

// A failed status query falls back to detection, except on NT 5 systems
// where the card is kept present.
TEST_F(PollingThread, FailedStatusQueryFallsBackToDetectionExceptOnNt5) {
    const struct {
        std::uint8_t osClass;
        bool cardThere;
        bool detects;
        bool staysPresent;
    } cases[] = {
        {kOsWindows2000, false, false, true}, {kOsNt51, false, false, true},
        {kOsWindows95, false, true, false},   {kOsWindows98Me, false, true, false},
        {kOsNt4, false, true, false},         {kOsOther, false, true, false},
        {kOsWindows95, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "class " << int{c.osClass} << " card " << c.cardThere);
        SettledRig rig(c.osClass);
        rig.card.SetPresent(c.cardThere);
        rig.card.FailQueryOID(1);
        TraceCapture trace;
        rig.thread.RunCycle();
        EXPECT_EQ(c.detects ? 1u : 0u, rig.card.CountOf("Detect"));
        EXPECT_EQ(c.detects ? 1u : 0u,
                  trace.Count("<M> TAVL_Detect BY (polling thread, OID_GEN_MEDIA_CONNECT_STATUS)"));
        EXPECT_EQ(c.staysPresent ? 1 : 0, gDevicePresent);
        EXPECT_EQ(c.staysPresent ? std::vector<int>{} : std::vector<int>{kTrayIconRemove},
                  rig.ui.Icons());
    }
}

// An absent card removes the icon without card calls; on NT 5 systems an
// open sheet is ended too.
TEST_F(PollingThread, AbsentCardRemovesTheIconWithoutCardCalls) {
    const struct {
        std::uint8_t osClass;
        bool sheetOpen;
        bool endsSheet;
    } cases[] = {
        {kOsNt51, true, true},         {kOsWindows2000, true, true}, {kOsNt51, false, false},
        {kOsWindows98Me, true, false}, {kOsOther, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "class " << int{c.osClass} << " open " << c.sheetOpen);
        SettledRig rig(c.osClass);
        gDevicePresent = 0;
        gSheetOpen = c.sheetOpen ? 1 : 0;
        rig.thread.RunCycle();
        EXPECT_TRUE(rig.card.Calls().empty());
        EXPECT_EQ(std::vector<int>{kTrayIconRemove}, rig.ui.Icons());
        EXPECT_EQ(c.endsSheet ? std::vector<int>{1} : std::vector<int>{}, rig.ui.EndSheetModals());
        EXPECT_EQ(1000u, rig.clock.Sleeps().back());
        EXPECT_TRUE(rig.sheet.forground.IsSet());
    }
}

TEST_F(PollingThread, ResumeRequestReappliesEverythingToACardMarkedAbsent) {
    StartAndSettle();
    gDevicePresent = 0;
    gResumeRequest = 1;
    thread.RunCycle();
    EXPECT_EQ(0, gResumeRequest);
    EXPECT_EQ(1, gDevicePresent);
    EXPECT_EQ(0x020304E6u, SetMask(0));
}

TEST_F(PollingThread, EveryThirdCycleWithTheCardPresentChecksThePageSet) {
    StartAndSettle();
    for (int i = 0; i < 2; ++i) {
        thread.RunCycle();
    }
    EXPECT_TRUE(ui.PageAdjustments().empty());
    gDevicePresent = 0; // absent cycles do not count
    thread.RunCycle();
    EXPECT_TRUE(ui.PageAdjustments().empty());
    gDevicePresent = 1;
    thread.RunCycle();
    EXPECT_EQ(std::vector<int>{0}, ui.PageAdjustments());
    EXPECT_EQ(0u, thread.CycleCounter());
    for (int i = 0; i < 3; ++i) {
        thread.RunCycle();
    }
    EXPECT_EQ((std::vector<int>{0, 0}), ui.PageAdjustments());
}

TEST_F(PollingThread, FullApplyOnWindows98MeSendsTheWepPartAloneAfterThreeSeconds) {
    gOsClass = kOsWindows98Me;
    StartAndSettle();
    sheet.reg.Update([](WirelessReg& reg) { reg.encryptionLevel = 1; });
    gApplyConfigRequest = 1;
    const std::size_t sleepsBefore = clock.Sleeps().size();
    thread.RunCycle();

    EXPECT_EQ((Names{"SetWLDomain", "GetWLANConfig", "ChannelToFrequency", "SetWLANConfig",
                     "SetWLANConfig"}),
              card.CallNames());
    EXPECT_EQ((Ms{3000, 1500}),
              Ms(clock.Sleeps().begin() + static_cast<std::ptrdiff_t>(sleepsBefore),
                 clock.Sleeps().end()));
}

} // namespace
