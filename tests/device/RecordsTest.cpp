#include "device/Records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Records, DefaultRecordHoldsFactorySettingsByteForByte) {
    const WirelessReg reg = DefaultWirelessReg();

    WirelessReg expected;
    std::memset(&expected, 0, sizeof expected);
    expected.channel = 6;
    expected.txRate = 15;
    expected.opMode = 1;
    expected.GMode = 1;
    std::memcpy(expected.profileName, "default", 7);
    std::memcpy(expected.ssid, "any", 3);
    for (int i = 0; i < 4; ++i) {
        std::memcpy(expected.keyText128[i], "7D20E8B4C19F6A5D03E7B28C41", 26);
        std::memcpy(expected.keyText64[i], "3A9C17E05B", 10);
        std::memcpy(expected.keyText[i], "3A9C17E05B", 10);
    }
    expected.fragThreshold = 2346;
    expected.rtsThreshold = 2347;
    expected.authType = 2;
    expected.keyEntryMode = 2;

    EXPECT_EQ(0, std::memcmp(&reg, &expected, sizeof reg));
}

TEST(Records, DefaultRecordFieldsAtTheirOffsets) {
    const WirelessReg reg = DefaultWirelessReg();
    const auto* bytes = reinterpret_cast<const unsigned char*>(&reg);
    EXPECT_EQ(6, bytes[0]);
    EXPECT_EQ(15, bytes[4]);
    EXPECT_EQ(0, std::memcmp(bytes + 16, "default\0", 8));
    EXPECT_EQ(0, std::memcmp(bytes + 81, "any\0", 4));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(0, std::memcmp(bytes + 381 + 27 * i, "7D20E8B4C19F6A5D03E7B28C41\0", 27));
        EXPECT_EQ(0, std::memcmp(bytes + 489 + 11 * i, "3A9C17E05B\0", 11));
        EXPECT_EQ(0, std::memcmp(bytes + 533 + 27 * i, "3A9C17E05B\0", 11));
    }
    EXPECT_EQ(0x2A, bytes[648]); // 2346 = 0x092A
    EXPECT_EQ(0x09, bytes[649]);
    EXPECT_EQ(0x2B, bytes[652]); // 2347
    EXPECT_EQ(2, bytes[664]);
    EXPECT_EQ(2, bytes[668]);
    for (int i = 672; i < 1768; ++i) {
        ASSERT_EQ(0, bytes[i]) << "reserved byte " << i;
    }
}

struct RateCase {
    std::uint32_t code;
    std::array<std::uint8_t, 8> rates;
};

class RatesForCodeTable : public testing::TestWithParam<RateCase> {};

TEST_P(RatesForCodeTable, GivesTheListedRates) {
    EXPECT_EQ(GetParam().rates, RatesForCode(GetParam().code));
}

INSTANTIATE_TEST_SUITE_P(Records, RatesForCodeTable,
                         testing::Values(RateCase{1, {2}}, RateCase{2, {4}}, RateCase{3, {4, 2}},
                                         RateCase{4, {11}}, RateCase{8, {22}},
                                         RateCase{15, {108, 96, 72, 48, 36, 24, 22, 18}},
                                         RateCase{0, {0}}, RateCase{22, {22}},
                                         RateCase{300, {44}}));

TEST(Records, FieldTextStopsAtTheFieldEndWithoutTerminator) {
    char field[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ("abcd", FieldText(field));
    SetFieldText(field, "toolong");
    EXPECT_EQ("too", FieldText(field));
    EXPECT_EQ('\0', field[3]);
}

TEST(Records, WepKeyHandleRoundTripsAFullAddress) {
    HostInfo host{};
    WepKeyBuffer key{};
    TavlSetWepKey(&host, 2, &key);
    EXPECT_EQ(&key, TavlGetWepKey(&host, 2));
    EXPECT_EQ(nullptr, TavlGetWepKey(&host, 0));
    TavlSetWepKey(&host, 2, nullptr);
    EXPECT_EQ(0u, host.wepKey[2]);
    EXPECT_EQ(0u, host.wepKeyHigh[2]);
}

} // namespace
