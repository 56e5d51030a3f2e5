#include "device/Apply.h"

#include "cardshared/Files.h"
#include "device/HostState.h"
#include "device/Records.h"
#include "device/VirtualClock.h"
#include "tests/device/TraceCapture.h"
#include "tests/fakes/CardRecorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The configuration block the card reports before a write: the applies
// keep every word but the frequency.
const std::string kBlock = "configuration={length=32,beaconPeriod=100,atimWindow=7,dsConfig=";
const std::string kWords = ",fhLength=16,hopPattern=3,hopSet=4,dwellTime=5}";
// The four 104-bit keys of the default key texts (ten digits, the rest
// counting 0), key 3 the transmit key.
const std::string kKeys104 =
    "key1={length=28,index=0,tx=0,keyLength=13,key=3A9C17E05B0000000000000000} "
    "key2={length=28,index=1,tx=0,keyLength=13,key=3A9C17E05B0000000000000000} "
    "key3={length=28,index=2,tx=1,keyLength=13,key=3A9C17E05B0000000000000000} "
    "key4={length=28,index=3,tx=0,keyLength=13,key=3A9C17E05B0000000000000000}";

class Apply : public testing::Test {
protected:
    void SetUp() override {
        ResetHostState();
        HostInfo live = card.CardHost();
        live.configuration = {32, 100, 7, 2462000, 16, 3, 4, 5};
        card.SetCardHost(live);
        card.ClearCalls();
    }
    void TearDown() override { ResetHostState(); }

    static WirelessReg Office(std::uint32_t wep = 0) {
        WirelessReg reg = DefaultWirelessReg();
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
        reg.encryptionLevel = wep;
        reg.defaultKeyId = 2;
        return reg;
    }

    std::vector<CardCall> Sets() const { return card.CallsNamed("SetWLANConfig"); }

    CardRecorder card;
    VirtualClock clock;
};

// ---- Full apply -----------------------------------------------------------

TEST_F(Apply, FullApplySetsDomainReadsAllAndSendsEveryField) {
    gDomain = 2;
    TraceCapture trace;
    ApplyConfiguration(card, Office());
    EXPECT_EQ((Lines{"\n\n##### Setting domain 2\n", "DSConfig 2462000", " reg.encryptionLevel=0"}),
              trace.Lines());
    EXPECT_EQ((Lines{"SetWLDomain", "GetWLANConfig", "ChannelToFrequency", "SetWLANConfig"}),
              card.CallNames());
    const Lines journal = card.Journal();
    ASSERT_EQ(4u, journal.size());
    EXPECT_EQ("TAVL_GetWLANConfig mask=0x0207F6EE -> mask=0x00000000 ret=0", journal[1]);
    // WEP off: open system whatever authType says, and no keys.
    EXPECT_EQ("TAVL_SetWLANConfig mask=0x020304E6 ssidLength=11 ssid=\"corvane-lab\" powerMode=1 "
              "infrastructureMode=0 fragThreshold=1500 rtsThreshold=500 " +
                  kBlock + "2462000" + kWords +
                  " GMode=2 wepStatus=1 authMode=0 preambleType=1 -> mask=0x00000000",
              journal[3].substr(0, journal[3].find(" connected=")));

    // WEP on: authType and the four keys.
    ApplyConfiguration(card, Office(2));
    const std::string set = card.Journal("TAVL_SetWLANConfig").at(1);
    EXPECT_NE(std::string::npos, set.find(" mask=0x0203F4E6 ")) << set;
    EXPECT_NE(std::string::npos, set.find(kKeys104 + " wepStatus=0 authMode=1 ")) << set;
}

TEST_F(Apply, FullApplyIsSentOnceAndZeroConfigLimitsItToTheDomain) {
    card.FailSetBits(TAVL_MASK_SSID, 5);
    ApplyConfiguration(card, Office());
    EXPECT_EQ(1u, Sets().size()); // sent once even when fields fail
    card.ClearCalls();
    TraceCapture trace;
    gZeroConfig = 1;
    ApplyConfiguration(card, Office());
    EXPECT_EQ(Lines{"SetWLDomain"}, card.CallNames());
    EXPECT_EQ(1u, trace.Count("Skip WLAN Config due to zero config"));
}

// ---- Change apply ---------------------------------------------------------

TEST_F(Apply, ChangeApplyReadsFillsSendsAndWritesTheDriverSettings) {
    HostInfo host{};
    host.fragThreshold = 999; // not the change apply's business
    const WirelessReg reg = Office(2);
    EXPECT_TRUE(ApplyChange(card, reg, host, clock));
    EXPECT_EQ((Lines{"GetWLANConfig", "ChannelToFrequency", "SetWLANConfig", "SetDriverReg"}),
              card.CallNames());
    EXPECT_EQ(TAVL_MASK_CONFIGURATION, card.LastCall("GetWLANConfig")->maskIn);
    EXPECT_EQ(std::vector<std::uint32_t>{100}, clock.Sleeps());
    // Authentication is automatic here, whatever authType says.
    const std::string set = card.Journal("TAVL_SetWLANConfig").at(0);
    EXPECT_EQ("TAVL_SetWLANConfig mask=0x0003F626 ssidLength=11 ssid=\"corvane-lab\" "
              "powerMode=1 infrastructureMode=0 supportedRates=22,0,0,0,0,0,0,0 " +
                  kBlock + "2462000" + kWords + " GMode=2 " + kKeys104 +
                  " wepStatus=0 authMode=2 -> mask=0x00000000",
              set.substr(0, set.find(" connected=")));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reg), sizeof reg),
              card.ReadFile(cardsim::kDriverSettingsFileName));
}

// The retry asks again only for the failed bits and still carries the key
// blocks; a failed change leaves the driver settings alone.
TEST_F(Apply, ChangeApplyRetriesOnceAndFailsWithoutTheDriverSettings) {
    for (const int failures : {1, 2}) {
        card.ClearCalls();
        card.FailSetBits(TAVL_MASK_SSID | TAVL_MASK_WEP_KEY1, failures);
        HostInfo host{};
        EXPECT_EQ(failures == 1, ApplyChange(card, Office(1), host, clock));
        ASSERT_EQ(2u, Sets().size());
        EXPECT_EQ(TAVL_MASK_SSID | TAVL_MASK_WEP_KEY1, Sets()[1].maskIn);
        EXPECT_EQ("3A9C17E05B", Sets()[1].Key(0)->Hex());
        EXPECT_EQ(failures == 1 ? 1u : 0u, card.CountOf("SetDriverReg"));
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(nullptr, TavlGetWepKey(&host, i)) << "blocks are freed";
        }
    }
}

TEST_F(Apply, ChangeApplyOnWindows98MeSendsTheWepPartAloneBeforeTheDriverSettings) {
    gOsClass = kOsWindows98Me;
    HostInfo host{};
    EXPECT_TRUE(ApplyChange(card, Office(2), host, clock));
    EXPECT_EQ((Lines{"GetWLANConfig", "ChannelToFrequency", "SetWLANConfig", "SetWLANConfig",
                     "SetDriverReg"}),
              card.CallNames());
    EXPECT_EQ((std::vector<std::uint32_t>{100, 500, 1500}), clock.Sleeps());
    const std::string alone = card.Journal("TAVL_SetWLANConfig").at(1);
    EXPECT_EQ("TAVL_SetWLANConfig mask=0x0003F000 " + kKeys104 + " wepStatus=0 authMode=2",
              alone.substr(0, alone.find(" ->")));
    SendWepPart(card, Office());
    EXPECT_EQ("TAVL_SetWLANConfig mask=0x00030000 wepStatus=1 authMode=2",
              card.Journal("TAVL_SetWLANConfig").at(2).substr(0, 57));
}

// ---- Records with values out of range ---------------------------------------

TEST_F(Apply, ChannelOutOfRangeKeepsTheFrequencyTheCardReported) {
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {0, 2462000}, {15, 2462000}, {0xFFFFFFFF, 2462000}, {1, 2412000}, {14, 2484000}};
    for (const auto& [channel, khz] : cases) {
        card.ClearCalls();
        WirelessReg reg = Office();
        reg.channel = channel;
        ApplyConfiguration(card, reg);
        EXPECT_EQ(khz, Sets().at(0).host->configuration.dsConfig) << channel;
    }
}

// The SSID is cut to the host field, and nothing past the field is read
// or written.
TEST_F(Apply, SsidIsCutToTheHostField) {
    const std::pair<std::vector<char>, std::string> cases[] = {
        {{}, ""},
        {std::vector<char>(32, 'b'), std::string(32, 'b')},
        {std::vector<char>(33, 'c'), std::string(32, 'c')},
        {std::vector<char>(39, 'd'), std::string(32, 'd')}, // no terminator
    };
    for (const auto& [field, sent] : cases) {
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
        const std::string ssid =
            "ssidLength=" + std::to_string(sent.size()) + " ssid=\"" + sent + "\" ";
        for (const std::string& line : card.Journal("TAVL_SetWLANConfig")) {
            EXPECT_NE(std::string::npos, line.find(ssid)) << line;
        }
    }
}

} // namespace
