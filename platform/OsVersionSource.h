// The operating-system version the utility classifies.
#pragma once

#include "support/OsVersion.h"

// On Linux the system is reported as the NT family 5.1. The variable
// SKERRIN_OS_VERSION ("nt:5.0", "9x:4.90", "9x:4.0", "win32s:3.1",
// "other:0.0") puts another version in its place, so tests reach every class.
OsVersion CurrentOsVersion();

// The version a SKERRIN_OS_VERSION text names; NT 5.1 for anything unreadable.
OsVersion ParseOsVersion(const char* text);
