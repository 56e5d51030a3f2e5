#include "device/LinkStatus.h"

#include "tests/device/TraceCapture.h"
#include "tests/fakes/CardRecorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

const LevelWords kWords = {"No Signal", "Poor", "Good", "Very Good", "Excellent"};

// Both bars as "bar caption", over the edges of both level tables: the
// signal by percent, the quality by fifteenths of it.
TEST(LinkBars, CaptionsAndBarsFollowTheLevelTables) {
    const std::pair<int, const char*> cases[] = {
        {100, "15 Excellent (100%)|15 Excellent (100%)"},
        {80, "12 Excellent (80%)|12 Excellent (80%)"},
        {79, "11 Excellent (79%)|11 Very Good (73%)"},
        {75, "11 Excellent (75%)|11 Very Good (73%)"},
        {74, "11 Very Good (74%)|11 Very Good (73%)"},
        {60, "9 Very Good (60%)|9 Very Good (60%)"},
        {59, "8 Very Good (59%)|8 Good (53%)"},
        {51, "7 Very Good (51%)|7 Good (46%)"},
        {50, "7 Good (50%)|7 Good (46%)"},
        {34, "5 Good (34%)|5 Good (33%)"},
        {33, "4 Good (33%)|4 Poor (26%)"},
        {26, "3 Good (26%)|3 Poor (20%)"},
        {25, "3 Poor (25%)|3 Poor (20%)"},
        {7, "1 Poor (7%)|1 Poor (6%)"},
        {6, "0 Poor (6%)|0 No Signal"},
        {0, "0 No Signal|0 No Signal"},
        {-72617, "0 No Signal|0 No Signal"},
    };
    for (const auto& [percent, expected] : cases) {
        const LinkBars bars = LinkBarsForPercent(percent, kWords);
        EXPECT_EQ(expected, std::to_string(bars.signalBar) + " " + bars.signalCaption + "|" +
                                std::to_string(bars.qualityBar) + " " + bars.qualityCaption);
    }
}

TEST(LinkTexts, BssidAndSsid) {
    HostInfo record{};
    const std::uint8_t bssid[6] = {0x00, 0x0a, 0xFF, 0x10, 0x9B, 0x01};
    std::memcpy(record.bssid, bssid, sizeof bssid);
    EXPECT_EQ("00-0A-FF-10-9B-01", BssidText(record.bssid));

    std::memset(record.ssid, 'x', sizeof record.ssid);
    // At most the 32 bytes of the field; a zero byte ends the text.
    for (const auto& [length, text] :
         {std::pair{40u, std::string(32, 'x')}, std::pair{0xFFFFFFFFu, std::string(32, 'x')},
          std::pair{3u, std::string("xxx")}, std::pair{0u, std::string()}}) {
        record.ssidLength = length;
        EXPECT_EQ(text, LinkSsidText(record));
    }
    record.ssidLength = 3;
    record.ssid[1] = '\0';
    EXPECT_EQ("x", LinkSsidText(record));
}

class QueryLinkStatusTest : public testing::Test {
protected:
    CardRecorder card;
    TraceCapture trace;
    HostInfo record{};
};

TEST_F(QueryLinkStatusTest, FailedOrDisconnectedMediaQueryReadsNothingElse) {
    card.FailQuery(true);
    EXPECT_FALSE(QueryLinkStatus(card, record, 0));
    EXPECT_EQ((std::vector<std::string>{" OID_GEN_MEDIA_CONNECT_STATUS ", "->Failed  "}),
              trace.Lines());
    card.FailQuery(false);
    card.SetMediaStatus(1);
    EXPECT_TRUE(QueryLinkStatus(card, record, 0));
    EXPECT_EQ(1u, record.mediaConnectStatus);
    EXPECT_EQ((std::vector<std::string>{"QueryOID", "QueryOID"}), card.CallNames());
}

TEST_F(QueryLinkStatusTest, ZeroedRecordDoesNotAskForTheSignalYet) {
    EXPECT_TRUE(QueryLinkStatus(card, record, 0));
    EXPECT_EQ(0xE23u, card.LastCall("GetWLANConfig")->maskIn);
    EXPECT_EQ(0, record.rssi);
    EXPECT_EQ(1u, record.infrastructureMode);
    EXPECT_TRUE(QueryLinkStatus(card, record, 1));
    EXPECT_EQ(0x01000C13u, card.LastCall("GetWLANConfig")->maskIn);
    EXPECT_EQ(-48, record.rssi); // the network the card joined
    const std::vector<std::string> lines = trace.Lines();
    ASSERT_LE(4u, lines.size());
    EXPECT_EQ((std::vector<std::string>{" OID_GEN_MEDIA_CONNECT_STATUS ", "->Succeed  ", " . ",
                                        "dwWLFlag=(0x0)"}),
              std::vector<std::string>(lines.begin(), lines.begin() + 4));
}

// The second attempt asks again only for what failed; what still fails
// then fails the query.
TEST_F(QueryLinkStatusTest, SecondAttemptAsksAgainForWhatFailed) {
    card.FailGetBits(TAVL_MASK_SSID, 1);
    EXPECT_TRUE(QueryLinkStatus(card, record, 2));
    card.FailGetBits(TAVL_MASK_BSSID, 2);
    EXPECT_FALSE(QueryLinkStatus(card, record, 1));
    const auto gets = card.CallsNamed("GetWLANConfig");
    ASSERT_EQ(4u, gets.size());
    EXPECT_EQ(0x802u, gets[0].maskIn);
    EXPECT_EQ(TAVL_MASK_SSID, gets[1].maskIn);
    EXPECT_EQ("dwWLFlag=(0x1)", trace.Lines().back());
}

} // namespace
