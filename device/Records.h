// Work on the card records: the default profile, the rate table, and
// bounded text fields.
#pragma once

#include "device/tavl.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

inline constexpr const char* kDefault128KeyText = "7D20E8B4C19F6A5D03E7B28C41";
inline constexpr const char* kDefault64KeyText = "3A9C17E05B";

// The record used when the library has no active profile: channel 6, auto
// rate, infrastructure, SSID "any", WEP off with the default key texts.
WirelessReg DefaultWirelessReg();

// supportedRates for a txRate code, in units of 500 kbit/s; unused bytes 0.
std::array<std::uint8_t, 8> RatesForCode(std::uint32_t txRate);

// The text of a fixed-size field up to its terminator, or the whole field
// when it has none: never reads past the field.
template <std::size_t N> std::string_view FieldText(const char (&field)[N]) {
    const void* end = std::memchr(field, '\0', N);
    return {field, end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : N};
}

// Copies `text` into a fixed-size field, cut to N - 1 bytes, terminated,
// and the rest of the field zeroed.
template <std::size_t N> void SetFieldText(char (&field)[N], std::string_view text) {
    const std::size_t n = text.size() < N ? text.size() : N - 1;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}
