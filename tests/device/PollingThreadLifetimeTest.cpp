// The polling thread on a real thread: start and stop, under the thread
// sanitizer. Its cycles on their own thread up to the library's
// termination are the scenarios' (no card call after TAVL_Terminate).
#include "device/PollingThread.h"

#include "device/HostState.h"
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

namespace {

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

class PollingThreadLifetime : public testing::Test {
protected:
    void SetUp() override { ResetHostState(); }
    void TearDown() override { ResetHostState(); }

    CardRecorder card;
    SheetState sheet;
    FakeHostUi ui;
    CallWatcher watcher{card};
};

// Stop ends an hour's wait: for the card (with the clock interrupted), and
// a page's hold (the clock not interrupted: only `background` ends it).
TEST_F(PollingThreadLifetime, StopEndsTheWaitForTheCardAndReleasesTheHandshakeHold) {
    card.SetPresent(false);
    StretchedClock clock;
    {
        CPollingThread thread(card, sheet, ui, clock);
        thread.Start();
        ASSERT_TRUE(watcher.WaitFor("Detect", 1));
        clock.real.Interrupt();
        EXPECT_TRUE(thread.Stop());
    }
    EXPECT_EQ(std::vector<std::string>{"Detect"}, card.CallNames());
    EXPECT_TRUE(ui.Events().empty());

    ResetHostState();
    card.SetPresent(true);
    sheet.background.Reset();
    StretchedClock held;
    CPollingThread thread(card, sheet, ui, held);
    thread.Start();
    ASSERT_TRUE(watcher.WaitFor("SetProfileWireless", 1));
    EXPECT_TRUE(thread.Stop());
    EXPECT_TRUE(sheet.background.IsSet());
    EXPECT_EQ(0u, card.CountOf("QueryOID"));
}

TEST_F(PollingThreadLifetime, StopGivesUpOnACallThatDoesNotReturnAndCanBeRepeated) {
    // The first detection does not return until the test lets it.
    std::promise<void> release;
    watcher.held = "Detect";
    watcher.release = release.get_future().share();
    RealClock clock;
    CPollingThread thread(card, sheet, ui, clock);
    ASSERT_TRUE(thread.Start());
    ASSERT_TRUE(watcher.WaitFor("Detect", 1));

    clock.Interrupt();
    EXPECT_FALSE(thread.Stop(50));
    EXPECT_FALSE(thread.Ended());

    release.set_value();
    EXPECT_TRUE(thread.Stop(60'000));
    EXPECT_TRUE(thread.Ended());
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define SKERRIN_SANITIZED 1
#endif

#ifndef SKERRIN_SANITIZED
// A fresh child process (no stack of an ended thread cached for reuse)
// whose address space has no room for another stack.
bool StartWithoutRoomForAStack(CardRecorder& card, SheetState& sheet, FakeHostUi& ui) {
    std::ifstream statm("/proc/self/statm");
    unsigned long pages = 0;
    statm >> pages;
    const rlim_t bytes = static_cast<rlim_t>(pages) * 4096 + (1 << 20);
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_AS, &limit);
    RealClock clock;
    CPollingThread thread(card, sheet, ui, clock);
    return thread.Start();
}

#endif
TEST_F(PollingThreadLifetime, ThreadTheSystemRefusesIsReportedNotThrown) {
#ifdef SKERRIN_SANITIZED
    GTEST_SKIP() << "the sanitizers need the address space this test takes away";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(StartWithoutRoomForAStack(card, sheet, ui) ? 1 : 0),
                testing::ExitedWithCode(0), "");
#endif
}

} // namespace
