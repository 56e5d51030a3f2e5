// The kernel's scan cache turned into the survey the utility reads: only
// entries seen since the last scan began, only on channels the domain
// allows, as TavlSurveyEntry records.
#pragma once

#include "device/tavl.h"
#include "realcard/Nl80211Decode.h"

#include <cstdint>
#include <vector>

namespace realcard {

TavlSurveyEntry MakeSurveyEntry(const ScanBss& bss);

// Entries last seen at or after `scanStartNs` (CLOCK_BOOTTIME) whose
// channel is in `allowed`; entries without a time stamp are kept.
std::vector<TavlSurveyEntry> CurrentScan(const std::vector<ScanBss>& cache,
                                         std::uint64_t scanStartNs, std::uint16_t allowed);

} // namespace realcard
