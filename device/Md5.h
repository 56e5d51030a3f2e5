// The MD5 message digest (RFC 1321), the utility's own implementation.
//
// Used for the 128-bit keys made from a passphrase. No state lives outside
// the context the caller passes: initialise, add bytes, finish.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

using Md5Digest = std::array<std::uint8_t, 16>;

struct Md5Context {
    std::uint32_t state[4];
    std::uint64_t byteCount; // bytes added so far
    std::uint8_t block[64];  // bytes of the block not yet processed
};

void Md5Init(Md5Context& context);
void Md5Update(Md5Context& context, const void* data, std::size_t length);
// Pads the message, processes the last block and returns the digest. The
// context must be initialised again before it is used for another message.
Md5Digest Md5Final(Md5Context& context);

// The digest of `length` bytes at `data`, in one call.
Md5Digest Md5Of(const void* data, std::size_t length);
