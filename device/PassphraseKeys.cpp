#include "device/PassphraseKeys.h"

#include "device/Md5.h"

#include <cstdint>

namespace {

constexpr std::uint32_t kMultiplier = 0x343FD;
constexpr std::uint32_t kIncrement = 0x269EC3;
// The 128-bit key hashes the passphrase repeated to this many bytes.
constexpr std::size_t kHashedBytes = 64;

void AppendHex(std::string& text, std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
}

WepKeyTexts Keys64(std::string_view passphrase) {
    std::uint8_t seed[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < passphrase.size(); ++i) {
        seed[i % 4] ^= static_cast<std::uint8_t>(passphrase[i]);
    }
    std::uint32_t state =
        static_cast<std::uint32_t>(seed[0]) | static_cast<std::uint32_t>(seed[1]) << 8 |
        static_cast<std::uint32_t>(seed[2]) << 16 | static_cast<std::uint32_t>(seed[3]) << 24;
    WepKeyTexts keys;
    for (std::string& key : keys) {
        key.reserve(2 * kWepKeyBytes64);
        for (std::size_t b = 0; b < kWepKeyBytes64; ++b) {
            state = state * kMultiplier + kIncrement;
            AppendHex(key, static_cast<std::uint8_t>(state >> 16));
        }
    }
    return keys;
}

WepKeyTexts Keys128(std::string_view passphrase) {
    std::uint8_t repeated[kHashedBytes];
    for (std::size_t i = 0; i < kHashedBytes; ++i) {
        repeated[i] = static_cast<std::uint8_t>(passphrase[i % passphrase.size()]);
    }
    const Md5Digest digest = Md5Of(repeated, sizeof repeated);
    std::string key;
    key.reserve(2 * kWepKeyBytes128);
    for (std::size_t b = 0; b < kWepKeyBytes128; ++b) {
        AppendHex(key, digest[b]);
    }
    return {key, key, key, key};
}

} // namespace

WepKeyTexts MakePassphraseKeys(std::string_view passphrase, std::size_t keyLength) {
    if (passphrase.empty()) {
        return {};
    }
    if (keyLength == kWepKeyBytes64) {
        return Keys64(passphrase);
    }
    if (keyLength == kWepKeyBytes128) {
        return Keys128(passphrase);
    }
    return {};
}
