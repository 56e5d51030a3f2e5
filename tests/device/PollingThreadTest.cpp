// The polling thread's start and cycle, run step by step on the test's own
// thread with the virtual clock: no real waiting.
#include "device/PollingThread.h"

#include "device/Apply.h"
#include "device/HostState.h"
#include "device/Records.h"
#include "device/VirtualClock.h"
#include "tests/device/TraceCapture.h"
#include "tests/fakes/FakeCardLibrary.h"
#include "tests/fakes/FakeHostUi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;
using Ms = std::vector<std::uint32_t>;

class PollingThread : public testing::Test {
protected:
    void SetUp() override { ResetHostState(); }
    void TearDown() override { ResetHostState(); }

    static WirelessReg Office() {
        WirelessReg reg = DefaultWirelessReg();
        SetFieldText(reg.profileName, "Office");
        SetFieldText(reg.ssid, "corvane-lab");
        reg.channel = 11;
        return reg;
    }

    void StoreActiveOffice() {
        card.StoreProfile("Office", Office());
        card.SetActiveProfile("Office");
    }

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

    FakeCardLibrary card;
    SheetState sheet;
    FakeHostUi ui;
    VirtualClock clock;
    CPollingThread thread{card, sheet, ui, clock};
};

// ---- Start ----------------------------------------------------------------

TEST_F(PollingThread, AbsentCardShowsNothingAndExitDuringTheWaitEndsTheThread) {
    card.SetPresent(false);
    clock.OnAdvance([](std::uint32_t now) {
        if (now >= 3000) {
            gThreadExit = 1;
        }
    });
    TraceCapture trace;
    thread.Run();

    EXPECT_EQ(Names{"Detect"}, card.CallNames());
    EXPECT_TRUE(ui.Events().empty());
    EXPECT_EQ((Ms{1000, 1000, 1000}), clock.Sleeps());
    EXPECT_EQ(0, gDevicePresent);
    EXPECT_EQ(1u, trace.Count("<M> TAVL_Detect BY (polling thread, first time only)"));
}

TEST_F(PollingThread, CardMarkedPresentByTheMainFrameEndsTheWait) {
    card.SetPresent(false);
    clock.OnAdvance([](std::uint32_t now) {
        if (now == 2000) {
            gDevicePresent = 1;
        }
    });
    EXPECT_TRUE(thread.RunStart());
    EXPECT_EQ((Ms{1000, 1000}), clock.Sleeps());
    EXPECT_EQ(std::vector<int>{kTrayIconNotConnected}, ui.Icons());
    EXPECT_EQ(1u, card.CountOf("Detect")); // the thread detects only once
}

TEST_F(PollingThread, ExitWinsOverAPresentCardAtTheEndOfTheWait) {
    gThreadExit = 1;
    EXPECT_FALSE(thread.RunStart());
    EXPECT_TRUE(ui.Events().empty());
    EXPECT_EQ(Names{"Detect"}, card.CallNames());
}

TEST_F(PollingThread, FirstStartCreatesTheDefaultProfile) {
    sheet.reg.Set(Office()); // whatever the sheet held before
    ASSERT_TRUE(thread.RunStart());

    EXPECT_EQ((Names{"Detect", "SetProfileRoot", "GetActiveProfileByType", "SetActiveProfileByType",
                     "SetProfileWireless"}),
              card.CallNames());
    EXPECT_EQ("Corvane\\Profile", card.LastCall("SetProfileRoot")->textArg);
    EXPECT_EQ(1, card.LastCall("GetActiveProfileByType")->type);
    EXPECT_EQ("default", card.LastCall("SetActiveProfileByType")->textArg);
    EXPECT_EQ(1, card.LastCall("SetActiveProfileByType")->type);
    EXPECT_EQ("default", card.LastCall("SetProfileWireless")->textArg);

    const WirelessReg expected = DefaultWirelessReg();
    const WirelessReg reg = sheet.reg.Get();
    EXPECT_EQ(0, std::memcmp(&expected, &reg, sizeof reg));
    ASSERT_TRUE(card.Profile("default"));
    const WirelessReg stored = *card.Profile("default");
    EXPECT_EQ(0, std::memcmp(&expected, &stored, sizeof stored));
    EXPECT_EQ("default", card.ActiveProfile());
    EXPECT_EQ(std::vector<int>{kTrayIconNotConnected}, ui.Icons());
    EXPECT_FALSE(thread.StartupMarker());
}

TEST_F(PollingThread, StoredActiveProfileIsLoadedAppliedAndAppliedAgainByTheFirstCycle) {
    StoreActiveOffice();
    ASSERT_TRUE(thread.RunStart());
    EXPECT_EQ((Names{"Detect", "SetProfileRoot", "GetActiveProfileByType", "GetProfileWireless",
                     "SetWLDomain", "GetWLANConfig", "ChannelToFrequency", "SetWLANConfig"}),
              card.CallNames());
    EXPECT_EQ("Office", card.LastCall("GetProfileWireless")->textArg);
    EXPECT_EQ("corvane-lab", std::string(FieldText(sheet.reg.Get().ssid)));
    EXPECT_TRUE(thread.StartupMarker());

    // gApplyConfigRequest starts set: the first cycle applies everything
    // again and goes straight on to the next cycle.
    card.ClearCalls();
    thread.RunCycle();
    EXPECT_EQ((Names{"SetWLDomain", "GetWLANConfig", "ChannelToFrequency", "SetWLANConfig"}),
              card.CallNames());
    EXPECT_EQ(TAVL_MASK_FULL_READ, card.LastCall("GetWLANConfig")->maskIn);
    EXPECT_EQ(0, gApplyConfigRequest);
    EXPECT_FALSE(sheet.forground.IsSet());
    EXPECT_TRUE(clock.Sleeps().empty());
    EXPECT_EQ(Ms{2000}, clock.Waits());

    // The next cycle clears the start-up marker together with any change
    // request: the profile is on the card already.
    gChangeParametersRequest = 1;
    card.ClearCalls();
    thread.RunCycle();
    EXPECT_FALSE(thread.StartupMarker());
    EXPECT_EQ(Names{"QueryOID"}, card.CallNames());
}

// An active profile the store cannot give is "no active profile": `reg`
// takes the stored "default" or the default record, never a record that
// was not read, and nothing reaches the card before the first cycle.
TEST_F(PollingThread, UnreadableActiveProfileFallsBackToTheDefaultProfile) {
    WirelessReg mine = DefaultWirelessReg();
    SetFieldText(mine.ssid, "my-default");
    const struct {
        const char* active;
        bool defaultStored;
        const char* ssid;
        Names calls;
    } cases[] = {
        {"ghost",
         true,
         "my-default",
         {"GetProfileWireless", "GetProfileWireless", "SetActiveProfileByType"}},
        {"ghost",
         false,
         "any",
         {"GetProfileWireless", "GetProfileWireless", "SetActiveProfileByType",
          "SetProfileWireless"}},
        {"default",
         false,
         "any",
         {"GetProfileWireless", "SetActiveProfileByType", "SetProfileWireless"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.active);
        ResetHostState();
        FakeCardLibrary fresh;
        if (c.defaultStored) {
            fresh.StoreProfile("default", mine);
        }
        fresh.SetActiveProfile(c.active);
        SheetState state;
        state.reg.Set(Office());
        CPollingThread start(fresh, state, ui, clock);
        TraceCapture trace;
        ASSERT_TRUE(start.RunStart());

        Names calls = fresh.CallNames();
        calls.erase(calls.begin(), calls.begin() + 3); // Detect, root, active name
        EXPECT_EQ(c.calls, calls);
        EXPECT_EQ(c.ssid, std::string(FieldText(state.reg.Get().ssid)));
        EXPECT_EQ("default", fresh.ActiveProfile().value_or(""));
        EXPECT_EQ(c.ssid, std::string(FieldText(fresh.Profile("default")->ssid)));
        EXPECT_FALSE(start.StartupMarker());
        EXPECT_EQ(1u, trace.Count("Active profile \"" + std::string(c.active) +
                                  "\" cannot be read (-1): using the default profile"));
    }
}

// ---- Cycle --------------------------------------------------------------------

TEST_F(PollingThread, QuietCycleHoldsPausesQueriesAndReleases) {
    StartAndSettle();
    sheet.forground.Set(); // the cycle resets it first
    TraceCapture trace;
    thread.RunCycle();

    EXPECT_EQ(Names{"QueryOID"}, card.CallNames());
    const CardCall query = *card.LastCall("QueryOID");
    EXPECT_EQ(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, query.number);
    EXPECT_EQ((Ms{2000, 2000}), clock.Waits());
    EXPECT_EQ((Ms{500, 1000}), clock.Sleeps());
    EXPECT_TRUE(sheet.forground.IsSet());
    EXPECT_EQ(std::vector<int>{kTrayIconConnected}, ui.Icons());
    EXPECT_TRUE(trace.Lines().empty());
}

TEST_F(PollingThread, PageHoldingTheHandshakeDelaysTheCycleByAtMostTwoSeconds) {
    StartAndSettle();
    sheet.background.Reset();
    const std::uint32_t before = clock.TickCount();
    thread.RunCycle();
    EXPECT_EQ(2000u + 500u + 1000u, clock.TickCount() - before);
    EXPECT_EQ(1u, card.CountOf("QueryOID")); // it goes on regardless
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
    EXPECT_EQ(2422000u, card.LastCall("SetWLANConfig")->host->configuration.dsConfig);
    EXPECT_EQ((Ms{100, 500, 1000}), clock.Sleeps());
    EXPECT_EQ(0, gChangeParametersRequest);
    EXPECT_TRUE(ui.Messages().empty());
    // The change apply works in the thread's own HostInfo.
    EXPECT_EQ(3u, card.FrequencyToChannel(thread.ThreadHostInfo().configuration.dsConfig));
}

TEST_F(PollingThread, BothRequestsTogetherGiveOneFullApplyAndNoChangeApply) {
    StartAndSettle();
    gApplyConfigRequest = 1;
    gChangeParametersRequest = 1;
    thread.RunCycle();
    thread.RunCycle();

    EXPECT_EQ(1u, card.CountOf("SetWLANConfig"));
    EXPECT_EQ(0x020304E6u, SetMask(0));
    EXPECT_EQ(0u, card.CountOf("SetDriverReg"));
    EXPECT_EQ(0, gChangeParametersRequest);
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

TEST_F(PollingThread, RequestRaisedDuringAFullApplyIsKeptForTheNextCycle) {
    StartAndSettle();
    card.OnCall([](std::string_view name) {
        if (name == "SetWLANConfig") {
            gApplyConfigRequest = 1; // a page hands over a new record meanwhile
        }
    });
    gApplyConfigRequest = 1;
    thread.RunCycle();
    card.OnCall({});
    EXPECT_EQ(1, gApplyConfigRequest);
    thread.RunCycle();
    EXPECT_EQ(2u, card.CountOf("SetWLANConfig"));
}

struct MediaCase {
    std::uint32_t status;
    int icon;
};

void PrintTo(const MediaCase& c, std::ostream* os) {
    *os << "status " << c.status;
}

class MediaStatus : public PollingThread, public testing::WithParamInterface<MediaCase> {};

TEST_P(MediaStatus, StatusChoosesTheIconAndKeepsTheCardPresent) {
    StartAndSettle();
    card.SetMediaStatus(GetParam().status);
    thread.RunCycle();
    EXPECT_EQ(std::vector<int>{GetParam().icon}, ui.Icons());
    EXPECT_EQ(1, gDevicePresent);
    EXPECT_EQ(0u, card.CountOf("Detect"));
    EXPECT_EQ(GetParam().status, thread.ThreadHostInfo().mediaConnectStatus);
}

INSTANTIATE_TEST_SUITE_P(PollingThread, MediaStatus,
                         testing::Values(MediaCase{0, kTrayIconConnected},
                                         MediaCase{1, kTrayIconNotConnected}),
                         [](const auto& info) {
                             return info.param.status == 0 ? "Connected" : "NotConnected";
                         });

struct QueryFailureCase {
    const char* name;
    std::uint8_t osClass;
    bool cardThere;
    bool detects;      // the thread falls back to detection
    bool staysPresent; // gDevicePresent after the cycle
};

void PrintTo(const QueryFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class FailedStatusQuery : public PollingThread,
                          public testing::WithParamInterface<QueryFailureCase> {};

TEST_P(FailedStatusQuery, FallsBackToDetectionExceptOnNt5) {
    const QueryFailureCase c = GetParam();
    gOsClass = c.osClass;
    StartAndSettle();
    card.SetPresent(c.cardThere);
    card.FailQueryOID(1);
    TraceCapture trace;
    thread.RunCycle();

    EXPECT_EQ(c.detects ? 1u : 0u, card.CountOf("Detect"));
    EXPECT_EQ(c.detects ? 1u : 0u,
              trace.Count("<M> TAVL_Detect BY (polling thread, OID_GEN_MEDIA_CONNECT_STATUS)"));
    EXPECT_EQ(c.staysPresent ? 1 : 0, gDevicePresent);
    EXPECT_EQ(c.staysPresent ? std::vector<int>{} : std::vector<int>{kTrayIconRemove}, ui.Icons());
}

INSTANTIATE_TEST_SUITE_P(
    PollingThread, FailedStatusQuery,
    testing::Values(QueryFailureCase{"Windows2000", kOsWindows2000, false, false, true},
                    QueryFailureCase{"Nt51", kOsNt51, false, false, true},
                    QueryFailureCase{"Windows95", kOsWindows95, false, true, false},
                    QueryFailureCase{"Windows98Me", kOsWindows98Me, false, true, false},
                    QueryFailureCase{"Nt4", kOsNt4, false, true, false},
                    QueryFailureCase{"OtherSystem", kOsOther, false, true, false},
                    QueryFailureCase{"Windows95CardThere", kOsWindows95, true, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct AbsentCase {
    const char* name;
    std::uint8_t osClass;
    bool sheetOpen;
    bool endsSheet;
};

void PrintTo(const AbsentCase& c, std::ostream* os) {
    *os << c.name;
}

class AbsentCard : public PollingThread, public testing::WithParamInterface<AbsentCase> {};

TEST_P(AbsentCard, RemovesTheIconWithoutCardCalls) {
    const AbsentCase c = GetParam();
    gOsClass = c.osClass;
    StartAndSettle();
    gDevicePresent = 0;
    gSheetOpen = c.sheetOpen ? 1 : 0;
    thread.RunCycle();

    EXPECT_TRUE(card.Calls().empty());
    EXPECT_EQ(std::vector<int>{kTrayIconRemove}, ui.Icons());
    EXPECT_EQ(c.endsSheet ? std::vector<int>{1} : std::vector<int>{}, ui.EndSheetModals());
    ASSERT_FALSE(clock.Sleeps().empty());
    EXPECT_EQ(1000u, clock.Sleeps().back());
    EXPECT_TRUE(sheet.forground.IsSet());
}

INSTANTIATE_TEST_SUITE_P(
    PollingThread, AbsentCard,
    testing::Values(AbsentCase{"Nt51SheetOpen", kOsNt51, true, true},
                    AbsentCase{"Windows2000SheetOpen", kOsWindows2000, true, true},
                    AbsentCase{"Nt51SheetClosed", kOsNt51, false, false},
                    AbsentCase{"Windows98MeSheetOpen", kOsWindows98Me, true, false},
                    AbsentCase{"OtherSystemSheetOpen", kOsOther, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

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
    EXPECT_EQ(0x3F000u, SetMask(1));
    EXPECT_EQ((Ms{3000, 1500}),
              Ms(clock.Sleeps().begin() + static_cast<std::ptrdiff_t>(sleepsBefore),
                 clock.Sleeps().end()));
}

TEST_F(PollingThread, ExitRequestedDuringACycleEndsTheThreadAfterIt) {
    std::size_t cycles = 0;
    clock.OnAdvance([&](std::uint32_t) {
        if (++cycles == 6) {
            gThreadExit = 1;
        }
    });
    thread.Run();
    EXPECT_EQ(1, gThreadExit);
    EXPECT_GE(card.CountOf("QueryOID"), 1u);
}

// A card library that fails every call: the thread keeps cycling and
// reports each failed request once.
TEST_F(PollingThread, FailingLibraryKeepsCyclingAndReportsOncePerRequest) {
    gOsClass = kOsNt51;
    card.FailEverything(true);
    clock.OnAdvance([](std::uint32_t now) {
        if (now == 1000) {
            gDevicePresent = 1; // the main frame saw the card arrive
        }
    });
    ASSERT_TRUE(thread.RunStart());
    thread.RunCycle(); // full apply, nothing accepted, nothing checked
    thread.RunCycle(); // clears the start-up marker (the failed read was "applied")
    for (int request = 0; request < 3; ++request) {
        gChangeParametersRequest = 1;
        thread.RunCycle();
        thread.RunCycle();
    }
    EXPECT_EQ((std::vector<int>{kStringChangeFailed, kStringChangeFailed, kStringChangeFailed}),
              ui.Messages());
    EXPECT_EQ(1, gDevicePresent);
    EXPECT_EQ(0u, card.CountOf("SetDriverReg"));
}

} // namespace
