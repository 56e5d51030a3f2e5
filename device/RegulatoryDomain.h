// The regulatory domain and the channel override of the settings file.
#pragma once

#include <cstdint>
#include <string>

// Domain indices and their names.
inline constexpr const char* kDomainNames[5] = {"FCC", "ETSI", "SPAIN", "FRANCE", "MKK"};

// The domain an entry "D" selects: accepted when it has at least five
// characters whose codes, each less 48, add up to 25; the domain is then
// the third character less 48. Anything outside 0..4 gives 0.
std::int32_t DomainFromEntry(const std::string& entry);

// The channel mask an entry "Ch" gives: bit i (mod 32) for every "1" at
// position i, keeping bits 0..15 only.
std::uint16_t ChannelMaskFromEntry(const std::string& entry);

// Reads "D" and "Ch" of section "INI" in the settings file into gDomain
// and gIniChannelMask, with their trace lines.
void ReadDomainSettings(const std::string& settingsPath);

// The channels the card may use: the override when set, else the card's.
inline std::uint16_t AllowedChannelMask(std::uint16_t iniMask, std::uint16_t cardMask) {
    return iniMask != 0 ? iniMask : cardMask;
}
