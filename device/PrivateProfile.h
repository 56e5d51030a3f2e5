// Reading INI files with the classic private-profile rules: section and
// entry names without regard to case, values trimmed of blanks and of one
// pair of enclosing quotes (double or single), cut to the caller's buffer
// size, and the default when the file, the section or the
// entry is missing.
#pragma once

#include <cstddef>
#include <string>

// Reads `entry` of `section` from the INI file at `path`; at most
// `bufferSize - 1` characters of the value are returned. Files larger than
// kPrivateProfileMaxBytes are read only up to that size; anything but a
// regular file (a FIFO, a device, a folder) reads as missing, without
// blocking.
std::string GetPrivateProfileString(const std::string& section, const std::string& entry,
                                    const std::string& defaultValue, std::size_t bufferSize,
                                    const std::string& path);

// Same, on INI text already in memory.
std::string PrivateProfileValue(const std::string& text, const std::string& section,
                                const std::string& entry, const std::string& defaultValue,
                                std::size_t bufferSize);

inline constexpr std::size_t kPrivateProfileMaxBytes = 1 << 20;
