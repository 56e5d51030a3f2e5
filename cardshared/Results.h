// Result codes of the simulated card library beyond those the callers rely
// on (device/tavl.h). Every failure is negative; cardlib/README.md lists them.
#pragma once

#include <cstdint>

namespace cardsim {

inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kInvalidArgument = -1; // null pointer, value out of range
inline constexpr std::int32_t kCardAbsent = -2;      // removed or suspended
inline constexpr std::int32_t kNotFound = -3;        // no profile of that name
inline constexpr std::int32_t kStorageError = -4;    // a file could not be read or written
inline constexpr std::int32_t kCorruptProfile = -5;  // a stored profile failed its checks
inline constexpr std::int32_t kInjectedFailure = -6; // failure injection of the world
inline constexpr std::int32_t kUnknownObject = -7;   // TAVL_QueryOID: object not supported
inline constexpr std::int32_t kBufferTooShort = -8;  // TAVL_QueryOID: fewer than 4 bytes

} // namespace cardsim
