// The polling thread's start and cycle, run step by step on the test's own
// thread with the virtual clock: no real waiting. Then the thread on a real
// thread: start and stop, under the thread sanitizer. Its cycles on their
// own thread up to the library's termination are the scenarios' (no card
// call after TAVL_Terminate).
#include "device/PollingThread.h"

#include "device/HostState.h"
#include "device/Records.h"
#include "device/VirtualClock.h"
#include "tests/device/TraceCapture.h"
#include "tests/fakes/CardRecorder.h"
#include "tests/fakes/FakeHostUi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <future>
#include <map>
#include <mutex>
#include <string>
#include <sys/resource.h>
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

// The wait ends on exit (the card arriving meanwhile is a scenario), and
// exit wins over a card that is present.
TEST_F(PollingThread, WaitForTheCardEndsOnExitAndExitWinsOverAPresentCard) {
    card.SetPresent(false);
    clock.OnAdvance([](std::uint32_t now) { gThreadExit = now >= 3000 ? 1 : 0; });
    thread.Run();
    EXPECT_EQ(Names{"Detect"}, card.CallNames()); // the thread detects only once
    EXPECT_TRUE(ui.Events().empty());
    EXPECT_EQ((Ms{1000, 1000, 1000}), clock.Sleeps());

    card.SetPresent(true);
    EXPECT_FALSE(thread.RunStart());
    EXPECT_EQ(1, gDevicePresent);
}

// Loading and applying the stored active profile is held by the
// scenarios; here the first cycle applies everything again at once, and
// the next one drops a change request: the profile is on the card already.
TEST_F(PollingThread, FirstCycleAppliesAgainAndTheNextDropsAChangeRequest) {
    card.StoreProfile("Office", Office());
    card.SetActiveProfile("Office");
    ASSERT_TRUE(thread.RunStart());
    EXPECT_TRUE(thread.StartupMarker());
    card.ClearCalls();
    thread.RunCycle();
    EXPECT_EQ((Names{"SetWLDomain", "GetWLANConfig", "ChannelToFrequency", "SetWLANConfig"}),
              card.CallNames());
    EXPECT_EQ(0, gApplyConfigRequest);
    EXPECT_EQ(Ms{2000}, clock.Waits());

    gChangeParametersRequest = 1;
    card.ClearCalls();
    thread.RunCycle();
    EXPECT_FALSE(thread.StartupMarker());
    EXPECT_EQ(Names{"QueryOID"}, card.CallNames());
}

// An active profile the store cannot give: `reg` takes the stored
// "default", never a record that was not read, and nothing reaches the
// card before the first cycle. A first start and a missing "default"
// (made and stored afresh) are scenarios.
TEST_F(PollingThread, UnreadableActiveProfileFallsBackToTheDefaultProfile) {
    WirelessReg mine = DefaultWirelessReg();
    SetFieldText(mine.ssid, "my-default");
    card.StoreProfile("default", mine);
    card.SetActiveProfile("ghost");
    sheet.reg.Set(Office());
    TraceCapture trace;
    ASSERT_TRUE(thread.RunStart());
    EXPECT_EQ((Names{"Detect", "SetProfileRoot", "GetActiveProfileByType", "GetProfileWireless",
                     "GetProfileWireless", "SetActiveProfileByType"}),
              card.CallNames());
    EXPECT_EQ("my-default", std::string(FieldText(sheet.reg.Get().ssid)));
    EXPECT_EQ("default", card.ActiveProfile().value_or(""));
    EXPECT_FALSE(thread.StartupMarker());
    EXPECT_EQ(1u, trace.Count("Active profile \"ghost\" cannot be read (-3): using the default "
                              "profile"));
}

// ---- Cycle --------------------------------------------------------------------

// A page holding the handshake delays the cycle by at most two seconds.
TEST_F(PollingThread, QuietCycleHoldsPausesQueriesAndReleases) {
    StartAndSettle();
    sheet.forground.Set(); // the cycle resets it first
    thread.RunCycle();
    EXPECT_EQ(Names{"QueryOID"}, card.CallNames());
    EXPECT_EQ((Ms{2000, 2000}), clock.Waits());
    EXPECT_EQ((Ms{500, 1000}), clock.Sleeps());
    EXPECT_TRUE(sheet.forground.IsSet());
    EXPECT_EQ(std::vector<int>{kTrayIconConnected}, ui.Icons());

    sheet.background.Reset();
    const std::uint32_t before = clock.TickCount();
    thread.RunCycle();
    EXPECT_EQ(2000u + 500u + 1000u, clock.TickCount() - before);
    EXPECT_EQ(2u, card.CountOf("QueryOID")); // it goes on regardless
}

// A change request runs the change apply (its calls are the apply tests'),
// in the thread's own HostInfo, before the pause; a failed one is reported
// once and not retried.
TEST_F(PollingThread, ChangeRequestRunsTheChangeApplyOnceBeforeThePause) {
    StartAndSettle();
    WirelessReg reg = Office();
    reg.channel = 3;
    sheet.reg.Set(reg);
    gChangeParametersRequest = 1;
    thread.RunCycle();
    EXPECT_EQ((Ms{100, 500, 1000}), clock.Sleeps()); // the change apply's own pause first
    EXPECT_EQ(0, gChangeParametersRequest);
    EXPECT_EQ(3u, card.FrequencyToChannel(thread.ThreadHostInfo().configuration.dsConfig));
    EXPECT_TRUE(ui.Messages().empty());

    card.ClearCalls();
    card.FailSetBits(TAVL_MASK_SSID, 2);
    gChangeParametersRequest = 1;
    thread.RunCycle();
    thread.RunCycle();
    EXPECT_EQ(std::vector<int>{kStringChangeFailed}, ui.Messages());
    EXPECT_EQ(2u, card.CountOf("SetWLANConfig")); // one call and its retry, once
    EXPECT_EQ(2u, card.CountOf("QueryOID"));      // the cycle goes on
}

// A resume request marks the card present again and asks for a full
// apply; with a change request too there is one full apply and no change
// apply; a request raised during a full apply is kept for the next cycle.
TEST_F(PollingThread, RequestsGiveOneFullApplyAndOnesRaisedMeanwhileAreKept) {
    StartAndSettle();
    card.OnCall([sets = 0](std::string_view name) mutable {
        if (name == "SetWLANConfig" && sets++ == 0) {
            gApplyConfigRequest = 1; // a page hands over a new record meanwhile
        }
    });
    gDevicePresent = 0;
    gResumeRequest = 1;
    gChangeParametersRequest = 1;
    thread.RunCycle();
    EXPECT_EQ(0, gResumeRequest);
    EXPECT_EQ(1, gDevicePresent);
    EXPECT_EQ(1, gApplyConfigRequest);
    EXPECT_EQ(0, gChangeParametersRequest);
    thread.RunCycle();
    EXPECT_EQ(2u, card.CountOf("SetWLANConfig"));
    EXPECT_EQ(0x020304E6u, card.CallsNamed("SetWLANConfig").at(0).maskIn); // full
    EXPECT_EQ(0u, card.CountOf("SetDriverReg"));
}

// A started, settled thread of its own, for the table-driven cycles.
struct SettledRig : Rig {
    explicit SettledRig(std::uint8_t osClass) {
        ResetHostState();
        gOsClass = osClass;
        StartAndSettle();
    }
};

// The status query chooses the icon and keeps the card present; a failed
// one falls back to detection, except on NT 5 systems where the card is
// kept present.
TEST_F(PollingThread, StatusQueryChoosesTheIconOrFallsBackToDetectionExceptOnNt5) {
    const int on = kTrayIconConnected, off = kTrayIconNotConnected, gone = kTrayIconRemove;
    const struct {
        std::uint8_t osClass;
        bool queryFails;
        std::uint32_t status;
        bool cardThere;
        bool detects;
        bool staysPresent;
        std::vector<int> icons;
    } cases[] = {
        {kOsNt51, false, 0, true, false, true, {on}},
        {kOsWindows95, false, 1, true, false, true, {off}},
        {kOsWindows2000, true, 0, false, false, true, {}},
        {kOsNt51, true, 0, false, false, true, {}},
        {kOsWindows95, true, 0, false, true, false, {gone}},
        {kOsWindows98Me, true, 0, false, true, false, {gone}},
        {kOsNt4, true, 0, false, true, false, {gone}},
        {kOsOther, true, 0, false, true, false, {gone}},
        {kOsWindows95, true, 0, true, true, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "class " << int{c.osClass} << " fails " << c.queryFails
                                        << " status " << c.status << " card " << c.cardThere);
        SettledRig rig(c.osClass);
        rig.card.SetPresent(c.cardThere);
        rig.card.FailQuery(c.queryFails);
        rig.card.SetMediaStatus(c.status);
        TraceCapture trace;
        rig.thread.RunCycle();
        EXPECT_EQ(c.detects ? 1u : 0u, rig.card.CountOf("Detect"));
        EXPECT_EQ(c.detects ? 1u : 0u,
                  trace.Count("<M> TAVL_Detect BY (polling thread, OID_GEN_MEDIA_CONNECT_STATUS)"));
        EXPECT_EQ(c.staysPresent ? 1 : 0, gDevicePresent);
        EXPECT_EQ(c.icons, rig.ui.Icons());
        if (!c.queryFails) {
            EXPECT_EQ(c.status, rig.thread.ThreadHostInfo().mediaConnectStatus);
        }
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
    for (int i = 0; i < 3; ++i) {
        thread.RunCycle();
    }
    EXPECT_EQ((std::vector<int>{0, 0}), ui.PageAdjustments());
}

// The resend itself is a scenario; here its pauses: three seconds after
// the full apply, and the 1.5 s after it.
TEST_F(PollingThread, FullApplyOnWindows98MeSendsTheWepPartAloneAfterThreeSeconds) {
    gOsClass = kOsWindows98Me;
    StartAndSettle();
    gApplyConfigRequest = 1;
    const std::size_t sleepsBefore = clock.Sleeps().size();
    thread.RunCycle();
    EXPECT_EQ(2u, card.CountOf("SetWLANConfig"));
    EXPECT_EQ((Ms{3000, 1500}),
              Ms(clock.Sleeps().begin() + static_cast<std::ptrdiff_t>(sleepsBefore),
                 clock.Sleeps().end()));
}

// ---- On a real thread ----------------------------------------------------------

// A real clock whose sleeps and waits last an hour: a thread that stops
// promptly on it was woken, not timed out.
class StretchedClock final : public Clock {
public:
    std::uint32_t TickCount() override { return real.TickCount(); }
    void Sleep(std::uint32_t) override { real.Sleep(kHourMs); }
    bool Wait(CManualResetEvent& event, std::uint32_t) override {
        return real.Wait(event, kHourMs);
    }

    RealClock real;

private:
    static constexpr std::uint32_t kHourMs = 3'600'000;
};

// Counts the fake card's calls by name and lets the test wait for them;
// a call named `held` does not reach the card until `release` is ready.
class CallWatcher {
public:
    explicit CallWatcher(CardRecorder& card) : card_(card) {
        card_.OnCall([this](std::string_view name) {
            {
                std::lock_guard lock(mutex_);
                ++counts_[std::string(name)];
            }
            changed_.notify_all();
            if (name == held) {
                release.wait();
            }
        });
    }
    ~CallWatcher() { card_.OnCall({}); }

    // The bound only keeps a broken build from hanging; it is not measured.
    bool WaitFor(const std::string& name, int count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(60),
                                 [&] { return counts_[name] >= count; });
    }

    std::string held; // set before the thread starts
    std::shared_future<void> release;

private:
    CardRecorder& card_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, int> counts_;
};

class PollingThreadLifetime : public PollingThread {};

// Stop ends an hour's wait: for the card (with the clock interrupted), and
// a page's hold (the clock not interrupted: only `background` ends it).
TEST_F(PollingThreadLifetime, StopEndsTheWaitForTheCardAndReleasesTheHandshakeHold) {
    CallWatcher watcher{card};
    card.SetPresent(false);
    StretchedClock stretched;
    {
        CPollingThread thread(card, sheet, ui, stretched);
        thread.Start();
        ASSERT_TRUE(watcher.WaitFor("Detect", 1));
        stretched.real.Interrupt();
        EXPECT_TRUE(thread.Stop());
    }
    EXPECT_EQ(std::vector<std::string>{"Detect"}, card.CallNames());
    EXPECT_TRUE(ui.Events().empty());

    ResetHostState();
    card.SetPresent(true);
    sheet.background.Reset();
    StretchedClock held;
    CPollingThread holding(card, sheet, ui, held);
    holding.Start();
    ASSERT_TRUE(watcher.WaitFor("SetProfileWireless", 1));
    EXPECT_TRUE(holding.Stop());
    EXPECT_TRUE(sheet.background.IsSet());
    EXPECT_EQ(0u, card.CountOf("QueryOID"));
}

TEST_F(PollingThreadLifetime, StopGivesUpOnACallThatDoesNotReturnAndCanBeRepeated) {
    // The first detection does not return until the test lets it.
    CallWatcher watcher{card};
    std::promise<void> release;
    watcher.held = "Detect";
    watcher.release = release.get_future().share();
    RealClock real;
    CPollingThread stuck(card, sheet, ui, real);
    ASSERT_TRUE(stuck.Start());
    ASSERT_TRUE(watcher.WaitFor("Detect", 1));

    real.Interrupt();
    EXPECT_FALSE(stuck.Stop(50));
    EXPECT_FALSE(stuck.Ended());

    release.set_value();
    EXPECT_TRUE(stuck.Stop(60'000));
    EXPECT_TRUE(stuck.Ended());
}

TEST_F(PollingThreadLifetime, ThreadTheSystemRefusesIsReportedNotThrown) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers need the address space this test takes away";
#else
    // A fresh child process (no stack of an ended thread cached for reuse)
    // whose address space has no room for another stack.
    const auto startWithoutRoomForAStack = [&] {
        std::ifstream statm("/proc/self/statm");
        unsigned long pages = 0;
        statm >> pages;
        const rlim_t bytes = static_cast<rlim_t>(pages) * 4096 + (1 << 20);
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_AS, &limit);
        RealClock real;
        return CPollingThread(card, sheet, ui, real).Start();
    };
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(startWithoutRoomForAStack() ? 1 : 0), testing::ExitedWithCode(0), "");
#endif
}

} // namespace
