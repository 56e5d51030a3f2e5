// Every call given bad input answers with a failure result or failed mask
// bits, and writes nothing past the caller's buffers.
#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

// The count a query that must fail reports written (99 if it succeeded).
std::uint32_t FailedQueryWrote(std::uint32_t oid, void* buffer, std::uint32_t length) {
    std::uint32_t written = 9;
    return TAVL_QueryOID(oid, buffer, length, &written) != 0 ? written : 99;
}

HostInfo Host(std::uint32_t mode, std::uint32_t ssidLength) {
    HostInfo host{};
    host.infrastructureMode = mode;
    host.ssidLength = ssidLength;
    return host;
}

HostInfo WordsOutOfRange() {
    HostInfo host{};
    host.infrastructureMode = 2;
    host.wepStatus = 5;
    host.authMode = 3;
    host.fragThreshold = 100;
    host.rtsThreshold = 5000;
    return host;
}

// A write of key 1 from a block with these words; true when it is refused.
bool KeyRefused(std::uint32_t length, std::uint32_t keyLength, std::uint32_t index) {
    HostInfo host{};
    WepKeyBuffer block{length, index, keyLength, {}};
    TavlSetWepKey(&host, 0, &block);
    return SetMask(TAVL_MASK_WEP_KEY1, &host) == TAVL_MASK_WEP_KEY1;
}

// A write of the configuration block; true when it is refused.
bool ConfigurationRefused(std::uint32_t length, std::uint32_t khz) {
    HostInfo host{};
    host.configuration = {length, 100, 0, khz, 16, 0, 0, 0};
    return SetMask(TAVL_MASK_CONFIGURATION, &host) == TAVL_MASK_CONFIGURATION;
}

char gName[TAVL_NAME_BUFFER_MIN];
WirelessReg gReg;
HostInfo gHost;
std::uint32_t gWord;
std::uint32_t gUntouched = 0x5A5A5A5A; // failing queries must not write it
const HostInfo gNoKeys{};
const HostInfo gInfrastructure = Host(1, 0);
const HostInfo gLongSsid = Host(0, 33);
SsidText gLongSsidText{33, {}};
std::uint8_t gSurvey[TAVL_SURVEY_BUFFER_SIZE];
std::uint32_t gSurveySize = TAVL_SURVEY_BUFFER_SIZE;

// With the journal on, as under the utility: the journal line of a bad
// call must not read through a null argument either.
TEST(BadInput, EveryCallFailsWithoutACrash) {
    SimHome home;
    home.SetWorld(cardsim::DefaultWorld());
    home.SetRecording(true);
    ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile"));
    const std::uint32_t two = 2;
    const std::uint32_t fifteen = 15;
    const HostInfo host = WordsOutOfRange();
    const std::uint32_t outOfRange = TAVL_MASK_INFRASTRUCTURE | TAVL_MASK_WEP_STATUS |
                                     TAVL_MASK_AUTH_MODE | TAVL_MASK_FRAG_THRESHOLD |
                                     TAVL_MASK_RTS_THRESHOLD | TAVL_MASK_SUPPORTED_RATES;
    const std::pair<const char*, std::function<bool()>> calls[] = {
        {"InitNull", [] { return TAVL_Init(nullptr, 0) != 1; }},
        {"DetectNull", [] { return TAVL_Detect(nullptr) != 1; }},
        {"GetNullMask", [] { return TAVL_GetWLANConfig(nullptr, &gHost) != 0; }},
        {"GetNullRecord", [] { return GetMask(0x2, nullptr) == 0x2; }},
        {"GetUnknownBits", [] { return GetMask(0x80000002u, &gHost) == 0x80000000u; }},
        {"SetNullMask", [] { return TAVL_SetWLANConfig(nullptr, &gHost) != 0; }},
        {"SetNullRecord", [] { return SetMask(0x20, nullptr) == 0x20; }},
        {"SetUnknownBits", [] { return SetMask(0x40000020u, &gInfrastructure) == 0x40000000u; }},
        {"SetReadOnlyBits", [] { return SetMask(0x0C000811u, &gNoKeys) == 0x0C000811u; }},
        {"SetSsidTooLong", [] { return SetMask(TAVL_MASK_SSID, &gLongSsid) == TAVL_MASK_SSID; }},
        {"SetChannelOutsideBand",
         [] { return ConfigurationRefused(32, TAVL_ChannelToFrequency(15)); }},
        {"SetConfigBlockLength", [] { return ConfigurationRefused(31, 2437000); }},
        {"SetNullKey", [] { return SetMask(TAVL_MASK_WEP_KEY1, &gNoKeys) == TAVL_MASK_WEP_KEY1; }},
        {"SetKeyBlockLength", [] { return KeyRefused(21, 5, 0); }},
        {"SetKeyLength", [] { return KeyRefused(22, 7, 0); }},
        {"SetKeyIndex", [] { return KeyRefused(20, 5, 2); }},
        {"SetOutOfRangeWords", [&] { return SetMask(outOfRange, &host) == outOfRange; }},
        {"SsidNull", [] { return TAVL_SetSSID(nullptr) != 0; }},
        {"SsidTooLong", [] { return TAVL_SetSSID(&gLongSsidText) != 0; }},
        {"QueryNullBuffer", [] { return FailedQueryWrote(TAVL_OID_GEN_XMIT_OK, nullptr, 4) == 0; }},
        {"QueryNullWritten",
         [] { return TAVL_QueryOID(TAVL_OID_GEN_XMIT_OK, &gWord, 4, nullptr) != 0; }},
        {"QueryUnknownObject", [] { return FailedQueryWrote(0x0D010101, &gUntouched, 4) == 0; }},
        {"QueryShortBuffer",
         [] { return FailedQueryWrote(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &gUntouched, 2) == 0; }},
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
    EXPECT_EQ(0x5A5A5A5Au, gUntouched);
}

} // namespace
