// CPollingThread: the background thread that owns the card's life cycle.
//
// It waits for the card, loads the active profile into the sheet's `reg`
// (or creates the "default" profile), then cycles once a second: it lets
// the pages in through the access handshake, runs the full apply or the
// change apply that a page requested, watches the media connection status
// for the tray icon, and notices when the card is gone.
//
// Everything it does to the tray, the sheet or a message box goes through
// HostUi, which only queues the request: the thread never waits for the
// user-interface thread. Every sleep and timed wait goes through `clock`.
#pragma once

#include "device/CardLibrary.h"
#include "device/Clock.h"
#include "device/HostUi.h"
#include "device/SheetState.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// Root of the profile store below which every profile lives.
inline constexpr const char* kProfileRoot = "Corvane\\Profile";
// Name of the protected default profile.
inline constexpr const char* kDefaultProfileName = "default";

inline constexpr std::uint32_t kCardPollMs = 1000;
inline constexpr std::uint32_t kCycleHoldMs = 2000;
inline constexpr std::uint32_t kPreventBlueMs = 500;
inline constexpr std::uint32_t kCyclePauseMs = 1000;
// Every this many cycles with the card present the page set is checked
// against the zero-configuration service.
inline constexpr std::uint32_t kZeroConfigCheckCycles = 3;
// How long Stop waits for the thread to end. Woken, it ends within one
// card call; a call that never returns must not keep the utility from
// exiting.
inline constexpr std::uint32_t kStopBoundMs = 3000;

class CPollingThread {
public:
    CPollingThread(CardLibrary& library, SheetState& sheet, HostUi& ui, Clock& clock);
    // Stops the thread when it was started and not yet stopped. A thread
    // still inside the card library after Stop's bound is left running
    // (the process is leaving without destructors then, see Ended()).
    ~CPollingThread();
    CPollingThread(const CPollingThread&) = delete;
    CPollingThread& operator=(const CPollingThread&) = delete;

    // The start: detect the card, wait for it (polling gDevicePresent once
    // a second), show icon 187, set the profile root, and load and apply
    // the active profile or create "default". False when gThreadExit ended
    // the wait.
    bool RunStart();
    // One cycle, in order: resume request, handshake hold, full apply or
    // start-up marker, change apply, pause, media status and tray icon,
    // page-set check every third cycle; or the absent branch; then the
    // handshake release and the one-second pause.
    void RunCycle();
    // The thread procedure: the start, then cycles until gThreadExit.
    void Run();

    // Runs Run() on a new thread. False when the system could not create
    // the thread (no memory, no more threads): nothing runs then.
    bool Start();
    // Sets gThreadExit, releases the handshake wait (sets `background`)
    // and waits at most `boundMs` for the thread to end, then joins it.
    // The application interrupts the real clock first, so the thread's
    // sleeps end at once. False when the thread is still running after
    // the bound: it is inside a card library call that did not return, and
    // the library must then neither be called nor closed by anyone else.
    // Stop may be called again later.
    bool Stop(std::uint32_t boundMs = kStopBoundMs);
    // True unless a started thread did not end within Stop's bound.
    bool Ended();

    // The thread's own HostInfo, used by the change apply and the status
    // query (tests).
    const HostInfo& ThreadHostInfo() const { return pHostInfo; }
    bool StartupMarker() const { return startupApplied_; }
    std::uint32_t CycleCounter() const { return cycleCounter_; }

private:
    void LoadActiveProfile();
    // "No active profile": `reg` takes the stored "default", or the
    // default record, which is then stored as "default"; "default" becomes
    // active. `unreadable` names an active profile that could not be read.
    void UseDefaultProfile(const char* unreadable);
    void RunFullApply();
    void RunChangeApply();
    void QueryMediaStatus();
    void CheckPagesEveryThirdCycle();
    void HandleAbsentCard();

    CardLibrary& library_;
    SheetState& sheet_;
    HostUi& ui_;
    Clock& clock_;
    HostInfo pHostInfo{};
    // Set when the active profile existed and was applied at start.
    bool startupApplied_ = false;
    std::uint32_t cycleCounter_ = 0;
    std::thread thread_;
    std::mutex endMutex_;
    std::condition_variable endChanged_;
    bool running_ = false;
};
