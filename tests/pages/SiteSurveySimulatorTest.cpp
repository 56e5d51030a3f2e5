// The Site Survey page on the simulated card: search, list, join, and the
// Link Info page showing the new association; the join is checked in the
// simulator's journal.
#include "RecordingMessageBoxes.h"
#include "SimulatedCard.h"
#include "device/HostState.h"
#include "device/VirtualClock.h"
#include "pages/ConfigUtility.h"
#include "res/ControlIds.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

constexpr const char* kAir = "[network]\nssid=office\nbssid=00:1A:2B:3C:4D:01\nchannel=6\n"
                             "signal=-50\nmode=infrastructure\nwep=off\n"
                             "[network]\nssid=cell\nbssid=02:1A:2B:3C:4D:02\nchannel=11\n"
                             "signal=-70\nmode=adhoc\nwep=off\n";

class SiteSurveyOnSimulator : public testing::Test {
protected:
    SiteSurveyOnSimulator() {
        ResetHostState();
        gDevicePresent = 1;
        CLinkInfoPage::ResetProcessState();
        sheet =
            std::make_unique<CConfigUtility>(QString::fromLatin1(kAppTitle), *sim.library, clock);
        Page().m_b_ColumnsCreated = 0;
        Page().m_b_SearchOnActivate = 1;
    }
    ~SiteSurveyOnSimulator() override {
        sheet->reject();
        sheet->AfterClose();
    }

    CSiteSurveyPage& Page() { return sheet->m_SiteSurveyPage; }
    template <class T> T* Control(QWidget& page, int id) {
        return page.findChild<T*>(QString::number(id));
    }
    QTreeWidget* List() { return Control<QTreeWidget>(Page(), SiteSurveyControls::kSurveyList); }
    void SelectTab(int index) {
        sheet->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(index);
    }
    void ClickRow(int row) {
        const QRect rect = List()->visualItemRect(List()->topLevelItem(row));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    SimulatedCard sim{kAir};
    VirtualClock clock;
    RecordingMessageBoxes boxes;
    std::unique_ptr<CConfigUtility> sheet;
};

TEST_F(SiteSurveyOnSimulator, SearchListsTheAirAndConnectJoinsTheSelectedNetwork) {
    struct {
        int row;
        QStringList listed;
        QStringList join;
        QString bssid;
    } cases[] = {
        {0,
         {"office", "00-1A-2B-3C-4D-01", "88%", "6", "No", "Infrastructure"},
         {"TAVL_SetOperatingMode mode=1", "TAVL_SetSSID length=6 ssid=\"office\""},
         "00-1A-2B-3C-4D-01"},
        {1,
         {"cell", "02-1A-2B-3C-4D-02", "44%", "11", "No", "Ad-Hoc"},
         {"TAVL_SetOperatingMode mode=0", "TAVL_SetChannel channel=11",
          "TAVL_SetSSID length=4 ssid=\"cell\""},
         "02-1A-2B-3C-4D-02"},
    };
    for (const auto& c : cases) {
        sheet->Open();
        SelectTab(2);
        QTest::mouseClick(Control<QPushButton>(Page(), SiteSurveyControls::kSearchButton),
                          Qt::LeftButton);
        Page().OnTimer();
        ASSERT_EQ(2, List()->topLevelItemCount());
        QStringList listed;
        for (int column = 0; column < 6; ++column) {
            listed << List()->topLevelItem(c.row)->text(column);
        }
        EXPECT_EQ(c.listed, listed);

        ClickRow(c.row);
        sim.ClearJournal();
        QTest::mouseClick(Control<QPushButton>(Page(), SiteSurveyControls::kConnectButton),
                          Qt::LeftButton);
        QStringList join;
        for (const QString& line : sim.Journal()) {
            if (line.startsWith("TAVL_SetOperatingMode") || line.startsWith("TAVL_SetChannel") ||
                line.startsWith("TAVL_SetSSID")) {
                join << line.section(QStringLiteral(" ->"), 0, 0);
            }
        }
        EXPECT_EQ(c.join, join);

        ASSERT_EQ(0, sheet->GetActiveIndex());
        sheet->m_LinkInfoPage.OnTimer();
        EXPECT_EQ("Connected - BSSID = " + c.bssid,
                  Control<QLineEdit>(sheet->m_LinkInfoPage, LinkInfoControls::kStateEdit)->text());
        EXPECT_EQ(c.listed[0],
                  Control<QLineEdit>(sheet->m_LinkInfoPage, LinkInfoControls::kSsidEdit)->text());
        EXPECT_EQ(
            c.listed[3],
            Control<QLineEdit>(sheet->m_LinkInfoPage, LinkInfoControls::kChannelEdit)->text());
        sheet->reject();
        sheet->AfterClose();
    }
}

} // namespace
