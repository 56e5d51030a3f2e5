// The Site Survey page on the simulated card: search, list, join, and the
// Link Info page showing the new association; the join is checked in the
// simulator's journal.
#include "RecordingMessageBoxes.h"
#include "SimulatedCard.h"
#include "device/HostState.h"
#include "device/VirtualClock.h"
#include "pages/ConfigUtility.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <cstdio>
#include <string>

namespace {

// An access point, an ad hoc cell, a repeat of the access point's BSSID
// and 63 more networks: the first of a BSSID and 64 rows are listed.
std::string Air() {
    std::string air = "[network]\nssid=office\nbssid=00:1A:2B:3C:4D:01\nchannel=6\n"
                      "signal=-50\nmode=infrastructure\nwep=off\n"
                      "[network]\nssid=cell\nbssid=02:1A:2B:3C:4D:02\nchannel=11\n"
                      "signal=-70\nmode=adhoc\nwep=off\n"
                      "[network]\nssid=again\nbssid=00:1A:2B:3C:4D:01\nchannel=1\n";
    for (int i = 0; i < 63; ++i) {
        char bssid[18];
        std::snprintf(bssid, sizeof bssid, "00:0C:2B:10:00:%02X", i);
        air += "[network]\nssid=n" + std::to_string(i) + "\nbssid=" + bssid + "\nchannel=6\n";
    }
    return air;
}

class SiteSurveyOnSimulator : public testing::Test {
protected:
    SiteSurveyOnSimulator() {
        ResetHostState();
        gDevicePresent = 1;
        CLinkInfoPage::ResetProcessState();
        sheet =
            std::make_unique<CConfigUtility>(QString::fromLatin1(kAppTitle), *sim.library, clock);
        sheet->m_SiteSurveyPage.m_b_ColumnsCreated = 0;
    }
    // Control `id` of `page` (pages share some ids).
    template <class T> T* Control(QWidget& page, int id) {
        return page.findChild<T*>(QString::number(id));
    }

    SimulatedCard sim{Air()};
    VirtualClock clock;
    RecordingMessageBoxes boxes;
    std::unique_ptr<CConfigUtility> sheet;
};

TEST_F(SiteSurveyOnSimulator, SearchListsTheAirAndConnectJoinsTheSelectedNetwork) {
    const struct {
        int row;
        QStringList listed, join;
    } cases[] = {
        {0,
         {"office", "00-1A-2B-3C-4D-01", "88%", "6", "No", "Infrastructure"},
         {"TAVL_SetOperatingMode mode=1", "TAVL_SetSSID length=6 ssid=\"office\""}},
        {1,
         {"cell", "02-1A-2B-3C-4D-02", "44%", "11", "No", "Ad-Hoc"},
         {"TAVL_SetOperatingMode mode=0", "TAVL_SetChannel channel=11",
          "TAVL_SetSSID length=4 ssid=\"cell\""}},
    };
    for (const auto& c : cases) {
        sheet->Open();
        sheet->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(2);
        CSiteSurveyPage& page = sheet->m_SiteSurveyPage;
        Control<QPushButton>(page, 1015)->click();
        page.OnTimer();
        QTreeWidget* list = Control<QTreeWidget>(page, 1131);
        ASSERT_EQ(64, list->topLevelItemCount());
        EXPECT_EQ("n61", list->topLevelItem(63)->text(0));
        QStringList listed;
        for (int column = 0; column < 6; ++column) {
            listed << list->topLevelItem(c.row)->text(column);
        }
        EXPECT_EQ(c.listed, listed);

        list->setCurrentItem(list->topLevelItem(c.row));
        sim.ClearJournal();
        Control<QPushButton>(page, 1133)->click();
        QStringList join =
            sim.Journal().filter(QRegularExpression("^TAVL_Set(OperatingMode|Channel|SSID) "));
        join.replaceInStrings(QRegularExpression(" ->.*"), QString());
        EXPECT_EQ(c.join, join);

        // Link Info, now on show, finds the card in the network joined.
        sheet->m_LinkInfoPage.OnTimer();
        EXPECT_EQ("Connected - BSSID = " + c.listed[1],
                  Control<QLineEdit>(sheet->m_LinkInfoPage, 1028)->text());
        EXPECT_EQ(c.listed[0], Control<QLineEdit>(sheet->m_LinkInfoPage, 1002)->text());
        EXPECT_EQ(c.listed[3], Control<QLineEdit>(sheet->m_LinkInfoPage, 1001)->text());
        sheet->reject();
        sheet->AfterClose();
    }
}

} // namespace
