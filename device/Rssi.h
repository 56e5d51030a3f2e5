// Signal level to percentage, as the Link Info and Site Survey pages show it.
#pragma once

#include <cstdint>

// `level` is dBm; 0 is taken as -90. (level + 90) * 100 / 45, truncated
// toward zero, at most 100, with no lower bound: -90 gives 0, -60 66,
// -45 100, -91 -2.
constexpr int RssiToPercent(std::int16_t level) {
    const int dbm = level == 0 ? -90 : level;
    const int percent = (dbm + 90) * 100 / 45;
    return percent > 100 ? 100 : percent;
}
