// Binding CardLibrary to a card library file with dlopen.
#pragma once

#include "device/CardLibrary.h"

#include <memory>
#include <string>

// File name of the card library, looked for beside the executable.
inline constexpr const char* kCardLibraryFileName = "libtavl3.so";

// Opens the card library at `path` and binds every call. On failure (no
// file, not a shared object, a missing symbol, another interface version)
// `error` names the file and the cause, and the result is a library that
// never finds a card: every call fails, TAVL_Detect answers 0.
std::unique_ptr<CardLibrary> LoadCardLibrary(const std::string& path, std::string& error);

// The library with no card behind it, used when loading failed.
std::unique_ptr<CardLibrary> MakeAbsentCardLibrary();
