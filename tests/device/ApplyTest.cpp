#include "device/Apply.h"

#include "device/HostState.h"
#include "device/Records.h"
#include "device/VirtualClock.h"
#include "tests/device/TraceCapture.h"
#include "tests/fakes/CardRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kFullApplyMaskWepOff = 0x020304E6;
constexpr std::uint32_t kFullApplyMaskWepOn = 0x0203F4E6;
constexpr std::uint32_t kChangeMaskWepOn = 0x0003F626;

class Apply : public testing::Test {
protected:
    void SetUp() override {
        ResetHostState();
        // What the card reports before a write: words the applies keep.
        HostInfo live = card.CardHost();
        live.configuration.atimWindow = 7;
        live.configuration.hopPattern = 3;
        live.configuration.hopSet = 4;
        live.configuration.dwellTime = 5;
        live.configuration.dsConfig = 2462000;
        card.SetCardHost(live);
    }
    void TearDown() override { ResetHostState(); }

    static WirelessReg Office() {
        WirelessReg reg = DefaultWirelessReg();
        SetFieldText(reg.profileName, "Office");
        SetFieldText(reg.ssid, "corvane-lab");
        reg.channel = 11;
        reg.txRate = 8;
        reg.opMode = 0;
        reg.GMode = 2;
        reg.powerSaveMode = 1;
        reg.fragThreshold = 1500;
        reg.rtsThreshold = 500;
        reg.preambleType = 1;
        reg.authType = 1;
        return reg;
    }

    static WirelessReg WithWep(WirelessReg reg, std::uint32_t level) {
        reg.encryptionLevel = level;
        for (int i = 0; i < 4; ++i) {
            SetFieldText(reg.keyText[i], level == 1 ? "3A9C17E05B" : "7D20E8B4C19F6A5D03E7B28C41");
        }
        reg.defaultKeyId = 2;
        return reg;
    }

    std::vector<CardCall> Sets() const { return card.CallsNamed("SetWLANConfig"); }

    CardRecorder card;
    VirtualClock clock;
};

void ExpectSsid(const HostInfo& host, const std::string& ssid) {
    EXPECT_EQ(ssid.size(), host.ssidLength);
    EXPECT_EQ(ssid, std::string(reinterpret_cast<const char*>(host.ssid), host.ssidLength));
    for (std::size_t i = ssid.size(); i < sizeof host.ssid; ++i) {
        EXPECT_EQ(0, host.ssid[i]) << "byte " << i;
    }
}

// ---- Full apply -----------------------------------------------------------

TEST_F(Apply, FullApplySetsDomainReadsAllAndSendsEveryField) {
    gDomain = 2;
    TraceCapture trace;
    ApplyConfiguration(card, Office());
    EXPECT_EQ((std::vector<std::string>{"\n\n##### Setting domain 2\n", "DSConfig 2462000",
                                        " reg.encryptionLevel=0"}),
              trace.Lines());

    EXPECT_EQ((std::vector<std::string>{"SetWLDomain", "GetWLANConfig", "ChannelToFrequency",
                                        "SetWLANConfig"}),
              card.CallNames());
    EXPECT_EQ(2, card.LastCall("SetWLDomain")->number);
    EXPECT_EQ(TAVL_MASK_FULL_READ, card.LastCall("GetWLANConfig")->maskIn);
    EXPECT_EQ(11, card.LastCall("ChannelToFrequency")->number);

    ASSERT_EQ(1u, Sets().size());
    const CardCall set = Sets()[0];
    EXPECT_EQ(kFullApplyMaskWepOff, set.maskIn);
    const HostInfo& host = *set.host;
    ExpectSsid(host, "corvane-lab");
    EXPECT_EQ(2462000u, host.configuration.dsConfig);
    EXPECT_EQ(7u, host.configuration.atimWindow); // other words as read
    EXPECT_EQ(5u, host.configuration.dwellTime);
    EXPECT_EQ(1500u, host.fragThreshold);
    EXPECT_EQ(500u, host.rtsThreshold);
    EXPECT_EQ(2u, host.GMode);
    EXPECT_EQ(22, host.supportedRates[0]);
    EXPECT_EQ(1u, host.wepStatus);
    EXPECT_EQ(0u, host.authMode); // WEP off: open system, not authType
    EXPECT_TRUE(set.wepKeys.empty());
}

TEST_F(Apply, FullApplySendsAuthTypeAndKeysWhileWepIsOn) {
    ApplyConfiguration(card, WithWep(Office(), 1));
    const CardCall set = Sets().at(0);
    EXPECT_EQ(kFullApplyMaskWepOn, set.maskIn);
    EXPECT_EQ(1u, set.host->authMode);
    EXPECT_EQ(0u, set.host->wepStatus);
    EXPECT_EQ(4u, set.wepKeys.size()); // their bytes and transmit bit: BuildWepSettings
}

TEST_F(Apply, FullApplyIsSentOnceAndZeroConfigLimitsItToTheDomain) {
    card.FailSetBits(TAVL_MASK_SSID, 5);
    ApplyConfiguration(card, Office());
    EXPECT_EQ(1u, Sets().size()); // sent once even when fields fail
    card.ClearCalls();
    TraceCapture trace;
    gZeroConfig = 1;
    ApplyConfiguration(card, Office());
    EXPECT_EQ(std::vector<std::string>{"SetWLDomain"}, card.CallNames());
    EXPECT_EQ(1u, trace.Count("Skip WLAN Config due to zero config"));
}

// ---- Change apply ---------------------------------------------------------

TEST_F(Apply, ApplyHostInfoRetriesOnceWithTheFailedBits) {
    card.FailSetBits(TAVL_MASK_SSID | TAVL_MASK_WEP_KEY1, 1);
    HostInfo host{};
    EXPECT_TRUE(ApplyHostInfo(card, WithWep(Office(), 2), host));
    ASSERT_EQ(2u, Sets().size());
    EXPECT_EQ(kChangeMaskWepOn, Sets()[0].maskIn);
    EXPECT_EQ(TAVL_MASK_SSID | TAVL_MASK_WEP_KEY1, Sets()[1].maskIn);
    // The retry still carries the key blocks.
    ASSERT_FALSE(Sets()[1].wepKeys.empty());
    EXPECT_EQ(13u, Sets()[1].wepKeys.at(0).keyLength);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(nullptr, TavlGetWepKey(&host, i)) << "blocks are freed";
    }
}

TEST_F(Apply, ChangeApplyReadsFillsSendsAndWritesTheDriverSettings) {
    HostInfo host{};
    host.fragThreshold = 999; // not the change apply's business
    const WirelessReg reg = WithWep(Office(), 1);
    EXPECT_TRUE(ApplyChange(card, reg, host, clock));

    EXPECT_EQ((std::vector<std::string>{"GetWLANConfig", "ChannelToFrequency", "SetWLANConfig",
                                        "SetDriverReg"}),
              card.CallNames());
    EXPECT_EQ(TAVL_MASK_CONFIGURATION, card.LastCall("GetWLANConfig")->maskIn);
    EXPECT_EQ(std::vector<std::uint32_t>{100}, clock.Sleeps());

    const CardCall set = Sets().at(0);
    EXPECT_EQ(kChangeMaskWepOn, set.maskIn);
    const HostInfo& sent = *set.host;
    ExpectSsid(sent, "corvane-lab");
    EXPECT_EQ(7u, sent.configuration.atimWindow);
    // Authentication is automatic here, whatever authType says.
    EXPECT_EQ(2u, sent.authMode);
    EXPECT_EQ(0u, sent.wepStatus);
    EXPECT_EQ(4u, set.wepKeys.size());
    EXPECT_EQ(999u, sent.fragThreshold);

    const auto driver = card.DriverReg();
    ASSERT_TRUE(driver);
    EXPECT_EQ(0, std::memcmp(&reg, &*driver, sizeof reg));
}

TEST_F(Apply, FailedChangeApplyLeavesTheDriverSettingsAlone) {
    card.FailSetBits(TAVL_MASK_CONFIGURATION, 2);
    HostInfo host{};
    EXPECT_FALSE(ApplyChange(card, Office(), host, clock));
    EXPECT_EQ(0u, card.CountOf("SetDriverReg"));
    EXPECT_EQ(2u, Sets().size());
}

TEST_F(Apply, ChangeApplyOnWindows98MeSendsTheWepPartAloneBeforeTheDriverSettings) {
    gOsClass = kOsWindows98Me;
    HostInfo host{};
    EXPECT_TRUE(ApplyChange(card, WithWep(Office(), 2), host, clock));
    EXPECT_EQ((std::vector<std::string>{"GetWLANConfig", "ChannelToFrequency", "SetWLANConfig",
                                        "SetWLANConfig", "SetDriverReg"}),
              card.CallNames());
    EXPECT_EQ((std::vector<std::uint32_t>{100, 500, 1500}), clock.Sleeps());
    const CardCall alone = Sets().at(1);
    EXPECT_EQ(0x3F000u, alone.maskIn);
    EXPECT_EQ(4u, alone.wepKeys.size());
    EXPECT_EQ(2u, alone.host->authMode);
    EXPECT_EQ(0u, alone.host->ssidLength); // nothing but the WEP part
}

TEST_F(Apply, WepPartAloneWithWepOffDisablesIt) {
    SendWepPart(card, Office());
    const CardCall alone = Sets().at(0);
    EXPECT_EQ(0x30000u, alone.maskIn);
    EXPECT_EQ(1u, alone.host->wepStatus);
    EXPECT_TRUE(alone.wepKeys.empty());
}

// ---- Records with values out of range ---------------------------------------

TEST_F(Apply, ChannelOutOfRangeKeepsTheFrequencyTheCardReported) {
    for (const std::uint32_t channel : {0u, 15u, 255u, 0xFFFFFFFFu}) {
        WirelessReg reg = Office();
        reg.channel = channel;
        ApplyConfiguration(card, reg);
        HostInfo host{};
        ApplyChange(card, reg, host, clock);
    }
    EXPECT_EQ(0u, card.CountOf("ChannelToFrequency"));
    ASSERT_EQ(8u, Sets().size());
    for (const CardCall& set : Sets()) {
        EXPECT_EQ(2462000u, set.host->configuration.dsConfig);
    }
}

// The SSID is cut to the host field, and nothing past the field is read
// or written.
TEST_F(Apply, SsidIsCutToTheHostField) {
    const std::pair<std::vector<char>, std::string> cases[] = {
        {{}, ""},
        {{'a', 'n', 'y'}, "any"},
        {std::vector<char>(32, 'b'), std::string(32, 'b')},
        {std::vector<char>(33, 'c'), std::string(32, 'c')},
        {std::vector<char>(39, 'd'), std::string(32, 'd')}, // no terminator
    };
    for (const auto& [field, sent] : cases) {
        SCOPED_TRACE(sent);
        card.ClearCalls();
        WirelessReg reg = Office();
        std::memset(reg.ssid, 0, sizeof reg.ssid);
        std::copy(field.begin(), field.end(), reg.ssid);
        reg.encryptionLevel = 0x41414141; // the bytes after the SSID field
        ApplyConfiguration(card, reg);
        HostInfo host{};
        host.rssi = 0x12345678;
        ApplyChange(card, reg, host, clock);
        EXPECT_EQ(0x12345678, host.rssi);
        for (const CardCall& set : Sets()) {
            ExpectSsid(*set.host, sent);
        }
    }
}

} // namespace
