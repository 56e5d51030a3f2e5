#include "device/WepSettings.h"

#include "cardshared/Text.h"
#include "device/Records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string HexOf(const WepKeyBuffer& block) {
    return cardsim::HexBytes(block.keyMaterial, block.keyLength);
}

WirelessReg WithKeys(std::uint32_t level, const std::vector<char>& key0) {
    WirelessReg reg = DefaultWirelessReg();
    reg.encryptionLevel = level;
    std::memset(reg.keyText[0], 0, sizeof reg.keyText[0]);
    std::copy_n(key0.begin(), std::min(key0.size(), sizeof reg.keyText[0]), reg.keyText[0]);
    SetFieldText(reg.keyText[1], "0123456789ABCDEF0123456789");
    return reg;
}

std::vector<char> Text(const char* text) {
    return {text, text + std::strlen(text)};
}

// Masks, status, block sizes and the transmit bit of a default key in
// 0..3 are held by the apply tests' journal lines. A default key outside
// 0..3 makes no key the transmit key; every level above 1 is 128-bit.
TEST(BuildWepSettings, DefaultKeyOutsideTheSlotsMarksNoTransmitKey) {
    for (const std::int32_t defaultKey : {-1, 4, INT32_MIN, 0x7FFFFFFF}) {
        WirelessReg reg = WithKeys(7, Text("3A9C17E05B"));
        reg.defaultKeyId = defaultKey;
        HostInfo host{};
        std::uint32_t mask = 0;
        WepKeysGuard guard(host);
        BuildWepSettings(reg, host, mask);
        for (int i = 0; i < 4; ++i) {
            const WepKeyBuffer* block = TavlGetWepKey(&host, i);
            ASSERT_NE(nullptr, block);
            EXPECT_EQ(static_cast<std::uint32_t>(i), block->keyIndex) << defaultKey;
            EXPECT_EQ(13u, block->keyLength);
        }
    }
}

TEST(BuildWepSettings, KeyBytesComeFromDigitPairs) {
    const struct {
        std::uint32_t level;
        std::vector<char> slot; // the 27 bytes of keyText[0]; shorter is padded with NUL
        const char* bytes;
    } cases[] = {
        {1, Text("3a9c17e05b"), "3A9C17E05B"},
        {2, Text("7D20E8B4C19F6A5D03E7B28C41"), "7D20E8B4C19F6A5D03E7B28C41"},
        {1, Text("7D20E8B4C19F6A5D03E7B28C41"), "7D20E8B4C1"}, // 10 digits at 64 bits
        {1, Text("ZZ9C1G-05b"), "009C10005B"},                 // other characters count 0
        {1, Text("3A9"), "3A90000000"},                        // missing digits count 0
        {2, Text("3A9C17E05B"), "3A9C17E05B0000000000000000"},
        {1, {'3', 'A', '\0', 'F', 'F', 'F', 'F', 'F', 'F', 'F'}, "3A00000000"},
        {2, std::vector<char>(27, 'F'), "FFFFFFFFFFFFFFFFFFFFFFFFFF"}, // never past 26 digits
    };
    for (const auto& c : cases) {
        HostInfo host{};
        std::uint32_t mask = 0;
        WepKeysGuard guard(host);
        BuildWepSettings(WithKeys(c.level, c.slot), host, mask);
        EXPECT_EQ(c.bytes, HexOf(*TavlGetWepKey(&host, 0)));
        // Key 1 is untouched by key 0's text.
        const std::string key1 = HexOf(*TavlGetWepKey(&host, 1));
        EXPECT_EQ(std::string("0123456789ABCDEF0123456789").substr(0, key1.size()), key1);
    }
}

TEST(BuildWepSettings, TurningWepOffClearsEarlierSlots) {
    HostInfo host{};
    std::uint32_t mask = 0;
    BuildWepSettings(WithKeys(1, Text("3A9C17E05B")), host, mask);
    FreeWepKeys(host);
    host.wepKey[2] = 0x1234; // a stale handle from elsewhere
    BuildWepSettings(WithKeys(0, {}), host, mask);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(nullptr, TavlGetWepKey(&host, i));
    }
}

} // namespace
