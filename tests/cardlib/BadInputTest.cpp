// Every call given bad input answers with a failure result or failed mask
// bits, and writes nothing past the caller's buffers.
#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

struct BadCall {
    const char* name;
    std::function<bool()> fails; // true when the call reported failure
};

void PrintTo(const BadCall& c, std::ostream* out) {
    *out << c.name;
}

std::uint32_t SetMask(std::uint32_t mask, const HostInfo& host) {
    TAVL_SetWLANConfig(&mask, &host);
    return mask;
}

// A write of key 1 from a block with these words; true when it is refused.
bool KeyRefused(std::uint32_t length, std::uint32_t keyLength, std::uint32_t index) {
    HostInfo host{};
    WepKeyBuffer block{};
    block.length = length;
    block.keyLength = keyLength;
    block.keyIndex = index;
    TavlSetWepKey(&host, 0, &block);
    return SetMask(TAVL_MASK_WEP_KEY1, host) == TAVL_MASK_WEP_KEY1;
}

bool ChannelRefused(std::uint32_t channel) {
    return TAVL_SetChannel(&channel) != 0;
}

class BadInput : public testing::TestWithParam<BadCall> {};

// With the journal on, as under the utility: the journal line of a bad
// call must not read through a null argument either.
TEST_P(BadInput, IsAFailureNotACrash) {
    SimHome home;
    home.WriteWorld(cardsim::DefaultWorld());
    setenv("TAVL_SIM_JOURNAL", home.Path("journal.log").c_str(), 1);
    ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile"));
    EXPECT_TRUE(GetParam().fails());
    unsetenv("TAVL_SIM_JOURNAL");
}

char gName[TAVL_NAME_BUFFER_MIN];
WirelessReg gReg;
HostInfo gHost;
std::uint32_t gWord;

INSTANTIATE_TEST_SUITE_P(
    EveryCall, BadInput,
    testing::Values(
        BadCall{"InitNullIdentity", [] { return TAVL_Init(nullptr, 0) != 1; }},
        BadCall{"DetectNull", [] { return TAVL_Detect(nullptr) != 1; }},
        BadCall{"GetConfigNullMask", [] { return TAVL_GetWLANConfig(nullptr, &gHost) != 0; }},
        BadCall{"GetConfigNullRecord",
                [] {
                    std::uint32_t mask = 0x2;
                    return TAVL_GetWLANConfig(&mask, nullptr) != 0 && mask == 0x2;
                }},
        BadCall{"GetConfigUnknownBits",
                [] {
                    std::uint32_t mask = 0x80000002u;
                    return TAVL_GetWLANConfig(&mask, &gHost) != 0 && mask == 0x80000000u;
                }},
        BadCall{"SetConfigNullMask", [] { return TAVL_SetWLANConfig(nullptr, &gHost) != 0; }},
        BadCall{"SetConfigNullRecord",
                [] {
                    std::uint32_t mask = 0x20;
                    return TAVL_SetWLANConfig(&mask, nullptr) != 0 && mask == 0x20;
                }},
        BadCall{"SetConfigUnknownBits",
                [] {
                    HostInfo host{};
                    host.infrastructureMode = 1;
                    return SetMask(0x40000020u, host) == 0x40000000u;
                }},
        BadCall{"SetConfigReadOnlyBits",
                [] { return SetMask(0x0C000811u, HostInfo{}) == 0x0C000811u; }},
        BadCall{"SetConfigSsidTooLong",
                [] {
                    HostInfo host{};
                    host.ssidLength = 33;
                    return SetMask(TAVL_MASK_SSID, host) == TAVL_MASK_SSID;
                }},
        BadCall{"SetConfigChannelOutsideBand",
                [] {
                    HostInfo host{};
                    host.configuration = {32, 100, 0, TAVL_ChannelToFrequency(15), 16, 0, 0, 0};
                    return SetMask(TAVL_MASK_CONFIGURATION, host) == TAVL_MASK_CONFIGURATION;
                }},
        BadCall{"SetConfigBlockLength",
                [] {
                    HostInfo host{};
                    host.configuration = {31, 100, 0, 2437000, 16, 0, 0, 0};
                    return SetMask(TAVL_MASK_CONFIGURATION, host) == TAVL_MASK_CONFIGURATION;
                }},
        BadCall{"SetConfigNullKey",
                [] { return SetMask(TAVL_MASK_WEP_KEY1, HostInfo{}) == TAVL_MASK_WEP_KEY1; }},
        BadCall{"SetConfigKeyBlockLength", [] { return KeyRefused(21, 5, 0); }},
        BadCall{"SetConfigKeyLength", [] { return KeyRefused(22, 7, 0); }},
        BadCall{"SetConfigKeyIndex", [] { return KeyRefused(20, 5, 2); }},
        BadCall{"SetConfigOutOfRangeWords",
                [] {
                    HostInfo host{};
                    host.infrastructureMode = 2;
                    host.wepStatus = 5;
                    host.authMode = 3;
                    host.fragThreshold = 100;
                    host.rtsThreshold = 5000;
                    const std::uint32_t mask = TAVL_MASK_INFRASTRUCTURE | TAVL_MASK_WEP_STATUS |
                                               TAVL_MASK_AUTH_MODE | TAVL_MASK_FRAG_THRESHOLD |
                                               TAVL_MASK_RTS_THRESHOLD | TAVL_MASK_SUPPORTED_RATES;
                    return SetMask(mask, host) == mask;
                }},
        BadCall{"SetSsidNull", [] { return TAVL_SetSSID(nullptr) != 0; }},
        BadCall{"SetSsidTooLong",
                [] {
                    SsidText ssid{};
                    ssid.length = 33;
                    return TAVL_SetSSID(&ssid) != 0;
                }},
        BadCall{"QueryNullBuffer",
                [] {
                    std::uint32_t written = 9;
                    return TAVL_QueryOID(TAVL_OID_GEN_XMIT_OK, nullptr, 4, &written) != 0 &&
                           written == 0;
                }},
        BadCall{"QueryNullWritten",
                [] { return TAVL_QueryOID(TAVL_OID_GEN_XMIT_OK, &gWord, 4, nullptr) != 0; }},
        BadCall{"QueryUnknownObject",
                [] {
                    std::uint32_t value = 0x5A5A5A5A;
                    std::uint32_t written = 9;
                    return TAVL_QueryOID(0x0D010101, &value, 4, &written) != 0 && written == 0 &&
                           value == 0x5A5A5A5A;
                }},
        BadCall{"QueryShortBuffer",
                [] {
                    std::uint8_t value[4] = {0x5A, 0x5A, 0x5A, 0x5A};
                    std::uint32_t written = 9;
                    return TAVL_QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, value, 2, &written) !=
                               0 &&
                           written == 0 && value[0] == 0x5A;
                }},
        BadCall{"DomainBelowRange", [] { return TAVL_SetWLDomain(-1) != 0; }},
        BadCall{"DomainAboveRange", [] { return TAVL_SetWLDomain(5) != 0; }},
        BadCall{"ChannelNull", [] { return TAVL_SetChannel(nullptr) != 0; }},
        BadCall{"ChannelZero", [] { return ChannelRefused(0); }},
        BadCall{"ChannelFifteen", [] { return ChannelRefused(15); }},
        BadCall{"ModeNull", [] { return TAVL_SetOperatingMode(nullptr) != 0; }},
        BadCall{"ModeTwo",
                [] {
                    const std::uint32_t mode = 2;
                    return TAVL_SetOperatingMode(&mode) != 0;
                }},
        BadCall{"SurveyNullBuffer",
                [] {
                    std::uint32_t size = TAVL_SURVEY_BUFFER_SIZE;
                    return TAVL_SiteSurveyGet(nullptr, &size) != 1;
                }},
        BadCall{"SurveyNullSize",
                [] {
                    std::uint8_t buffer[TAVL_SURVEY_BUFFER_SIZE];
                    return TAVL_SiteSurveyGet(buffer, nullptr) != 1;
                }},
        BadCall{"XpwzcNull", [] { return TAVL_Get_XPWZC(nullptr) != 0; }},
        BadCall{"DriverPathNull", [] { return TAVL_GetWLANDriverPath(nullptr) != 1; }},
        BadCall{"DriverPathUnterminated",
                [] {
                    char path[TAVL_PATH_BUFFER_SIZE];
                    std::memset(path, 'a', sizeof path);
                    return TAVL_GetWLANDriverPath(path) != 1 && path[0] == 'a';
                }},
        BadCall{"DriverPathEmpty",
                [] {
                    char path[TAVL_PATH_BUFFER_SIZE] = "";
                    return TAVL_GetWLANDriverPath(path) != 1;
                }},
        BadCall{"RootNull", [] { return TAVL_SetProfileRoot(nullptr) != 0; }},
        BadCall{"ActiveNullBuffer",
                [] { return TAVL_GetActiveProfileByType(nullptr, TAVL_PROFILE_TYPE) != 0; }},
        BadCall{"ActiveOtherType", [] { return TAVL_GetActiveProfileByType(gName, 2) != 0; }},
        BadCall{"SetActiveNull",
                [] { return TAVL_SetActiveProfileByType(nullptr, TAVL_PROFILE_TYPE) != 0; }},
        BadCall{"EnumNullBuffer",
                [] { return TAVL_EnumProfilesByType(0, nullptr, TAVL_PROFILE_TYPE) != 0; }},
        BadCall{"EnumOtherType", [] { return TAVL_EnumProfilesByType(0, gName, 0) != 0; }},
        BadCall{"DeleteNull",
                [] { return TAVL_DeleteProfileByType(nullptr, TAVL_PROFILE_TYPE) != 0; }},
        BadCall{"LoadNullName", [] { return TAVL_GetProfileWireless(nullptr, &gReg) != 0; }},
        BadCall{"LoadNullRecord", [] { return TAVL_GetProfileWireless("default", nullptr) != 0; }},
        BadCall{"LoadMissing", [] { return TAVL_GetProfileWireless("nowhere", &gReg) != 0; }},
        BadCall{"StoreNullRecord", [] { return TAVL_SetProfileWireless("x", nullptr) != 0; }},
        BadCall{"DriverRegNull", [] { return TAVL_SetDriverReg(nullptr) != 0; }}),
    [](const testing::TestParamInfo<BadCall>& info) { return info.param.name; });

TEST(CardAbsent, EveryRadioCallFailsCleanly) {
    SimHome home;
    cardsim::World world = cardsim::DefaultWorld();
    world.present = false;
    home.WriteWorld(world);
    std::uint8_t info[TAVL_DETECT_INFO_SIZE];
    EXPECT_EQ(0, TAVL_Detect(info));
    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_FULL_READ;
    EXPECT_NE(0, TAVL_GetWLANConfig(&mask, &host));
    EXPECT_EQ(TAVL_MASK_FULL_READ, mask);
    mask = TAVL_MASK_SSID;
    EXPECT_NE(0, TAVL_SetWLANConfig(&mask, &host));
    EXPECT_EQ(TAVL_MASK_SSID, mask);
    EXPECT_NE(0, TAVL_SiteSurveyTrigger());
    std::uint8_t buffer[TAVL_SURVEY_BUFFER_SIZE];
    std::uint32_t size = sizeof buffer;
    EXPECT_NE(1, TAVL_SiteSurveyGet(buffer, &size));
    const std::uint32_t channel = 6;
    EXPECT_NE(0, TAVL_SetChannel(&channel));
}

} // namespace
