#include "device/WepSettings.h"

#include "device/Records.h"
#include "tests/device/TraceCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string HexOf(const WepKeyBuffer& block) {
    std::string out;
    char digits[3];
    for (std::uint32_t i = 0; i < block.keyLength; ++i) {
        std::snprintf(digits, sizeof digits, "%02X", block.keyMaterial[i]);
        out += digits;
    }
    return out;
}

WirelessReg WithKeys(std::uint32_t level, const char* key0) {
    WirelessReg reg = DefaultWirelessReg();
    reg.encryptionLevel = level;
    SetFieldText(reg.keyText[0], key0);
    SetFieldText(reg.keyText[1], "0123456789ABCDEF0123456789");
    SetFieldText(reg.keyText[2], "FFFFFFFFFFFFFFFFFFFFFFFFFF");
    SetFieldText(reg.keyText[3], "00000000000000000000000000");
    return reg;
}

struct LevelCase {
    std::uint32_t level;
    std::uint32_t mask;
    std::uint32_t wepStatus;
    std::uint32_t keyLength; // 0: no key blocks
};

void PrintTo(const LevelCase& c, std::ostream* os) {
    *os << "level " << c.level;
}

class WepLevels : public testing::TestWithParam<LevelCase> {};

TEST_P(WepLevels, MaskStatusAndKeyBlocksFollowTheLevel) {
    const LevelCase c = GetParam();
    const WirelessReg reg = WithKeys(c.level, "3A9C17E05B");
    HostInfo host{};
    std::uint32_t mask = 0x4; // bits already present stay
    BuildWepSettings(reg, host, mask);

    EXPECT_EQ(c.mask | 0x4, mask);
    EXPECT_EQ(c.wepStatus, host.wepStatus);
    EXPECT_EQ(2u, host.authMode);
    for (int i = 0; i < 4; ++i) {
        const WepKeyBuffer* block = TavlGetWepKey(&host, i);
        if (c.keyLength == 0) {
            EXPECT_EQ(nullptr, block);
            continue;
        }
        ASSERT_NE(nullptr, block);
        EXPECT_EQ(c.keyLength, block->keyLength);
        EXPECT_EQ(c.keyLength + 15, block->length);
        EXPECT_EQ(static_cast<std::uint32_t>(i), block->keyIndex & ~TAVL_WEP_TRANSMIT_KEY);
    }
    FreeWepKeys(host);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(nullptr, TavlGetWepKey(&host, i));
    }
}

INSTANTIATE_TEST_SUITE_P(BuildWepSettings, WepLevels,
                         testing::Values(LevelCase{0, 0x30000, 1, 0}, LevelCase{1, 0x3F000, 0, 5},
                                         LevelCase{2, 0x3F000, 0, 13},
                                         // Any other non-zero level sends 128-bit keys.
                                         LevelCase{7, 0x3F000, 0, 13}),
                         [](const auto& info) {
                             return "Level" + std::to_string(info.param.level);
                         });

class TransmitKey : public testing::TestWithParam<std::int32_t> {};

TEST_P(TransmitKey, OnlyTheDefaultKeyCarriesBit31) {
    WirelessReg reg = WithKeys(1, "3A9C17E05B");
    reg.defaultKeyId = GetParam();
    HostInfo host{};
    std::uint32_t mask = 0;
    WepKeysGuard guard(host);
    BuildWepSettings(reg, host, mask);
    for (int i = 0; i < 4; ++i) {
        const bool transmit = (TavlGetWepKey(&host, i)->keyIndex & TAVL_WEP_TRANSMIT_KEY) != 0;
        EXPECT_EQ(i == reg.defaultKeyId, transmit) << "key " << i;
    }
}

// Outside 0..3 no key is the transmit key, and nothing outside the four
// blocks is touched.
INSTANTIATE_TEST_SUITE_P(BuildWepSettings, TransmitKey,
                         testing::Values(0, 1, 2, 3, -1, 4, 0x7FFFFFFF, INT32_MIN));

struct KeyTextCase {
    const char* name;
    std::uint32_t level;
    std::vector<char> slot; // the 27 bytes of keyText[0]; shorter is padded with NUL
    const char* bytes;
};

void PrintTo(const KeyTextCase& key, std::ostream* out) {
    *out << key.name;
}

class KeyTexts : public testing::TestWithParam<KeyTextCase> {};

TEST_P(KeyTexts, KeyBytesComeFromDigitPairs) {
    const KeyTextCase c = GetParam();
    WirelessReg reg = WithKeys(c.level, "");
    std::memset(reg.keyText[0], 0, sizeof reg.keyText[0]);
    std::copy_n(c.slot.begin(), std::min(c.slot.size(), sizeof reg.keyText[0]), reg.keyText[0]);
    HostInfo host{};
    std::uint32_t mask = 0;
    WepKeysGuard guard(host);
    BuildWepSettings(reg, host, mask);
    EXPECT_EQ(c.bytes, HexOf(*TavlGetWepKey(&host, 0)));
    // The other keys are untouched by key 0's text.
    const std::string key1 = HexOf(*TavlGetWepKey(&host, 1));
    EXPECT_EQ(std::string("0123456789ABCDEF0123456789").substr(0, key1.size()), key1);
}

std::vector<char> Text(const char* text) {
    return {text, text + std::strlen(text)};
}

INSTANTIATE_TEST_SUITE_P(
    BuildWepSettings, KeyTexts,
    testing::Values(
        KeyTextCase{"Digits64", 1, Text("3A9C17E05B"), "3A9C17E05B"},
        KeyTextCase{"LowerCase", 1, Text("3a9c17e05b"), "3A9C17E05B"},
        KeyTextCase{"Digits128", 2, Text("7D20E8B4C19F6A5D03E7B28C41"),
                    "7D20E8B4C19F6A5D03E7B28C41"},
        // Only the first 10 digits count for a 64-bit key.
        KeyTextCase{"LongTextAt64", 1, Text("7D20E8B4C19F6A5D03E7B28C41"), "7D20E8B4C1"},
        // Characters that are not hexadecimal digits count 0.
        KeyTextCase{"NonHex", 1, Text("ZZ9C1G-05b"), "009C10005B"},
        // A short text: the missing digits count 0.
        KeyTextCase{"Short", 1, Text("3A9"), "3A90000000"},
        KeyTextCase{"ShortAt128", 2, Text("3A9C17E05B"), "3A9C17E05B0000000000000000"},
        KeyTextCase{"Empty", 1, Text(""), "0000000000"},
        // Bytes after the terminator are not part of the key.
        KeyTextCase{"DigitsAfterTerminator",
                    1,
                    {'3', 'A', '\0', 'F', 'F', 'F', 'F', 'F', 'F', 'F'},
                    "3A00000000"},
        // A slot without a terminator: 26 digits are read, never beyond.
        KeyTextCase{"NoTerminator", 2, std::vector<char>(27, 'F'), "FFFFFFFFFFFFFFFFFFFFFFFFFF"}),
    [](const testing::TestParamInfo<KeyTextCase>& info) { return info.param.name; });

TEST(BuildWepSettings, TracesTheEncryptionLevel) {
    TraceCapture trace;
    HostInfo host{};
    std::uint32_t mask = 0;
    BuildWepSettings(WithKeys(2, ""), host, mask);
    FreeWepKeys(host);
    EXPECT_EQ(1u, trace.Count(" reg.encryptionLevel=2"));
}

TEST(BuildWepSettings, TurningWepOffClearsEarlierSlots) {
    HostInfo host{};
    std::uint32_t mask = 0;
    BuildWepSettings(WithKeys(1, "3A9C17E05B"), host, mask);
    FreeWepKeys(host);
    host.wepKey[2] = 0x1234; // a stale handle from elsewhere
    BuildWepSettings(WithKeys(0, ""), host, mask);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(nullptr, TavlGetWepKey(&host, i));
    }
}

} // namespace
