// Process-wide state shared by the main frame, the pages and the polling
// thread. Each flag is an atomic of its documented width.
#pragma once

#include "device/tavl.h"

#include <atomic>
#include <cstdint>

class CardLibrary;

inline std::atomic<std::uint8_t> gDevicePresent{0};
inline std::atomic<std::uint8_t> gChangeParametersRequest{0};
inline std::atomic<std::uint8_t> gApplyConfigRequest{1};
inline std::atomic<std::uint8_t> gResumeRequest{0};
inline std::atomic<std::uint8_t> gThreadExit{0};
inline std::atomic<std::uint8_t> gSheetOpen{0};
inline std::atomic<std::uint32_t> gZeroConfig{0};
// 1 Windows 2000, 5 NT 5.1 and later 5.x, 4 NT 4, 2 Windows 95,
// 3 Windows 98/Me, 0 other.
inline std::atomic<std::uint8_t> gOsClass{0};
inline std::atomic<std::uint32_t> gWinMe{0};
inline std::atomic<std::int32_t> gDomain{0};
inline std::atomic<std::uint16_t> gIniChannelMask{0};

// Operating-system classes of gOsClass.
enum OsClass : std::uint8_t {
    kOsOther = 0,
    kOsWindows2000 = 1,
    kOsWindows95 = 2,
    kOsWindows98Me = 3,
    kOsNt4 = 4,
    kOsNt51 = 5,
};

// TAVL_Detect with the process-wide 516-byte gDetectInfo buffer. Both
// threads detect; the buffer is filled under a lock. Returns the result.
std::int32_t DetectCard(CardLibrary& library);
// A copy of gDetectInfo as last filled.
void CopyDetectInfo(std::uint8_t (&out)[TAVL_DETECT_INFO_SIZE]);
// Zeroes gDetectInfo.
void ClearDetectInfo();

// Puts every flag back to its initial value (tests; one process, many cases).
void ResetHostState();
