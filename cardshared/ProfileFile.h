// One stored profile as a file: its name rules, its file name and its
// contents.
#pragma once

#include "device/tavl.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cardsim {

// A name the store accepts: 1 to TAVL_PROFILE_NAME_MAX characters (UTF-8
// sequences count as one), at most TAVL_NAME_BUFFER_MIN - 1 bytes so it
// always fits a caller's name buffer whole, and a file name that fits the
// file system. Any byte but NUL may appear.
bool ValidProfileName(std::string_view name);

// The file name of a profile: the name with ASCII letters folded to lower
// case (names differing only in case share one file), every byte other
// than a-z, 0-9, '-', '_' and bytes of multi-byte characters written as
// %XX, and ".prf" appended. It never holds '/', never starts with '.', and
// so never leaves the profile folder.
std::string ProfileFileName(std::string_view name);

inline constexpr const char* kProfileSuffix = ".prf";

// The file's contents: "TAVLPRF1", format version 1, the name's length
// and bytes, the record's size (1768) and bytes as given, and a CRC-32 of
// everything before it; integers are 32-bit little-endian.
std::string EncodeProfile(std::string_view name, const WirelessReg& reg);

// Reads a profile file. False for anything not exactly as written by
// EncodeProfile: short, long, another magic or version, a bad name or size,
// a checksum that does not match.
bool DecodeProfile(std::string_view data, std::string& name, WirelessReg& reg);

std::uint32_t Crc32(std::string_view data);

} // namespace cardsim
