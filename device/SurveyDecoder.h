// Decoding the site survey result of TAVL_SiteSurveyGet: a 32-bit entry
// count followed by 104-byte entries (TavlSurveyEntry), little-endian.
#pragma once

#include "device/SurveyTable.h"

#include <cstdint>
#include <span>

class CardLibrary;

// The entry count the result reports (0 when the buffer is shorter than
// the count itself). It may exceed what the buffer holds.
std::uint32_t SurveyReportedCount(std::span<const std::uint8_t> result);

// The number of entries that may be read: the reported count, at most the
// whole entries the buffer holds.
std::uint32_t SurveyReadableCount(std::span<const std::uint8_t> result);

// The row of entry `index` (< SurveyReadableCount), or false when the
// entry is not listed: an SSID length above 32, or a BSSID whose first
// four bytes are zero. Only the low 16 bits of the level count, as a
// signed dBm value.
bool DecodeSurveyEntry(std::span<const std::uint8_t> result, std::uint32_t index,
                       CardLibrary& library, SurveyRow& row);

// Empties `table` and adds the rows of every usable entry in result
// order (duplicates and rows beyond 64 dropped by the table). Never reads
// past the buffer, whatever the count says. Returns the reported count.
std::uint32_t FillSurveyTable(std::span<const std::uint8_t> result, CardLibrary& library,
                              CSurveyTable& table);
