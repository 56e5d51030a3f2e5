// The Encryption page on the simulated card: its apply joins a WEP network
// whose key matches, checked whole in the simulator's journal.
#include "RecordingMessageBoxes.h"
#include "SimulatedCard.h"
#include "device/HostState.h"
#include "device/PollingThread.h"
#include "device/Records.h"
#include "device/VirtualClock.h"
#include "pages/ConfigUtility.h"
#include "res/Strings.h"
#include "tests/fakes/FakeHostUi.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

TEST(PagesOnSimulator, EncryptionApplyOfMatchingKeysJoinsTheWepNetwork) {
    SimulatedCard sim("[network]\nssid=Harbour Office\nbssid=00:0C:2B:4A:10:02\nchannel=11\n"
                      "signal=-60\nmode=infrastructure\nwep=64\nkey1=3A9C17E05B\n");
    ResetHostState();
    gOsClass = kOsNt51;
    sim.library->Init("Pelkor", 0);
    VirtualClock clock;
    RecordingMessageBoxes boxes;
    FakeHostUi ui;
    CConfigUtility sheet(QString::fromLatin1(kAppTitle), *sim.library, clock);
    CPollingThread thread(*sim.library, sheet.state, ui, clock);
    // Start-up: the default profile is created; the first cycle applies it.
    thread.RunStart();
    thread.RunCycle();
    sheet.state.reg.Update([](WirelessReg& reg) { SetFieldText(reg.ssid, "Harbour Office"); });
    sheet.Open();
    sheet.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(3);

    QWidget& page = sheet.m_EncryptionPage;
    auto* level = page.findChild<QComboBox*>(QString::number(CEncryptionPage::kLevelList));
    level->setFocus();
    QTest::keyClick(level, Qt::Key_Down); // "64 Bits"
    sim.ClearJournal();
    QTest::mouseClick(page.findChild<QPushButton*>(QString::number(CEncryptionPage::kApplyButton)),
                      Qt::LeftButton);
    // The journal writes blanks as \x20.
    const QString key = QStringLiteral("{length=20,index=%1,tx=%2,keyLength=5,key=3A9C17E05B}");
    EXPECT_EQ((QStringList{
                  "TAVL_SetWLANConfig mask=0x0003F000 key1=" + key.arg(0).arg(1) +
                      " key2=" + key.arg(1).arg(0) + " key3=" + key.arg(2).arg(0) +
                      " key4=" + key.arg(3).arg(0) +
                      " wepStatus=0 authMode=2 -> mask=0x00000000 connected=1 "
                      "bssid=00:0C:2B:4A:10:02 ret=0",
                  "TAVL_SetSSID length=26 ssid=\"abcdefghijklmnopqrstuvwxyz\" -> connected=0 "
                  "bssid=00:00:00:00:00:00 ret=0",
                  "TAVL_SetSSID length=14 ssid=\"Harbour\\x20Office\" -> connected=1 "
                  "bssid=00:0C:2B:4A:10:02 ret=0",
              }),
              sim.Journal().mid(1));
    EXPECT_TRUE(boxes.shown.empty());
    sheet.reject();
    sheet.AfterClose();
}

} // namespace
