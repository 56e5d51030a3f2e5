// What the utility set, kept by the library: read back as the card would
// give it, also where the radio could not take it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace realcard {

struct Wanted {
    std::string ssid = "any";
    std::uint32_t infrastructure = 1;
    std::uint32_t channel = 6;
    std::uint32_t gMode = 1;
    std::uint32_t wepDisabled = 1;
    std::uint32_t authMode = 0;
    std::array<std::vector<std::uint8_t>, 4> keys;
    std::uint32_t txKey = 0;
    std::uint32_t powerMode = 0;
    std::uint32_t fragThreshold = 2346;
    std::uint32_t rtsThreshold = 2347;
    std::uint8_t rates[8] = {108, 96, 72, 48, 36, 24, 22, 18};
    std::uint32_t preamble = 2;
    std::int32_t domain = 0;
};

} // namespace realcard
