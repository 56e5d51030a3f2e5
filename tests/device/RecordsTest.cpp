#include "device/Records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

// The factory record byte for byte, as stored files hold it: each word
// and text at its offset, every other byte zero.
TEST(Records, DefaultRecordHoldsTheFactorySettingsAtTheirOffsets) {
    std::vector<unsigned char> expected(sizeof(WirelessReg), 0);
    const auto text = [&](std::size_t offset, std::string_view bytes) {
        std::copy(bytes.begin(), bytes.end(), expected.begin() + offset);
    };
    const auto word = [&](std::size_t offset, std::uint32_t value) {
        std::memcpy(expected.data() + offset, &value, sizeof value);
    };
    word(0, 6);  // channel
    word(4, 15); // automatic rate
    word(8, 1);  // infrastructure
    word(12, 1); // GMode
    text(16, "default");
    text(81, "any");
    for (std::size_t i = 0; i < 4; ++i) {
        text(381 + 27 * i, "7D20E8B4C19F6A5D03E7B28C41");
        text(489 + 11 * i, "3A9C17E05B");
        text(533 + 27 * i, "3A9C17E05B");
    }
    word(648, 2346); // fragmentation off
    word(652, 2347); // RTS off
    word(664, 2);    // automatic authentication
    word(668, 2);    // hexadecimal keys

    ASSERT_EQ(1768u, expected.size());
    const WirelessReg reg = DefaultWirelessReg();
    const auto* bytes = reinterpret_cast<const unsigned char*>(&reg);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(expected[i], bytes[i]) << "byte " << i;
    }
}

// Codes outside the rate table are the rate itself, in its low byte.
// The rates of each transfer-rate code, in units of 500 kbit/s.
TEST(Records, RatesForEachCode) {
    using Rates = std::array<std::uint8_t, 8>;
    EXPECT_EQ(Rates{2}, RatesForCode(1));
    EXPECT_EQ(Rates{4}, RatesForCode(2));
    EXPECT_EQ((Rates{4, 2}), RatesForCode(3));
    EXPECT_EQ(Rates{11}, RatesForCode(4));
    EXPECT_EQ(Rates{22}, RatesForCode(8));
    EXPECT_EQ((Rates{108, 96, 72, 48, 36, 24, 22, 18}), RatesForCode(15));
    EXPECT_EQ(Rates{22}, RatesForCode(22));
    EXPECT_EQ(Rates{44}, RatesForCode(300));
}

TEST(Records, FieldTextStopsAtTheFieldEndWithoutTerminator) {
    char field[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ("abcd", FieldText(field));
    SetFieldText(field, "toolong");
    EXPECT_EQ("too", FieldText(field));
    EXPECT_EQ('\0', field[3]);
}

} // namespace
