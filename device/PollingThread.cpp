#include "device/PollingThread.h"

#include "device/Apply.h"
#include "device/HostState.h"
#include "device/Records.h"
#include "support/Trace.h"

#include <chrono>
#include <cstring>
#include <system_error>

namespace {

// Room for the active profile's name.
constexpr std::size_t kActiveNameBuffer = 260;

// Windows 2000 and NT 5.1 and later: a failed status query does not mean
// the card is gone, and a vanished card ends the sheet's modal loop.
bool IsNt5Class() {
    const std::uint8_t os = gOsClass;
    return os == kOsWindows2000 || os == kOsNt51;
}

} // namespace

CPollingThread::CPollingThread(CardLibrary& library, SheetState& sheet, HostUi& ui, Clock& clock)
    : library_(library), sheet_(sheet), ui_(ui), clock_(clock) {}

CPollingThread::~CPollingThread() {
    if (thread_.joinable() && !Stop()) {
        thread_.detach();
    }
}

bool CPollingThread::RunStart() {
    ClearDetectInfo();
    gDevicePresent = 0;
    TraceOut("<M> TAVL_Detect BY (polling thread, first time only)");
    if (DetectCard(library_) == 1) {
        gDevicePresent = 1;
    }
    // The main frame marks the card present when it arrives later.
    while (gThreadExit == 0 && gDevicePresent == 0) {
        clock_.Sleep(kCardPollMs);
    }
    if (gThreadExit != 0) {
        return false;
    }

    ui_.ModifyIconAtTaskbar(kTrayIconNotConnected);
    library_.SetProfileRoot(kProfileRoot);
    LoadActiveProfile();
    return true;
}

void CPollingThread::LoadActiveProfile() {
    char name[kActiveNameBuffer] = {};
    const std::int32_t result = library_.GetActiveProfileByType(name, TAVL_PROFILE_TYPE);
    name[sizeof name - 1] = '\0';
    if (result == TAVL_PROFILE_NONE_ACTIVE) {
        UseDefaultProfile(nullptr);
        return;
    }
    // Only a record the store gave whole reaches `reg` and the card.
    WirelessReg reg{};
    const std::int32_t read = library_.GetProfileWireless(name, &reg);
    if (read != 0) {
        TraceOut("Active profile \"%s\" cannot be read (%i): using the default profile", name,
                 read);
        UseDefaultProfile(name);
        return;
    }
    sheet_.reg.Set(reg);
    ApplyConfiguration(library_, reg);
    startupApplied_ = true;
}

void CPollingThread::UseDefaultProfile(const char* unreadable) {
    // A stored "default" that can be read is kept as it is; otherwise the
    // default record becomes "default". The first cycle's full apply
    // brings it to the card.
    WirelessReg reg{};
    const bool stored = unreadable != nullptr &&
                        std::strcmp(unreadable, kDefaultProfileName) != 0 &&
                        library_.GetProfileWireless(kDefaultProfileName, &reg) == 0;
    if (!stored) {
        reg = DefaultWirelessReg();
    }
    sheet_.reg.Set(reg);
    library_.SetActiveProfileByType(kDefaultProfileName, TAVL_PROFILE_TYPE);
    if (!stored) {
        library_.SetProfileWireless(kDefaultProfileName, &reg);
    }
}

void CPollingThread::RunCycle() {
    std::uint8_t expected = 1;
    if (gResumeRequest.compare_exchange_strong(expected, 0)) {
        gApplyConfigRequest = 1;
        gDevicePresent = 1;
    }

    sheet_.forground.Reset();
    clock_.Wait(sheet_.background, kCycleHoldMs);

    if (gDevicePresent != 0) {
        if (gApplyConfigRequest == 1) {
            RunFullApply();
            // The next cycle follows at once, without releasing the pages.
            return;
        }
        if (startupApplied_) {
            startupApplied_ = false;
            gChangeParametersRequest = 0;
        }
        if (gChangeParametersRequest != 0) {
            RunChangeApply();
        }
        // PreventBlue: a pause before the status query.
        clock_.Sleep(kPreventBlueMs);
        QueryMediaStatus();
        CheckPagesEveryThirdCycle();
    } else {
        HandleAbsentCard();
    }

    sheet_.forground.Set();
    clock_.Sleep(kCyclePauseMs);
}

void CPollingThread::Run() {
    if (!RunStart()) {
        return;
    }
    while (gThreadExit == 0) {
        RunCycle();
    }
}

// The requests are taken before `reg` is read, so a request a page raises
// while the apply runs is kept for the next cycle.
void CPollingThread::RunFullApply() {
    gApplyConfigRequest = 0;
    gChangeParametersRequest = 0;
    const WirelessReg reg = sheet_.reg.Get();
    ApplyConfiguration(library_, reg);
    if (gOsClass == kOsWindows98Me) {
        SendWepPartAfter(library_, reg, clock_, kWepAloneAfterFullApplyMs);
    }
}

void CPollingThread::RunChangeApply() {
    gChangeParametersRequest = 0;
    const WirelessReg reg = sheet_.reg.Get();
    if (!ApplyChange(library_, reg, pHostInfo, clock_)) {
        ui_.ShowMessage(kStringChangeFailed);
    }
}

void CPollingThread::QueryMediaStatus() {
    std::uint32_t written = 0;
    const std::int32_t result =
        library_.QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &pHostInfo.mediaConnectStatus,
                          sizeof pHostInfo.mediaConnectStatus, &written);
    if (result == 0 && written == sizeof pHostInfo.mediaConnectStatus) {
        ui_.ModifyIconAtTaskbar(pHostInfo.mediaConnectStatus == 0 ? kTrayIconConnected
                                                                  : kTrayIconNotConnected);
        gDevicePresent = 1;
        return;
    }
    if (IsNt5Class()) {
        return;
    }
    TraceOut("<M> TAVL_Detect BY (polling thread, OID_GEN_MEDIA_CONNECT_STATUS)");
    if (DetectCard(library_) != 1) {
        ui_.ModifyIconAtTaskbar(kTrayIconRemove);
        gDevicePresent = 0;
    }
}

void CPollingThread::CheckPagesEveryThirdCycle() {
    if (++cycleCounter_ >= kZeroConfigCheckCycles) {
        cycleCounter_ = 0;
        ui_.AdjustPagesByXPWZC(0);
    }
}

void CPollingThread::HandleAbsentCard() {
    gDevicePresent = 0;
    ui_.ModifyIconAtTaskbar(kTrayIconRemove);
    if (IsNt5Class() && gSheetOpen != 0) {
        ui_.EndSheetModal(1);
    }
}

bool CPollingThread::Start() {
    {
        std::lock_guard lock(endMutex_);
        running_ = true;
    }
    try {
        thread_ = std::thread([this] {
            Run();
            {
                std::lock_guard lock(endMutex_);
                running_ = false;
            }
            endChanged_.notify_all();
        });
    } catch (const std::system_error& error) {
        TraceOut("<M> Polling thread not created: %s", error.what());
        std::lock_guard lock(endMutex_);
        running_ = false;
        return false;
    }
    return true;
}

bool CPollingThread::Stop(std::uint32_t boundMs) {
    gThreadExit = 1;
    sheet_.background.Set();
    if (!thread_.joinable()) {
        return true;
    }
    {
        std::unique_lock lock(endMutex_);
        if (!endChanged_.wait_for(lock, std::chrono::milliseconds(boundMs),
                                  [this] { return !running_; })) {
            return false;
        }
    }
    thread_.join();
    return true;
}

bool CPollingThread::Ended() {
    std::lock_guard lock(endMutex_);
    return !running_;
}
