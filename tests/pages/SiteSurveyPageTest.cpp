// The Site Survey page on the simulated card: search, list and join; what
// reached the card is read in its journal.
#include "SheetHarness.h"
#include "res/ControlIds.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>

namespace {

using namespace SiteSurveyControls;

class SiteSurveyPage : public testing::Test {
protected:
    // An access point, an ad hoc cell, SSIDs in UTF-8, other bytes and hidden.
    SiteSurveyPage() {
        h.card.EditWorld([](cardsim::World& w) {
            w.networks.clear();
            const std::pair<const char*, std::uint32_t> air[] = {
                {"office", 6}, {"cell", 11}, {"Caf\xC3\xA9", 1}, {"a\\b\x01\xE9", 1}, {"x", 1}};
            std::uint8_t n = 0;
            for (const auto& [ssid, channel] : air) {
                cardsim::Network& net = w.networks.emplace_back();
                net.ssid = ssid;
                net.bssid = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, ++n};
                net.channel = channel;
                net.signal = -50;
            }
            w.networks[1].bssid[0] = 0x02;
            w.networks[1].signal = -70;
            w.networks[1].mode = cardsim::NetMode::AdHoc;
            w.networks[4].hidden = true;
        });
        h.Open();
    }

    CSiteSurveyPage& Page() { return h.sheet->m_SiteSurveyPage; }
    QTreeWidget* List() { return Page().findChild<QTreeWidget*>(QString::number(kSurveyList)); }
    QPushButton* Search() { return Page().findChild<QPushButton*>(QString::number(kSearchButton)); }
    QPushButton* Join() { return Page().findChild<QPushButton*>(QString::number(kConnectButton)); }
    void SearchAndFill() {
        h.SelectTab(2);
        Search()->click();
        Page().OnTimer();
    }

    SheetHarness h;
};

TEST_F(SiteSurveyPage, FirstVisitWaitsForSearchAndTheSecondSearchesOnce) {
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

// The columns show side by side within the list, each wide enough for its
// title and its texts; a search empties the list until it is filled.
TEST_F(SiteSurveyPage, ColumnsFitSearchEmptiesTheListLeavingStopsTheSearch) {
    SearchAndFill();
    auto* searching = List()->findChild<QLabel*>(QStringLiteral("searching"));
    EXPECT_TRUE(searching->isHidden());
    const QFontMetrics metrics(List()->font());
    int total = 0;
    for (int column = 0; column < 6; ++column) {
        const int width = List()->header()->sectionSize(column);
        EXPECT_LE(metrics.horizontalAdvance(List()->headerItem()->text(column)), width);
        for (int row = 0; column > 0 && row < List()->topLevelItemCount(); ++row) {
            EXPECT_LE(metrics.horizontalAdvance(List()->topLevelItem(row)->text(column)), width);
        }
        total += width;
    }
    EXPECT_LE(total, List()->viewport()->width());

    List()->setCurrentItem(List()->topLevelItem(0));
    Search()->click();
    EXPECT_EQ(0, List()->topLevelItemCount());
    EXPECT_FALSE(Join()->isEnabled());
    EXPECT_TRUE(searching->isVisible());
    h.SelectTab(0);
    EXPECT_FALSE(Page().FillTimer().isActive());
    EXPECT_TRUE(Search()->isEnabled());
    EXPECT_TRUE(searching->isHidden());

    // A failed survey (the card is out) leaves the list empty.
    h.card.SetPresent(false);
    h.SelectTab(2); // the second visit searches
    Page().OnTimer();
    EXPECT_EQ(0, List()->topLevelItemCount());
    EXPECT_TRUE(Search()->isEnabled());
}

// Connect sends the SSID bytes the card reported, whatever the list shows,
// and a hidden network's empty SSID after the message "Fail".
TEST_F(SiteSurveyPage, SearchListsTheAirAndConnectJoinsTheSelectedNetwork) {
    const struct {
        int row;
        QStringList listed;
        QString join;
    } cases[] = {
        {0,
         {"office", "00-1A-2B-3C-4D-01", "88%", "6", "No", "Infrastructure"},
         "mode=1|length=6 ssid=\"office\""},
        {1,
         {"cell", "02-1A-2B-3C-4D-02", "44%", "11", "No", "Ad-Hoc"},
         "mode=0|channel=11|length=4 ssid=\"cell\""},
        {2, {"Caf\u00e9"}, "mode=1|length=5 ssid=\"Caf\\xC3\\xA9\""},
        {3, {"a\\\\b\\x01\\xE9"}, "mode=1|length=5 ssid=\"a\\\\b\\x01\\xE9\""},
        {4, {""}, "mode=1|length=0 ssid=\"\""},
    };
    for (const auto& c : cases) {
        SearchAndFill();
        ASSERT_EQ(5, List()->topLevelItemCount());
        for (int column = 0; column < c.listed.size(); ++column) {
            EXPECT_EQ(c.listed[column], List()->topLevelItem(c.row)->text(column));
        }
        List()->setCurrentItem(List()->topLevelItem(c.row));
        h.card.ClearCalls();
        Join()->click();
        QStringList join;
        for (const std::string& line : h.card.Journal()) {
            join << QString::fromStdString(line);
        }
        join = join.filter(QRegularExpression("^TAVL_Set(OperatingMode|Channel|SSID) "));
        join.replaceInStrings(QRegularExpression("^\\S+ | ->.*"), QString());
        EXPECT_EQ(c.join, join.join('|'));
        EXPECT_EQ(c.listed[0], gSelectedSSID);
        EXPECT_EQ(c.listed[0].isEmpty() ? 1u : 0u, h.boxes.shown.size());
        EXPECT_EQ(0, h.sheet->GetActiveIndex()); // Link Info
    }
}

// Arrow keys move the row Connect joins, Enter joins it and keeps the
// sheet open, and only the left button selects a row.
TEST_F(SiteSurveyPage, RowsAreChosenByKeysAndTheLeftButton) {
    SearchAndFill();
    const auto click = [this](int row, Qt::MouseButton button) {
        const QRect rect = List()->visualItemRect(List()->topLevelItem(row));
        QTest::mouseClick(List()->viewport(), button, {}, rect.center());
    };
    QTest::keyClick(List(), Qt::Key_Return);
    EXPECT_EQ(0u, h.card.CountOf("SetSSID"));
    QTest::keyClick(List(), Qt::Key_Down);
    EXPECT_TRUE(Join()->isEnabled());
    QTest::keyClick(List(), Qt::Key_Return);
    EXPECT_EQ(1u, h.card.CountOf("SetSSID"));
    EXPECT_EQ("office", gSelectedSSID);
    EXPECT_TRUE(h.sheet->isVisible());
    click(1, Qt::RightButton);
    click(2, Qt::MiddleButton);
    EXPECT_EQ(QList{List()->topLevelItem(0)}, List()->selectedItems());
    QTest::keyClick(List(), Qt::Key_Down);
    QTest::keyClick(List(), Qt::Key_Down);
    Join()->click();
    EXPECT_EQ("Caf\u00e9", gSelectedSSID);
    click(1, Qt::LeftButton);
    click(2, Qt::RightButton);
    Join()->click();
    EXPECT_EQ("cell", gSelectedSSID);
    // While the zero configuration service runs, a choice leaves Connect grey.
    h.card.SetZeroConfigState(1);
    click(0, Qt::LeftButton);
    EXPECT_FALSE(Join()->isEnabled());
}

// The WEP part goes again after the join settles, as the record stands
// once the first wait is over.
TEST_F(SiteSurveyPage, OnWindows98MeTheJoinSendsTheWepPartAgain) {
    gOsClass = kOsWindows98Me;
    QStringList waits;
    Page().waitWithMessages = [&](std::uint32_t ms) {
        h.sheet->state.reg.Update([](WirelessReg& reg) {
            reg.encryptionLevel = 1;
            reg.defaultKeyId = 2;
        });
        waits << QString::fromStdString(h.card.Journal().back()).section(' ', 0, 0) + " " +
                     QString::number(ms);
    };
    SearchAndFill();
    List()->setCurrentItem(List()->topLevelItem(0));
    Join()->click();
    EXPECT_EQ(QStringList({"TAVL_SetSSID 3000", "TAVL_SetWLANConfig 1500"}), waits);
    EXPECT_TRUE(h.card.LastCall("SetWLANConfig")->Key(2)->transmit);
}

} // namespace
