// Classifying the operating system into gOsClass, and the settings path.
#pragma once

#include "support/OsVersion.h"

#include <cstdint>
#include <string>

struct OsClassification {
    std::uint8_t osClass = 0;
    std::uint32_t winMe = 0;
};

// NT 5.0 gives 1, other NT 5.x 5, NT 4 gives 4; 9x gives 3 for a non-zero
// minor (winMe 1 exactly for minor 90) and 2 for minor 0; else 0.
OsClassification ClassifyOs(const OsVersion& version);

// The settings file of a module: its extension (the text after the last
// "." of the file name) replaced by ".bin", or ".bin" appended when the
// file name has no extension. A "." in a folder name never counts.
std::string SettingsPathFor(const std::string& modulePath);
