#include "SheetHarness.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <cstring>
#include <string>
#include <vector>

namespace {

TavlSurveyEntry Entry(int n, const std::string& ssid, std::int32_t rssi = -60) {
    TavlSurveyEntry entry{};
    const std::uint8_t bssid[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x00, static_cast<std::uint8_t>(n)};
    std::memcpy(entry.bssid, bssid, sizeof bssid);
    entry.ssidLength = static_cast<std::uint32_t>(ssid.size());
    std::memcpy(entry.ssid, ssid.data(), ssid.size());
    entry.rssi = rssi;
    entry.dsConfig = 2437000;
    entry.infrastructureMode = 1;
    return entry;
}

class SiteSurveyPage : public testing::Test {
protected:
    SiteSurveyPage() {
        Page().m_b_ColumnsCreated = 0;
        Page().m_b_SearchOnActivate = 1;
        Page().waitWithMessages = [this](std::uint32_t ms) { waits.push_back(ms); };
        h.card.SetSurveyEntries({Entry(1, "office"), Entry(2, "cell", -45), Entry(3, "", 0)});
    }

    CSiteSurveyPage& Page() { return h.sheet->m_SiteSurveyPage; }
    QTreeWidget* List() { return Page().findChild<QTreeWidget*>(QStringLiteral("1131")); }
    QPushButton* Search() { return Page().findChild<QPushButton*>(QStringLiteral("1015")); }
    QPushButton* Join() { return Page().findChild<QPushButton*>(QStringLiteral("1133")); }

    // Opens the sheet on the Site Survey page, searches and fills the list.
    void OpenAndFill() {
        h.Open();
        h.SelectTab(2);
        QTest::mouseClick(Search(), Qt::LeftButton);
        Page().OnTimer();
    }
    std::vector<QStringList> Rows() {
        std::vector<QStringList> rows;
        for (int i = 0; i < List()->topLevelItemCount(); ++i) {
            rows.emplace_back();
            for (int c = 0; c < 6; ++c) {
                rows.back() << List()->topLevelItem(i)->text(c);
            }
        }
        return rows;
    }
    void ClickRow(int row) {
        const QRect rect = List()->visualItemRect(List()->topLevelItem(row));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void ConnectRow(int row) {
        ClickRow(row);
        QTest::mouseClick(Join(), Qt::LeftButton);
    }
    std::string SentSsid() {
        const SsidText sent = *h.card.LastCall("SetSSID")->ssid;
        return std::string(reinterpret_cast<const char*>(sent.ssid), sent.length);
    }

    SheetHarness h;
    std::vector<std::uint32_t> waits;
};

// The six columns show side by side within the list, each wide enough for
// its title and its texts: no sideways scrolling hides one.
TEST_F(SiteSurveyPage, ColumnsFitTheListWithTheirTitlesAndTexts) {
    OpenAndFill();
    const QFontMetrics metrics(List()->font());
    int total = 0;
    for (int i = 0; i < 6; ++i) {
        const int width = List()->header()->sectionSize(i);
        EXPECT_LE(metrics.horizontalAdvance(List()->headerItem()->text(i)), width) << i;
        for (int row = 1; i > 0 && row < List()->topLevelItemCount(); ++row) {
            EXPECT_LE(metrics.horizontalAdvance(List()->topLevelItem(row)->text(i)), width);
        }
        total += width;
    }
    EXPECT_EQ("BSSType", List()->headerItem()->text(5));
    EXPECT_LE(total, List()->viewport()->width());
}

TEST_F(SiteSurveyPage, FirstVisitWaitsForSearchAndTheSecondSearchesOnce) {
    h.Open();
    std::size_t before = 0;
    for (const std::size_t triggers : {0u, 1u, 1u}) {
        h.SelectTab(2);
        EXPECT_EQ(triggers, h.card.CountOf("SiteSurveyTrigger"));
        EXPECT_EQ(triggers > before, Page().FillTimer().isActive());
        before = triggers;
        h.SelectTab(0);
    }
    // After the sheet closes the rule starts again, with the columns.
    h.Cancel();
    h.Open();
    h.SelectTab(2);
    EXPECT_EQ(6, List()->columnCount());
    h.SelectTab(0);
    h.SelectTab(2);
    EXPECT_EQ(2u, h.card.CountOf("SiteSurveyTrigger"));
}

TEST_F(SiteSurveyPage, SearchEmptiesTheListTheTimerFillsItAndLeavingStopsIt) {
    OpenAndFill();
    EXPECT_EQ((std::vector<QStringList>{
                  {"office", "00-1A-2B-3C-00-01", "66%", "6", "No", "Infrastructure"},
                  {"cell", "00-1A-2B-3C-00-02", "100%", "6", "No", "Infrastructure"},
                  {"", "00-1A-2B-3C-00-03", "n/a", "6", "No", "Infrastructure"},
              }),
              Rows());
    QTest::mouseClick(Search(), Qt::LeftButton);
    EXPECT_EQ(0, List()->topLevelItemCount());
    auto* searching = List()->findChild<QLabel*>(QStringLiteral("searching"));
    EXPECT_TRUE(searching->isVisible());
    h.SelectTab(0);
    EXPECT_FALSE(Page().FillTimer().isActive());
    EXPECT_TRUE(Search()->isEnabled());
    EXPECT_TRUE(searching->isHidden());

    // A failed survey leaves the list empty and nothing to join.
    h.card.SetSurveyEntries({Entry(1, "office")}, 0);
    h.SelectTab(2); // the second visit searches
    Page().OnTimer();
    EXPECT_EQ(0, List()->topLevelItemCount());
    EXPECT_TRUE(Search()->isEnabled());
    Page().OnConnect();
    EXPECT_EQ(0u, h.card.CountOf("SetSSID"));
}

TEST_F(SiteSurveyPage, ZeroConfigurationKeepsConnectDisabled) {
    h.card.SetZeroConfigState(1);
    OpenAndFill();
    ClickRow(0);
    EXPECT_EQ(0, Page().m_n_SelectedItem);
    EXPECT_FALSE(Join()->isEnabled());
}

// A hidden network (no SSID) shows "Fail" and is joined all the same;
// UTF-8 names show as text, other bytes escaped; Connect sends the bytes
// the card reported, whatever the list shows.
TEST_F(SiteSurveyPage, ConnectSendsTheReportedSsidBytes) {
    const struct {
        std::string bytes;
        QString shown;
    } cases[] = {
        {"", ""},
        {"Caf\xC3\xA9", QString::fromUtf8("Caf\u00e9")},
        {"caf\xE9", QStringLiteral("caf\\xE9")},
        {"a\\b\x01", QStringLiteral("a\\\\b\\x01")},
    };
    for (const auto& c : cases) {
        h.card.SetSurveyEntries({Entry(1, c.bytes)});
        OpenAndFill();
        EXPECT_EQ(c.shown, Rows()[0][0]);
        ConnectRow(0);
        EXPECT_EQ(c.bytes, SentSsid());
        EXPECT_EQ(c.shown, gSelectedSSID);
        EXPECT_EQ(c.bytes.empty() ? 1u : 0u, h.boxes.shown.size());
        h.boxes.shown.clear();
        h.Cancel();
    }
}

// The WEP part goes again after the join settles, as the record stands
// once the first wait is over.
TEST_F(SiteSurveyPage, OnWindows98MeTheJoinSendsTheWepPartAgain) {
    gOsClass = kOsWindows98Me;
    Page().waitWithMessages = [this](std::uint32_t ms) {
        if (waits.empty()) {
            WirelessReg reg = h.sheet->state.reg.Get();
            reg.encryptionLevel = 1;
            reg.defaultKeyId = 2;
            h.sheet->state.reg.Set(reg);
        }
        waits.push_back(ms);
    };
    OpenAndFill();
    ClickRow(0);
    h.card.ClearCalls();
    QTest::mouseClick(Join(), Qt::LeftButton);
    EXPECT_EQ((std::vector<std::uint32_t>{3000, 1500}), waits);
    std::vector<std::string> calls = h.card.CallNames();
    calls.resize(3);
    EXPECT_EQ((std::vector<std::string>{"SetOperatingMode", "SetSSID", "SetWLANConfig"}), calls);
    const CardCall set = *h.card.LastCall("SetWLANConfig");
    EXPECT_EQ(TAVL_MASK_WEP_KEYS | TAVL_MASK_WEP_STATUS | TAVL_MASK_AUTH_MODE, set.maskIn);
    ASSERT_EQ(4u, set.wepKeys.size());
    EXPECT_TRUE(set.Key(2)->transmit);
}

} // namespace
