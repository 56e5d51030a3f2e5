// File version information: the four-number version stamp the project's
// binaries carry in an ELF note (section ".note.skerrin.version", name
// "Skerrin", type 0x56455253, four little-endian 32-bit words: major,
// minor, patch, build). Read with libelf; the file is never loaded.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

using FileVersionNumbers = std::array<std::uint32_t, 4>;

// The stamp of the regular file at `path`; nothing when the file is
// missing, not a regular file, not ELF, or carries no well-formed stamp.
std::optional<FileVersionNumbers> ReadFileVersion(const std::string& path);

// "%u.%u.%u.%u" of a stamp.
std::string FileVersionText(const FileVersionNumbers& version);

// Writes the version text of the file at `path` into `text` and returns
// true; leaves `text` untouched and returns false when the file has no
// readable stamp.
bool GetFileVersionText(const std::string& path, std::string& text);
