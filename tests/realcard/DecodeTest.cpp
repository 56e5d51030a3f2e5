#include "realcard/HostFields.h"
#include "realcard/Interface.h"
#include "realcard/Nl80211Decode.h"
#include "realcard/ScanResult.h"
#include "realcard/Supplicant.h"

#include <gtest/gtest.h>
#include <linux/nl80211.h>
#include <netlink/genl/genl.h>
#include <netlink/msg.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace realcard;

namespace {

// The attribute area of one message, built with libnl as the kernel lays
// it out.
std::vector<std::uint8_t> Attributes(const std::function<void(nl_msg*)>& fill) {
    nl_msg* msg = nlmsg_alloc();
    genlmsg_put(msg, 0, 0, 1, 0, 0, 0, 0);
    fill(msg);
    genlmsghdr* header = static_cast<genlmsghdr*>(nlmsg_data(nlmsg_hdr(msg)));
    auto* begin = reinterpret_cast<std::uint8_t*>(genlmsg_attrdata(header, 0));
    std::vector<std::uint8_t> bytes(begin, begin + genlmsg_attrlen(header, 0));
    nlmsg_free(msg);
    return bytes;
}

const std::vector<std::uint8_t> kElements = {
    0,  7, 'C',  'o',  'r',  'v',  'a',  'n',  'e',        // SSID
    1,  8, 0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24, // rates
    50, 4, 0x30, 0x48, 0x60, 0x6C,                         // extended rates
};

std::vector<std::uint8_t> Bss(std::uint64_t seenNs, std::uint32_t freq, std::uint16_t capability) {
    return Attributes([&](nl_msg* msg) {
        nlattr* bss = nla_nest_start(msg, NL80211_ATTR_BSS);
        const std::uint8_t bssid[6] = {0x00, 0x0C, 0x2B, 0x4A, 0x10, 0x01};
        nla_put(msg, NL80211_BSS_BSSID, 6, bssid);
        nla_put_u32(msg, NL80211_BSS_FREQUENCY, freq);
        nla_put_u16(msg, NL80211_BSS_BEACON_INTERVAL, 100);
        nla_put_u16(msg, NL80211_BSS_CAPABILITY, capability);
        nla_put_u32(msg, NL80211_BSS_SIGNAL_MBM, static_cast<std::uint32_t>(-4500));
        nla_put_u64(msg, NL80211_BSS_LAST_SEEN_BOOTTIME, seenNs);
        nla_put(msg, NL80211_BSS_INFORMATION_ELEMENTS, static_cast<int>(kElements.size()),
                kElements.data());
        nla_nest_end(msg, bss);
    });
}

} // namespace

TEST(RealCardDecode, ScanEntryGivesTheSurveyFields) {
    const auto bytes = Bss(5000, 2437, 0x0011);
    ScanBss bss;
    ASSERT_TRUE(DecodeScanEntry(bytes.data(), bytes.size(), bss));
    EXPECT_EQ(bss.signalDbm, -45);
    const TavlSurveyEntry e = MakeSurveyEntry(bss);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(e.ssid), e.ssidLength), "Corvane");
    EXPECT_EQ((std::vector<std::uint32_t>{e.bssid[5], e.privacy, e.infrastructureMode, e.dsConfig,
                                          e.beaconPeriod}),
              (std::vector<std::uint32_t>{0x01, 1, 1, 2437000, 100}));
    const std::uint8_t rates[8] = {0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24};
    EXPECT_EQ(0, std::memcmp(e.supportedRates, rates, 8)); // the first eight, extended ones after

    const auto open = Bss(5000, 2412, 0x0002); // an ad hoc cell without privacy
    ASSERT_TRUE(DecodeScanEntry(open.data(), open.size(), bss));
    EXPECT_EQ(MakeSurveyEntry(bss).privacy + MakeSurveyEntry(bss).infrastructureMode, 0u);

    const auto noBss = Attributes([](nl_msg* msg) { nla_put_u32(msg, NL80211_ATTR_IFINDEX, 3); });
    EXPECT_FALSE(DecodeScanEntry(noBss.data(), noBss.size(), bss));
}

TEST(RealCardDecode, ElementsRunningPastTheEndAreIgnored) {
    std::vector<std::uint8_t> cut(kElements.begin(), kElements.begin() + 12); // rates: 1 of 8
    std::string ssid;
    std::array<std::uint8_t, 8> rates{};
    DecodeElements(cut.data(), cut.size(), ssid, rates);
    EXPECT_EQ(ssid, "Corvane");
    EXPECT_EQ(rates[0], 0);
    const std::uint8_t longSsid[] = {0, 33};
    ssid.clear();
    DecodeElements(longSsid, sizeof longSsid, ssid, rates);
    EXPECT_TRUE(ssid.empty());
}

TEST(RealCardDecode, SurveyKeepsOnlyTheLastScanOnAllowedChannels) {
    std::vector<ScanBss> cache(4);
    const std::uint32_t freqs[] = {2437, 2462, 2472, 2457};
    const std::uint64_t seen[] = {900, 1000, 2000, 3000};
    for (std::size_t i = 0; i < cache.size(); ++i) {
        cache[i].freqMhz = freqs[i];
        cache[i].lastSeenBoottimeNs = seen[i];
    }
    // Channels 10-13 (as for France), scan started at 1000: the entry seen
    // before it and the one on channel 6 are left out.
    const auto entries = CurrentScan(cache, 1000, 0x1E00);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].dsConfig, 2462000u);
    EXPECT_EQ(entries[2].dsConfig, 2457000u);
    EXPECT_TRUE(CurrentScan(cache, 1000, 0x0600).size() == 2u); // Spain: 10-11
}

TEST(RealCardDecode, StationWiphyAndPowerSave) {
    const auto station = Attributes([](nl_msg* msg) {
        nlattr* info = nla_nest_start(msg, NL80211_ATTR_STA_INFO);
        nla_put_u8(msg, NL80211_STA_INFO_SIGNAL, static_cast<std::uint8_t>(-38));
        nlattr* rate = nla_nest_start(msg, NL80211_STA_INFO_TX_BITRATE);
        nla_put_u16(msg, NL80211_RATE_INFO_BITRATE, 10);
        nla_put_u32(msg, NL80211_RATE_INFO_BITRATE32, 540);
        nla_nest_end(msg, rate);
        nla_nest_end(msg, info);
    });
    StationInfo s;
    ASSERT_TRUE(DecodeStation(station.data(), station.size(), s));
    EXPECT_TRUE(s.hasSignal && s.signalDbm == -38 && s.txBitrate100k == 540u);

    const auto wiphy = Attributes([](nl_msg* msg) {
        nla_put_u32(msg, NL80211_ATTR_WIPHY_RTS_THRESHOLD, 0xFFFFFFFFu);
        nlattr* bands = nla_nest_start(msg, NL80211_ATTR_WIPHY_BANDS);
        nlattr* band = nla_nest_start(msg, 0);
        nlattr* freqs = nla_nest_start(msg, NL80211_BAND_ATTR_FREQS);
        for (std::uint32_t ch = 1; ch <= 14; ++ch) {
            nlattr* f = nla_nest_start(msg, static_cast<int>(ch));
            nla_put_u32(msg, NL80211_FREQUENCY_ATTR_FREQ, ch == 14 ? 2484 : 2407 + 5 * ch);
            if (ch >= 12) {
                nla_put_flag(msg, NL80211_FREQUENCY_ATTR_DISABLED);
            }
            nla_nest_end(msg, f);
        }
        nla_nest_end(msg, freqs);
        nla_nest_end(msg, band);
        nla_nest_end(msg, bands);
        nla_put_u32(msg, NL80211_ATTR_PS_STATE, NL80211_PS_ENABLED);
    });
    WiphyInfo w;
    DecodeWiphy(wiphy.data(), wiphy.size(), w);
    EXPECT_EQ(w.enabledChannels, 0x07FF);
    EXPECT_TRUE(w.hasRts);
    EXPECT_FALSE(w.hasFrag);
    bool on = false;
    EXPECT_TRUE(DecodePowerSave(wiphy.data(), wiphy.size(), on));
    EXPECT_TRUE(on);
}

TEST(RealCardSupplicant, JoinCommandsCarryModeKeysAndAuthentication) {
    JoinRequest join;
    join.ssid = "Cell 1";
    join.adhoc = true;
    join.freqMhz = 2422;
    join.wep = true;
    join.keys[2] = {0x3A, 0x9C, 0x17, 0xE0, 0x5B};
    join.txKey = 2;
    join.auth = 1;
    const std::vector<std::string> expected = {"SET_NETWORK 4 ssid 43656C6C2031",
                                               "SET_NETWORK 4 key_mgmt NONE",
                                               "SET_NETWORK 4 mode 1",
                                               "SET_NETWORK 4 frequency 2422",
                                               "SET_NETWORK 4 wep_key2 3A9C17E05B",
                                               "SET_NETWORK 4 wep_tx_keyidx 2",
                                               "SET_NETWORK 4 auth_alg SHARED",
                                               "SET_NETWORK 4 id_str \"skerrin\"",
                                               "SELECT_NETWORK 4"};
    EXPECT_EQ(JoinCommands("4", join), expected);
    join.auth = 2;
    EXPECT_EQ(JoinCommands("4", join)[6], "SET_NETWORK 4 auth_alg OPEN SHARED");
    EXPECT_EQ(JoinCommands("0", JoinRequest{}).size(), 4u); // ssid, key_mgmt, id_str, select
}

TEST(RealCardInterface, SettingsEntryNamesAPlainInterface) {
    EXPECT_EQ(InterfaceEntry("[INI]\nD=12345\nInterface = wlp2s0\n"), "wlp2s0");
    EXPECT_EQ(InterfaceEntry("[INI]\nInterface=../etc\n"), "");
    EXPECT_EQ(InterfaceEntry("[Other]\nInterface=wlan0\n"), "");
}

// A write never reports a field as set that the card did not take: bad
// values, read-only and unknown bits fail; what only the radio chooses
// fails unless it asks for the radio's own choice.
TEST(RealCardFields, WritesFailWhatTheCardCannotTake) {
    HostInfo host{};
    host.ssidLength = 7;
    std::memcpy(host.ssid, "Corvane", 7);
    host.configuration.length = 32;
    host.configuration.dsConfig = 2462000;
    host.GMode = 1;
    host.fragThreshold = 2346;
    host.rtsThreshold = 2347;
    const std::uint8_t autoRates[8] = {108, 96, 72, 48, 36, 24, 22, 18};
    std::memcpy(host.supportedRates, autoRates, 8);
    host.preambleType = 1;
    WepKeyBuffer key{20, 1 | TAVL_WEP_TRANSMIT_KEY, 5, {1, 2, 3, 4, 5}};
    TavlSetWepKey(&host, 1, &key);
    WepKeyBuffer wrongSlot{20, 3, 5, {}};
    TavlSetWepKey(&host, 2, &wrongSlot);

    Wanted wanted;
    const std::uint32_t asked = 0x0207F6FEu | TAVL_MASK_RESERVED_40000 | 0x10000000u;
    EXPECT_EQ(TakeFields(asked, host, wanted), TAVL_MASK_RSSI | TAVL_MASK_WEP_KEY1 |
                                                   (TAVL_MASK_WEP_KEY1 << 2) |
                                                   (TAVL_MASK_WEP_KEY1 << 3) | 0x10000000u);
    EXPECT_EQ(wanted.ssid, "Corvane");
    EXPECT_EQ((std::vector<std::size_t>{wanted.channel, wanted.txKey, wanted.keys[1].size()}),
              (std::vector<std::size_t>{11, 1, 5}));
    EXPECT_EQ(FieldsTheRadioSetsItself(asked, wanted), 0u);

    host.fragThreshold = 255;
    host.configuration.dsConfig = 2450000;
    EXPECT_EQ(TakeFields(TAVL_MASK_FRAG_THRESHOLD | TAVL_MASK_CONFIGURATION, host, wanted),
              TAVL_MASK_FRAG_THRESHOLD | TAVL_MASK_CONFIGURATION);
    EXPECT_EQ(wanted.channel, 11u); // kept from the valid write

    const struct {
        std::uint32_t preamble, gMode;
        std::uint8_t firstRate;
        std::uint32_t failed;
    } radio[] = {
        {1, 1, 108, 0},
        {0, 1, 108, TAVL_MASK_PREAMBLE},
        {2, 0, 108, TAVL_MASK_CONFIGURATION},
        {1, 1, 22, TAVL_MASK_SUPPORTED_RATES},
    };
    for (const auto& r : radio) {
        wanted.preamble = r.preamble;
        wanted.gMode = r.gMode;
        wanted.rates[0] = r.firstRate;
        EXPECT_EQ(FieldsTheRadioSetsItself(0x0207F6FEu, wanted), r.failed) << r.preamble;
        EXPECT_EQ(FieldsTheRadioSetsItself(TAVL_MASK_SSID, wanted), 0u);
    }
}
