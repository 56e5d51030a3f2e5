// The WEP part of a configuration write: one key block per key, built
// from the record's key texts and referenced from a HostInfo's wepKey
// slots through the handle scheme of tavl.h.
#pragma once

#include "device/tavl.h"

#include <cstdint>
#include <memory>
#include <string_view>

// Value of one hexadecimal digit ("0"-"9", "a"-"f", "A"-"F"); 0 for any
// other character.
std::uint8_t HexDigitValue(char c);

// A key block for key index `keyIndex` holding `keyLength` bytes (at most
// 16) read from `hexText` two digits per byte, first pair first. A text
// that ends early gives 0 for the missing digits; the text is never read
// past its end.
std::unique_ptr<WepKeyBuffer> MakeWepKeyBuffer(std::uint32_t keyIndex, std::string_view hexText,
                                               std::uint32_t keyLength);

// Adds the WEP part of `reg` to `host` and its bits to `mask`, with
// authentication mode 2 (automatic switch).
//
// WEP on (encryptionLevel not 0): four key blocks from reg.keyText, 5
// bytes each for level 1 and 13 otherwise, mask bits 0x1000 << i; the
// block whose index equals reg.defaultKeyId carries the transmit bit (none
// does when defaultKeyId is outside 0..3); wepStatus 0. WEP off: the four
// slots null, wepStatus 1. Both add 0x10000 and 0x20000.
//
// The four slots are overwritten; release the blocks with FreeWepKeys
// (or a WepKeysGuard) once the write is done.
void BuildWepSettings(const WirelessReg& reg, HostInfo& host, std::uint32_t& mask);

// Frees the key blocks BuildWepSettings referenced from `host` and sets
// the four slots to null.
void FreeWepKeys(HostInfo& host);

// Frees the key blocks of a HostInfo when the scope ends.
class WepKeysGuard {
public:
    explicit WepKeysGuard(HostInfo& host) : host_(host) {}
    ~WepKeysGuard() { FreeWepKeys(host_); }
    WepKeysGuard(const WepKeysGuard&) = delete;
    WepKeysGuard& operator=(const WepKeysGuard&) = delete;

private:
    HostInfo& host_;
};
