#include "SheetHarness.h"
#include "device/Records.h"
#include "res/ControlIds.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

TavlSurveyEntry Entry(int n, const std::string& ssid, std::uint32_t channel, bool infrastructure,
                      std::int32_t rssi = -60) {
    TavlSurveyEntry entry{};
    entry.length = TAVL_SURVEY_ENTRY_SIZE;
    const std::uint8_t bssid[6] = {
        0x00, 0x1A, 0x2B, 0x3C, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
    std::memcpy(entry.bssid, bssid, sizeof bssid);
    entry.ssidLength = static_cast<std::uint32_t>(ssid.size());
    std::memcpy(entry.ssid, ssid.data(), ssid.size());
    entry.rssi = rssi;
    entry.dsConfig = 2412000 + 5000 * (channel - 1);
    entry.infrastructureMode = infrastructure ? 1 : 0;
    return entry;
}

class SiteSurveyPage : public testing::Test {
protected:
    SiteSurveyPage() {
        gSelectedSSID.clear();
        Page().m_b_ColumnsCreated = 0;
        Page().m_b_SearchOnActivate = 1;
        Page().waitWithMessages = [this](std::uint32_t ms) { waits.push_back(ms); };
        h.card.SetSurveyEntries({
            Entry(1, "office", 6, true, -60),
            Entry(2, "cell", 11, false, -45),
            Entry(3, "", 1, true, 0),
        });
    }

    CSiteSurveyPage& Page() { return h.sheet->m_SiteSurveyPage; }
    QTreeWidget* List() {
        return Page().findChild<QTreeWidget*>(QString::number(SiteSurveyControls::kSurveyList));
    }
    QPushButton* Search() {
        return Page().findChild<QPushButton*>(QString::number(SiteSurveyControls::kSearchButton));
    }
    QPushButton* Join() {
        return Page().findChild<QPushButton*>(QString::number(SiteSurveyControls::kConnectButton));
    }

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
            QStringList row;
            for (int c = 0; c < 6; ++c) {
                row << List()->topLevelItem(i)->text(c);
            }
            rows.push_back(row);
        }
        return rows;
    }

    // The calls of a join: those before the Link Info page's activation
    // (which begins with Get_XPWZC).
    std::vector<std::string> JoinCalls() {
        std::vector<std::string> names = h.card.CallNames();
        names.erase(std::find(names.begin(), names.end(), "Get_XPWZC"), names.end());
        return names;
    }

    void ClickRow(int row) {
        const QRect rect = List()->visualItemRect(List()->topLevelItem(row));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    SheetHarness h;
    std::vector<std::uint32_t> waits;
};

// The six columns show side by side within the list, each wide enough for
// its title and its texts: no sideways scrolling hides one.
TEST_F(SiteSurveyPage, ColumnsFitTheListWithTheirTitlesAndTexts) {
    OpenAndFill();
    QTreeWidgetItem* header = List()->headerItem();
    ASSERT_EQ(6, List()->columnCount());
    const char* titles[] = {"SSID", "BSSID", "Signal", "Channel", "WEP", "BSSType"};
    const QFontMetrics metrics(List()->font());
    int total = 0;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(titles[i], header->text(i));
        const int width = List()->header()->sectionSize(i);
        EXPECT_LE(metrics.horizontalAdvance(header->text(i)), width) << titles[i];
        for (int row = 1; i > 0 && row < List()->topLevelItemCount(); ++row) {
            EXPECT_LE(metrics.horizontalAdvance(List()->topLevelItem(row)->text(i)), width);
        }
        total += width;
    }
    EXPECT_LE(total, List()->viewport()->width());
    EXPECT_EQ(1, Page().m_b_ColumnsCreated);
}

TEST_F(SiteSurveyPage, FirstVisitWaitsForSearchAndTheSecondSearchesOnce) {
    h.Open();
    h.SelectTab(2);
    EXPECT_EQ(0u, h.card.CountOf("SiteSurveyTrigger"));
    EXPECT_FALSE(Page().FillTimer().isActive());
    h.SelectTab(0);
    h.SelectTab(2);
    EXPECT_EQ(1u, h.card.CountOf("SiteSurveyTrigger"));
    EXPECT_TRUE(Page().FillTimer().isActive());
    h.SelectTab(0);
    h.SelectTab(2);
    EXPECT_EQ(1u, h.card.CountOf("SiteSurveyTrigger"));

    // After the sheet closes the rule starts again, with the columns.
    h.Cancel();
    EXPECT_EQ(0, Page().m_b_ColumnsCreated);
    h.Open();
    h.SelectTab(2);
    EXPECT_EQ(6, List()->columnCount());
    EXPECT_EQ(1u, h.card.CountOf("SiteSurveyTrigger"));
    h.SelectTab(0);
    h.SelectTab(2);
    EXPECT_EQ(2u, h.card.CountOf("SiteSurveyTrigger"));
}

TEST_F(SiteSurveyPage, SearchEmptiesTheListAndTheTimerFillsIt) {
    OpenAndFill();
    ASSERT_EQ(3, List()->topLevelItemCount());
    QTest::mouseClick(Search(), Qt::LeftButton);
    EXPECT_EQ(0, List()->topLevelItemCount());
    // The list says it is searching for those 3 s.
    auto* searching = List()->findChild<QLabel*>(QStringLiteral("searching"));
    ASSERT_NE(nullptr, searching);
    EXPECT_TRUE(searching->isVisible());

    h.card.ClearCalls();
    Page().OnTimer();
    EXPECT_FALSE(searching->isVisible());
    EXPECT_EQ((std::vector<QStringList>{
                  {"office", "00-1A-2B-3C-00-01", "66%", "6", "No", "Infrastructure"},
                  {"cell", "00-1A-2B-3C-00-02", "100%", "11", "No", "Ad-Hoc"},
                  {"", "00-1A-2B-3C-00-03", "n/a", "1", "No", "Infrastructure"},
              }),
              Rows());
}

TEST_F(SiteSurveyPage, FailedSurveyLeavesTheListEmpty) {
    h.card.SetSurveyEntries({Entry(1, "office", 6, true)}, 0);
    OpenAndFill();
    EXPECT_EQ(0, List()->topLevelItemCount());
    EXPECT_TRUE(Search()->isEnabled());
    EXPECT_EQ(0, SurveyTable().Count());
}

TEST_F(SiteSurveyPage, LeavingWhileScanningStopsTheTimer) {
    h.Open();
    h.SelectTab(2);
    QTest::mouseClick(Search(), Qt::LeftButton);
    h.SelectTab(0);
    EXPECT_FALSE(Page().FillTimer().isActive());
    EXPECT_TRUE(Search()->isEnabled());
    h.SelectTab(2);
    EXPECT_EQ(0, List()->topLevelItemCount());
}

TEST_F(SiteSurveyPage, ZeroConfigurationKeepsConnectDisabled) {
    h.card.SetZeroConfigState(1);
    OpenAndFill();
    ClickRow(0);
    EXPECT_EQ(0, Page().m_n_SelectedItem);
    EXPECT_FALSE(Join()->isEnabled());
}

TEST_F(SiteSurveyPage, HiddenSsidShowsFailAndJoinsAllTheSame) {
    OpenAndFill();
    ClickRow(2);
    QTest::mouseClick(Join(), Qt::LeftButton);
    ASSERT_EQ(1u, h.boxes.shown.size());
    EXPECT_EQ("Fail", h.boxes.shown[0].text);
    ASSERT_TRUE(h.card.LastCall("SetSSID").has_value());
    EXPECT_EQ(0u, h.card.LastCall("SetSSID")->ssid->length);
}

// UTF-8 names show as text, other bytes escaped; Connect sends the bytes
// the card reported, whatever the list shows.
TEST_F(SiteSurveyPage, SsidBytesShowReadablyAndGoBackUnchanged) {
    const struct {
        std::string bytes;
        QString shown;
    } cases[] = {
        {"Caf\xC3\xA9", QString::fromUtf8("Caf\u00e9")},
        {"caf\xE9", QStringLiteral("caf\\xE9")},
        {"a\\b\x01", QStringLiteral("a\\\\b\\x01")},
    };
    for (const auto& c : cases) {
        h.card.SetSurveyEntries({Entry(1, c.bytes, 6, true)});
        OpenAndFill();
        EXPECT_EQ(c.shown, Rows()[0][0]);
        ClickRow(0);
        QTest::mouseClick(Join(), Qt::LeftButton);
        const SsidText sent = *h.card.LastCall("SetSSID")->ssid;
        EXPECT_EQ(c.bytes, std::string(reinterpret_cast<const char*>(sent.ssid), sent.length));
        h.Cancel();
    }
}

TEST_F(SiteSurveyPage, OnWindows98MeTheJoinSendsTheWepPartAgain) {
    gOsClass = kOsWindows98Me;
    WirelessReg reg = DefaultWirelessReg();
    reg.encryptionLevel = 1;
    reg.defaultKeyId = 2;
    h.sheet->state.reg.Set(reg);
    OpenAndFill();
    ClickRow(0);
    h.card.ClearCalls();
    QTest::mouseClick(Join(), Qt::LeftButton);
    EXPECT_EQ((std::vector<std::uint32_t>{3000, 1500}), waits);
    EXPECT_EQ((std::vector<std::string>{"SetOperatingMode", "SetSSID", "SetWLANConfig"}),
              JoinCalls());
    const CardCall set = *h.card.LastCall("SetWLANConfig");
    EXPECT_EQ(TAVL_MASK_WEP_KEYS | TAVL_MASK_WEP_STATUS | TAVL_MASK_AUTH_MODE, set.maskIn);
    ASSERT_EQ(4u, set.wepKeys.size());
    EXPECT_TRUE(set.Key(2)->transmit);
}

} // namespace
