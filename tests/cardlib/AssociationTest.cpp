#include "cardshared/Text.h"
#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

using cardsim::NetMode;
using cardsim::WepLevel;

constexpr const char* kCorvane = "00:0C:2B:4A:10:01";
constexpr const char* kOffice = "00:0C:2B:4A:10:02";
constexpr const char* kQuiet = "00:0C:2B:4A:10:03";
constexpr const char* kWorkshop = "02:0C:2B:77:31:05";
constexpr const char* kLab = "02:0C:2B:77:31:06";
constexpr const char* kOwnCell = "02:0C:2B:20:93:01"; // from the card's 00:0C:2B:20:93:01
constexpr const char* kNone = "00:00:00:00:00:00";

constexpr const char* kOfficeKey1 = "3A9C17E05B";
constexpr const char* kOfficeKey2 = "1122334455";
constexpr const char* kLabKey1 = "00112233445566778899AABBCC";

// The default world (an open, a WEP and an ad hoc network) and a network
// heard from afar, one too faint to join and an ad hoc cell with WEP.
cardsim::World AirForAssociation() {
    cardsim::World world = cardsim::DefaultWorld();
    world.scanMs = 0;
    world.networks.push_back(MakeNet("Quiet", kQuiet, 1, -80));
    world.networks.push_back(MakeNet("Faint", "00:0C:2B:4A:10:04", 2, -93));
    cardsim::Network lab = MakeNet("Lab", kLab, 9, -60, NetMode::AdHoc);
    lab.wep = WepLevel::Wep128;
    EXPECT_TRUE(cardsim::ParseHexBytes(kLabKey1, lab.keys[0]));
    cardsim::FitNetworkKeys(lab);
    world.networks.push_back(lab);
    return world;
}

struct AssociationCase {
    const char* name;
    std::uint32_t mode; // 1 infrastructure, 0 ad hoc
    const char* ssid;
    std::uint32_t channel;
    std::vector<std::string> keys;
    int transmitKey;
    std::int32_t domain;
    std::uint32_t media; // 0 connected, 1 not
    const char* bssid;
};

// Key sets: the office's first or second key in its slot, the lab's key
// (a 128-bit key) in every slot.
const std::string k64Wrong = "0102030405";
const std::vector<std::string> kOfficeFirst = {kOfficeKey1, k64Wrong, k64Wrong, k64Wrong};
const std::vector<std::string> kOfficeSecond = {k64Wrong, kOfficeKey2, k64Wrong, k64Wrong};
const std::vector<std::string> kLabKeys(4, kLabKey1);

TEST(Association, MediaStatusAndBssidFollowTheSettings) {
    using A = AssociationCase;
    const AssociationCase cases[] = {
        A{"OpenBySsid", 1, "Corvane", 1, {}, 0, 0, 0, kCorvane},
        A{"SsidIsCaseSensitive", 1, "corvane", 1, {}, 0, 0, 1, kNone},
        A{"AnyJoinsStrongestOpen", 1, "any", 1, {}, 0, 0, 0, kCorvane},
        A{"EmptySsidActsAsAny", 1, "", 1, {}, 0, 0, 0, kCorvane},
        A{"InfrastructureIgnoresCardChannel", 1, "Quiet", 9, {}, 0, 0, 0, kQuiet},
        A{"TooFaintToJoin", 1, "Faint", 2, {}, 0, 0, 1, kNone},
        A{"WepNetworkRefusesOpenCard", 1, "Harbour Office", 1, {}, 0, 0, 1, kNone},
        A{"WepKeyMatches", 1, "Harbour Office", 1, kOfficeFirst, 0, 0, 0, kOffice},
        A{"WepKeyMismatch", 1, "Harbour Office", 1, kOfficeSecond, 0, 0, 1, kNone},
        A{"TransmitKeyIndexSelectsKey", 1, "Harbour Office", 1, kOfficeSecond, 1, 0, 0, kOffice},
        A{"WepLengthMustMatch", 1, "Harbour Office", 1, kLabKeys, 0, 0, 1, kNone},
        A{"AnyWithKeyJoinsTheWepNetwork", 1, "any", 1, kOfficeFirst, 0, 0, 0, kOffice},
        A{"OpenNetworkRefusesWepCard", 1, "Corvane", 1, kOfficeFirst, 0, 0, 1, kNone},
        A{"ModeMustMatch", 1, "Workshop Cell", 3, {}, 0, 0, 1, kNone},
        A{"AdHocJoinsCellOnItsChannel", 0, "Workshop Cell", 3, {}, 0, 0, 0, kWorkshop},
        A{"AdHocOnAnotherChannelStartsOwnCell", 0, "Workshop Cell", 4, {}, 0, 0, 0, kOwnCell},
        A{"AdHocWepCell", 0, "Lab", 9, kLabKeys, 0, 0, 0, kLab},
        A{"AdHocAnyJoinsCellOnChannel", 0, "any", 3, {}, 0, 0, 0, kWorkshop},
        A{"AdHocAnyWithoutCellStaysAlone", 0, "any", 5, {}, 0, 0, 1, kNone},
        A{"AdHocOwnCellNeedsAllowedChannel", 0, "New Cell", 12, {}, 0, 0, 1, kNone},
        A{"AdHocOwnCellOnChannel12InEtsi", 0, "New Cell", 12, {}, 0, 1, 0, kOwnCell},
        A{"DomainHidesNetworkChannel", 1, "Corvane", 6, {}, 0, 2, 1, kNone}};
    for (const AssociationCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimHome home;
        home.SetWorld(AirForAssociation());
        ASSERT_EQ(0, TAVL_SetWLDomain(c.domain));
        ASSERT_EQ(0u, ApplySettings(c.mode, c.ssid, c.channel, c.keys, c.transmitKey));
        EXPECT_EQ(c.media, MediaStatus());
        EXPECT_EQ(c.bssid, CurrentBssid());
    }
}

TEST(Association, CardOutFailsEveryCallAndKeepsItsSettingsThroughRestart) {
    SimHome home;
    home.SetWorld(AirForAssociation());
    ASSERT_EQ(0u, ApplySettings(1, "Harbour Office", 1, kOfficeSecond, 1));
    home.SetPresent(false);
    // Out of its slot, the card fails every radio call, reporting nothing
    // written and every mask bit failed.
    std::uint8_t info[TAVL_DETECT_INFO_SIZE];
    std::uint32_t written = 7;
    HostInfo host{};
    std::uint32_t read = TAVL_MASK_FULL_READ;
    std::uint32_t set = TAVL_MASK_SSID;
    std::vector<std::uint8_t> survey(TAVL_SURVEY_BUFFER_SIZE);
    std::uint32_t size = TAVL_SURVEY_BUFFER_SIZE;
    const std::uint32_t channel = 6;
    EXPECT_EQ(std::vector<bool>(7, true),
              (std::vector<bool>{
                  TAVL_Detect(info) == 0,
                  TAVL_QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, info, 4, &written) != 0,
                  TAVL_GetWLANConfig(&read, &host) != 0, TAVL_SetWLANConfig(&set, &host) != 0,
                  TAVL_SiteSurveyTrigger() != 0, TAVL_SiteSurveyGet(survey.data(), &size) != 1,
                  TAVL_SetChannel(&channel) != 0}));
    EXPECT_EQ((std::vector<std::uint32_t>{0, TAVL_MASK_FULL_READ, TAVL_MASK_SSID}),
              (std::vector<std::uint32_t>{written, read, set}));

    home.SetPresent(true);
    EXPECT_EQ(1, TAVL_Detect(info));
    EXPECT_EQ(0, std::strncmp(reinterpret_cast<const char*>(info), "PCI\\VEN_1A2B&DEV_2093", 21));
    EXPECT_EQ(kOffice, CurrentBssid());
    // Another world folder and back: the state comes from the status file,
    // as it does for a new process of the utility.
    {
        SimHome other;
        EXPECT_EQ(1u, MediaStatus());
    }
    EXPECT_EQ(kOffice, CurrentBssid());
}

TEST(Association, FullReadReportsTheLiveLink) {
    SimHome home;
    home.SetWorld(AirForAssociation());
    ASSERT_EQ(0u, ApplySettings(1, "any", 1));
    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_FULL_READ | TAVL_MASK_BSSID | TAVL_MASK_RSSI |
                         TAVL_MASK_LINK_STATE | TAVL_MASK_FIRMWARE_VERSION | TAVL_MASK_CHANNEL_MASK;
    ASSERT_EQ(0, TAVL_GetWLANConfig(&mask, &host));
    EXPECT_EQ(0u, mask);
    EXPECT_EQ("Corvane", std::string(reinterpret_cast<const char*>(host.ssid), host.ssidLength));
    // Signal, mode, the network's channel 6, 54 Mbit/s at -48 dBm, connected;
    // then the settings as sent or as the card keeps them.
    EXPECT_EQ((std::vector<std::int64_t>{-48, 1, 2437000, 108, 0, 0x07FF, 1, 2, 2346, 2347}),
              (std::vector<std::int64_t>{static_cast<std::int16_t>(host.rssi & 0xFFFF),
                                         host.infrastructureMode, host.configuration.dsConfig,
                                         host.supportedRates[0], host.mediaConnectStatus,
                                         host.channelMask, host.wepStatus, host.authMode,
                                         host.fragThreshold, host.rtsThreshold}));
    EXPECT_STREQ("1.8.0.31", host.firmwareVersion);
    EXPECT_EQ(nullptr, TavlGetWepKey(&host, 0)) << "keys are never reported";
    // Frames are counted while connected.
    std::uint32_t sent[2] = {};
    std::uint32_t written = 0;
    TAVL_QueryOID(TAVL_OID_GEN_XMIT_OK, &sent[0], 4, &written);
    for (int i = 0; i < 1000 && sent[1] <= sent[0]; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        TAVL_QueryOID(TAVL_OID_GEN_XMIT_OK, &sent[1], 4, &written);
    }
    EXPECT_GT(sent[1], sent[0]);
}

} // namespace
