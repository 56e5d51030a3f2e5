// Every call given bad input answers with a failure result or failed mask
// bits, and writes nothing past the caller's buffers.
#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

std::uint32_t SetMask(std::uint32_t mask, const HostInfo& host) {
    TAVL_SetWLANConfig(&mask, &host);
    return mask;
}

// A write of key 1 from a block with these words; true when it is refused.
bool KeyRefused(std::uint32_t length, std::uint32_t keyLength, std::uint32_t index) {
    HostInfo host{};
    WepKeyBuffer block{length, index, keyLength, {}};
    TavlSetWepKey(&host, 0, &block);
    return SetMask(TAVL_MASK_WEP_KEY1, host) == TAVL_MASK_WEP_KEY1;
}

// A write of the configuration block; true when it is refused.
bool ConfigurationRefused(std::uint32_t length, std::uint32_t khz) {
    HostInfo host{};
    host.configuration = {length, 100, 0, khz, 16, 0, 0, 0};
    return SetMask(TAVL_MASK_CONFIGURATION, host) == TAVL_MASK_CONFIGURATION;
}

char gName[TAVL_NAME_BUFFER_MIN];
WirelessReg gReg;
HostInfo gHost;
std::uint32_t gWord;
SsidText gLongSsid{33, {}};
std::uint8_t gSurvey[TAVL_SURVEY_BUFFER_SIZE];
std::uint32_t gSurveySize = TAVL_SURVEY_BUFFER_SIZE;

// With the journal on, as under the utility: the journal line of a bad
// call must not read through a null argument either.
TEST(BadInput, EveryCallFailsWithoutACrash) {
    SimHome home;
    home.WriteWorld(cardsim::DefaultWorld());
    setenv("TAVL_SIM_JOURNAL", home.Path("journal.log").c_str(), 1);
    ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile"));
    const std::uint32_t two = 2;
    const std::uint32_t fifteen = 15;
    const std::pair<const char*, std::function<bool()>> calls[] = {
        {"InitNull", [] { return TAVL_Init(nullptr, 0) != 1; }},
        {"DetectNull", [] { return TAVL_Detect(nullptr) != 1; }},
        {"GetNullMask", [] { return TAVL_GetWLANConfig(nullptr, &gHost) != 0; }},
        {"GetNullRecord",
         [] {
             std::uint32_t mask = 0x2;
             return TAVL_GetWLANConfig(&mask, nullptr) != 0 && mask == 0x2;
         }},
        {"GetUnknownBits",
         [] {
             std::uint32_t mask = 0x80000002u;
             return TAVL_GetWLANConfig(&mask, &gHost) != 0 && mask == 0x80000000u;
         }},
        {"SetNullMask", [] { return TAVL_SetWLANConfig(nullptr, &gHost) != 0; }},
        {"SetNullRecord",
         [] {
             std::uint32_t mask = 0x20;
             return TAVL_SetWLANConfig(&mask, nullptr) != 0 && mask == 0x20;
         }},
        {"SetUnknownBits",
         [] {
             HostInfo host{};
             host.infrastructureMode = 1;
             return SetMask(0x40000020u, host) == 0x40000000u;
         }},
        {"SetReadOnlyBits", [] { return SetMask(0x0C000811u, HostInfo{}) == 0x0C000811u; }},
        {"SetSsidTooLong",
         [] {
             HostInfo host{};
             host.ssidLength = 33;
             return SetMask(TAVL_MASK_SSID, host) == TAVL_MASK_SSID;
         }},
        {"SetChannelOutsideBand",
         [] { return ConfigurationRefused(32, TAVL_ChannelToFrequency(15)); }},
        {"SetConfigBlockLength", [] { return ConfigurationRefused(31, 2437000); }},
        {"SetNullKey",
         [] { return SetMask(TAVL_MASK_WEP_KEY1, HostInfo{}) == TAVL_MASK_WEP_KEY1; }},
        {"SetKeyBlockLength", [] { return KeyRefused(21, 5, 0); }},
        {"SetKeyLength", [] { return KeyRefused(22, 7, 0); }},
        {"SetKeyIndex", [] { return KeyRefused(20, 5, 2); }},
        {"SetOutOfRangeWords",
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
        {"SsidNull", [] { return TAVL_SetSSID(nullptr) != 0; }},
        {"SsidTooLong", [] { return TAVL_SetSSID(&gLongSsid) != 0; }},
        {"QueryNullBuffer",
         [] {
             std::uint32_t written = 9;
             return TAVL_QueryOID(TAVL_OID_GEN_XMIT_OK, nullptr, 4, &written) != 0 && written == 0;
         }},
        {"QueryNullWritten",
         [] { return TAVL_QueryOID(TAVL_OID_GEN_XMIT_OK, &gWord, 4, nullptr) != 0; }},
        {"QueryUnknownObject",
         [] {
             std::uint32_t value = 0x5A5A5A5A;
             std::uint32_t written = 9;
             return TAVL_QueryOID(0x0D010101, &value, 4, &written) != 0 && written == 0 &&
                    value == 0x5A5A5A5A;
         }},
        {"QueryShortBuffer",
         [] {
             std::uint8_t value[4] = {0x5A, 0x5A, 0x5A, 0x5A};
             std::uint32_t written = 9;
             return TAVL_QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, value, 2, &written) != 0 &&
                    written == 0 && value[0] == 0x5A;
         }},
        {"Domain", [] { return TAVL_SetWLDomain(-1) != 0 && TAVL_SetWLDomain(5) != 0; }},
        {"ChannelNull", [] { return TAVL_SetChannel(nullptr) != 0; }},
        {"ChannelFifteen", [&] { return TAVL_SetChannel(&fifteen) != 0; }},
        {"ModeNull", [] { return TAVL_SetOperatingMode(nullptr) != 0; }},
        {"ModeTwo", [&] { return TAVL_SetOperatingMode(&two) != 0; }},
        {"SurveyNullBuffer", [] { return TAVL_SiteSurveyGet(nullptr, &gSurveySize) != 1; }},
        {"SurveyNullSize", [] { return TAVL_SiteSurveyGet(gSurvey, nullptr) != 1; }},
        {"XpwzcNull", [] { return TAVL_Get_XPWZC(nullptr) != 0; }},
        {"DriverPathNull", [] { return TAVL_GetWLANDriverPath(nullptr) != 1; }},
        {"DriverPathUnterminated",
         [] {
             char path[TAVL_PATH_BUFFER_SIZE];
             std::memset(path, 'a', sizeof path);
             return TAVL_GetWLANDriverPath(path) != 1 && path[0] == 'a';
         }},
        {"RootNull", [] { return TAVL_SetProfileRoot(nullptr) != 0; }},
        {"ActiveNull", [] { return TAVL_GetActiveProfileByType(nullptr, TAVL_PROFILE_TYPE) != 0; }},
        {"ActiveOtherType", [] { return TAVL_GetActiveProfileByType(gName, 2) != 0; }},
        {"SetActiveNull",
         [] { return TAVL_SetActiveProfileByType(nullptr, TAVL_PROFILE_TYPE) != 0; }},
        {"EnumNull", [] { return TAVL_EnumProfilesByType(0, nullptr, TAVL_PROFILE_TYPE) != 0; }},
        {"EnumOtherType", [] { return TAVL_EnumProfilesByType(0, gName, 0) != 0; }},
        {"DeleteNull", [] { return TAVL_DeleteProfileByType(nullptr, TAVL_PROFILE_TYPE) != 0; }},
        {"LoadNullName", [] { return TAVL_GetProfileWireless(nullptr, &gReg) != 0; }},
        {"LoadNullRecord", [] { return TAVL_GetProfileWireless("default", nullptr) != 0; }},
        {"LoadMissing", [] { return TAVL_GetProfileWireless("nowhere", &gReg) != 0; }},
        {"StoreNull", [] { return TAVL_SetProfileWireless("x", nullptr) != 0; }},
        {"DriverRegNull", [] { return TAVL_SetDriverReg(nullptr) != 0; }}};
    for (const auto& [name, fails] : calls) {
        EXPECT_TRUE(fails()) << name;
    }
    unsetenv("TAVL_SIM_JOURNAL");
}

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
