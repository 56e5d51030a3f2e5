// The HostInfo fields a write names, checked and taken into what the
// library keeps, and the fields no supplicant command can apply. Plain
// functions: the rules that keep a write from reporting a false success.
#pragma once

#include "device/tavl.h"
#include "realcard/Wanted.h"

#include <cstdint>

namespace realcard {

inline constexpr std::uint32_t kThresholdOff = 0xFFFFFFFFu; // nl80211: no threshold
inline constexpr std::uint32_t kFragOff = 2346;
inline constexpr std::uint32_t kRtsOff = 2347;

// Validates every field `mask` names as the simulated card does and takes
// the valid ones into `wanted`. Returns the bits that fail: unknown and
// read-only bits and invalid values. 0x8 and 0x40000 are accepted.
std::uint32_t TakeFields(std::uint32_t mask, const HostInfo& host, Wanted& wanted);

// Of the fields `asked`, those the radio chooses itself and no command
// sets: a rate list other than the automatic one, the long preamble, and
// 802.11b only (GMode 0, with the configuration bit).
std::uint32_t FieldsTheRadioSetsItself(std::uint32_t asked, const Wanted& wanted);

// A threshold as the card reports it: nl80211's "off" (or a value past
// `off`) as `off`; `wanted` when the radio gave none.
std::uint32_t ThresholdOrOff(bool known, std::uint32_t value, std::uint32_t off,
                             std::uint32_t wanted);

} // namespace realcard
