#include "device/HostState.h"

#include "device/CardLibrary.h"

#include <cstring>
#include <mutex>

namespace {

std::mutex gDetectMutex;
std::uint8_t gDetectInfo[TAVL_DETECT_INFO_SIZE] = {};

} // namespace

std::int32_t DetectCard(CardLibrary& library) {
    std::lock_guard lock(gDetectMutex);
    return library.Detect(gDetectInfo);
}

void CopyDetectInfo(std::uint8_t (&out)[TAVL_DETECT_INFO_SIZE]) {
    std::lock_guard lock(gDetectMutex);
    std::memcpy(out, gDetectInfo, sizeof gDetectInfo);
}

void ClearDetectInfo() {
    std::lock_guard lock(gDetectMutex);
    std::memset(gDetectInfo, 0, sizeof gDetectInfo);
}

void ResetHostState() {
    gDevicePresent = 0;
    gChangeParametersRequest = 0;
    gApplyConfigRequest = 1;
    gResumeRequest = 0;
    gThreadExit = 0;
    gSheetOpen = 0;
    gZeroConfig = 0;
    gOsClass = 0;
    gWinMe = 0;
    gDomain = 0;
    gIniChannelMask = 0;
    ClearDetectInfo();
}
