// Four WEP keys made from a passphrase.
//
// A pure function: no state, no card, no record. The Encryption page
// decides when to call it and where the keys go.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Key lengths in bytes: 64-bit WEP uses 5-byte keys, 128-bit WEP 13.
inline constexpr std::size_t kWepKeyBytes64 = 5;
inline constexpr std::size_t kWepKeyBytes128 = 13;

// Keys 1 to 4, each as uppercase hexadecimal digits, two per key byte.
using WepKeyTexts = std::array<std::string, 4>;

// The four keys for `passphrase` (its 8-bit characters, without a
// terminator) and a key length of 5 or 13 bytes.
//
// 5 bytes: the passphrase bytes are folded into a 4-byte seed by XOR
// (byte i into seed byte i mod 4); the seed, read as a little-endian word,
// starts a 32-bit linear congruential generator (x 214013 + 2531011) whose
// bits 16 to 23 give the 20 key bytes, keys 1 to 4 in turn.
//
// 13 bytes: the MD5 digest of the passphrase repeated to exactly 64 bytes
// (a longer passphrase contributes its first 64); its first 13 bytes are
// key 1, and keys 2 to 4 are copies of it.
//
// An empty passphrase, or any other key length, gives four empty texts:
// there is no key to make.
WepKeyTexts MakePassphraseKeys(std::string_view passphrase, std::size_t keyLength);
