// The Site Survey page on the simulated card: search, list and join; what
// reached the card is read in its journal.
#include "RecordingMessageBoxes.h"
#include "SimulatedCard.h"
#include "device/HostState.h"
#include "device/VirtualClock.h"
#include "pages/ConfigUtility.h"
#include "res/ControlIds.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using namespace SiteSurveyControls;

// An access point, an ad hoc cell, the first's BSSID again, SSIDs in UTF-8,
// other bytes and hidden, 61 more: 64 rows, the first of a BSSID, are listed.
std::string Air() {
    std::string air = "[network]\nssid=office\nbssid=00:1A:2B:3C:4D:01\nchannel=6\nsignal=-50\n"
                      "[network]\nssid=cell\nbssid=02:1A:2B:3C:4D:02\nchannel=11\nsignal=-70\n"
                      "mode=adhoc\n"
                      "[network]\nssid=again\nbssid=00:1A:2B:3C:4D:01\nchannel=1\n"
                      "[network]\nssid=\"Caf\\xC3\\xA9\"\nbssid=00:1A:2B:3C:4D:03\nchannel=1\n"
                      "[network]\nssid=\"a\\\\b\\x01\\xE9\"\nbssid=00:1A:2B:3C:4D:04\nchannel=1\n"
                      "[network]\nssid=x\nbssid=00:1A:2B:3C:4D:05\nchannel=1\nhidden=1\n";
    for (int i = 10; i < 71; ++i) {
        air += "[network]\nssid=n" + std::to_string(i) +
               "\nbssid=00:0C:2B:10:00:" + std::to_string(i) + "\nchannel=6\n";
    }
    return air;
}

class SiteSurveyPage : public testing::Test {
protected:
    SiteSurveyPage() {
        ResetHostState();
        sheet =
            std::make_unique<CConfigUtility>(QString::fromLatin1(kAppTitle), *sim.library, clock);
        sheet->Open();
    }
    ~SiteSurveyPage() override {
        sheet->reject();
        sheet->AfterClose();
    }

    CSiteSurveyPage& Page() { return sheet->m_SiteSurveyPage; }
    template <class T> T* Control(int id) { return Page().findChild<T*>(QString::number(id)); }
    QTreeWidget* List() { return Control<QTreeWidget>(kSurveyList); }
    QPushButton* Search() { return Control<QPushButton>(kSearchButton); }
    QPushButton* Join() { return Control<QPushButton>(kConnectButton); }
    void SelectTab(int index) {
        sheet->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(index);
    }
    void SearchAndFill() {
        SelectTab(2);
        Search()->click();
        Page().OnTimer();
    }
    // The world's card section gets `lines` (the library reads the file again).
    static void SetCard(const std::string& lines) {
        std::ofstream(std::string(std::getenv("TAVL_SIM_HOME")) + "/world.ini")
            << "[card]\npresent=1\nscan_time_ms=0\n"
            << lines << Air();
    }
    std::size_t Triggers() const { return sim.Journal("TAVL_SiteSurveyTrigger").size(); }

    SimulatedCard sim{Air()};
    VirtualClock clock;
    RecordingMessageBoxes boxes;
    std::unique_ptr<CConfigUtility> sheet;
};

TEST_F(SiteSurveyPage, FirstVisitWaitsForSearchAndTheSecondSearchesOnce) {
    std::size_t before = 0;
    for (const std::size_t triggers : {0u, 1u, 1u}) {
        SelectTab(2);
        EXPECT_EQ(triggers, Triggers());
        EXPECT_EQ(triggers > before, Page().FillTimer().isActive());
        before = triggers;
        SelectTab(0);
    }
    // After the sheet closes the rule starts again, with the columns.
    sheet->reject();
    sheet->AfterClose();
    sheet->Open();
    SelectTab(2);
    EXPECT_EQ(6, List()->columnCount());
    SelectTab(0);
    SelectTab(2);
    EXPECT_EQ(2u, Triggers());
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
    SelectTab(0);
    EXPECT_FALSE(Page().FillTimer().isActive());
    EXPECT_TRUE(Search()->isEnabled());
    EXPECT_TRUE(searching->isHidden());

    // A failed survey (the card is out) leaves the list empty.
    SetCard("present=0\n");
    SelectTab(2); // the second visit searches
    Page().OnTimer();
    EXPECT_EQ(0, List()->topLevelItemCount());
    EXPECT_TRUE(Search()->isEnabled());
}

TEST_F(SiteSurveyPage, ZeroConfigurationKeepsConnectDisabled) {
    SetCard("netservice=1\n");
    SearchAndFill();
    List()->setCurrentItem(List()->topLevelItem(0));
    EXPECT_FALSE(Join()->isEnabled());
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
        ASSERT_EQ(64, List()->topLevelItemCount());
        EXPECT_EQ("n68", List()->topLevelItem(63)->text(0));
        for (int column = 0; column < c.listed.size(); ++column) {
            EXPECT_EQ(c.listed[column], List()->topLevelItem(c.row)->text(column));
        }
        List()->setCurrentItem(List()->topLevelItem(c.row));
        sim.ClearJournal();
        Join()->click();
        QStringList join =
            sim.Journal().filter(QRegularExpression("^TAVL_Set(OperatingMode|Channel|SSID) "));
        join.replaceInStrings(QRegularExpression("^\\S+ | ->.*"), QString());
        EXPECT_EQ(c.join, join.join('|'));
        EXPECT_EQ(c.listed[0], gSelectedSSID);
        EXPECT_EQ(c.listed[0].isEmpty() ? 1u : 0u, boxes.shown.size());
        EXPECT_EQ(0, sheet->GetActiveIndex()); // Link Info
    }
}

// The WEP part goes again after the join settles, as the record stands
// once the first wait is over.
TEST_F(SiteSurveyPage, OnWindows98MeTheJoinSendsTheWepPartAgain) {
    gOsClass = kOsWindows98Me;
    QStringList waits;
    Page().waitWithMessages = [&](std::uint32_t ms) {
        sheet->state.reg.Update([](WirelessReg& reg) {
            reg.encryptionLevel = 1;
            reg.defaultKeyId = 2;
        });
        waits << sim.Journal().last().section(' ', 0, 0) + " " + QString::number(ms);
    };
    SearchAndFill();
    List()->setCurrentItem(List()->topLevelItem(0));
    Join()->click();
    EXPECT_EQ(QStringList({"TAVL_SetSSID 3000", "TAVL_SetWLANConfig 1500"}), waits);
    QString set = sim.Journal("TAVL_SetWLANConfig").last().section(" ->", 0, 0);
    EXPECT_EQ("TAVL_SetWLANConfig mask=0x0003F000 key1={0,tx=0} key2={1,tx=0} key3={2,tx=1} "
              "key4={3,tx=0} wepStatus=0 authMode=2",
              set.remove("length=20,index=").remove(",keyLength=5,key=0000000000"));
}

} // namespace
