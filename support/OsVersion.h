// The operating-system version record: what the platform reports and the
// device layer classifies.
#pragma once

#include <cstdint>

// Platform families of an operating-system version record.
enum class OsPlatform { Win32s, Windows9x, WindowsNt, Other };

struct OsVersion {
    OsPlatform platform = OsPlatform::Other;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};
