// The simulated card's driver file: a small ELF64 object whose only
// content is the project's version stamp (the note ".note.skerrin.version":
// name "Skerrin", type 0x56455253, four little-endian words), so the About
// page reads the driver's version the way it reads any file's.
#pragma once

#include "device/tavl.h"

#include <array>
#include <cstdint>
#include <string>

namespace cardsim {

// The bytes of the driver file: ELF header, the note, the section name
// table, and the section headers (null, .note.skerrin.version, .shstrtab).
std::string BuildDriverImage(const std::array<std::uint32_t, 4>& version);

// Writes the driver file when it is missing or carries another version.
bool EnsureDriverFile(const std::string& path, const std::array<std::uint32_t, 4>& version);

// `target` relative to the folder `from` (both resolved as far as they
// exist); empty when there is no such path.
std::string RelativePath(const std::string& target, const std::string& from);

// Writes `reg` as the driver's own settings: the file driver-settings.bin
// in `folder` (created when missing), 1768 bytes as given, replaced
// atomically and flushed to disk.
bool WriteDriverSettings(const std::string& folder, const WirelessReg& reg);

} // namespace cardsim
