// The Configuration and Encryption pages on the simulated card: what their
// applies bring to the card, checked in the simulator's journal.
#include "RecordingMessageBoxes.h"
#include "SimulatedCard.h"
#include "device/HostState.h"
#include "device/PollingThread.h"
#include "device/Records.h"
#include "device/VirtualClock.h"
#include "pages/ConfigUtility.h"
#include "res/ControlIds.h"
#include "res/Strings.h"
#include "tests/fakes/FakeHostUi.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

constexpr const char* kAir = "[network]\nssid=Cafe\nbssid=00:1A:2B:3C:4D:01\nchannel=1\n"
                             "signal=-50\nmode=infrastructure\nwep=off\n"
                             "[network]\nssid=Harbour Office\nbssid=00:0C:2B:4A:10:02\n"
                             "channel=11\nsignal=-60\nmode=infrastructure\nwep=64\n"
                             "key1=3A9C17E05B\n";

int IndexOf(const QStringList& lines, const QString& text, int from = 0) {
    for (int i = from; i < lines.size(); ++i) {
        if (lines[i].contains(text)) {
            return i;
        }
    }
    return -1;
}

class PagesOnSimulator : public testing::Test {
protected:
    PagesOnSimulator() {
        ResetHostState();
        gOsClass = kOsNt51;
        sim.library->Init("Pelkor", 0);
        sheet =
            std::make_unique<CConfigUtility>(QString::fromLatin1(kAppTitle), *sim.library, clock);
        thread = std::make_unique<CPollingThread>(*sim.library, sheet->state, ui, clock);
        // Start-up: the default profile is created; the first cycle applies it.
        thread->RunStart();
        thread->RunCycle();
    }
    ~PagesOnSimulator() override {
        sheet->reject();
        sheet->AfterClose();
    }

    template <class T> T* Control(QWidget& page, int id) {
        return page.findChild<T*>(QString::number(id));
    }
    void OpenOn(int tab) {
        sheet->Open();
        sheet->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(tab);
    }

    SimulatedCard sim{kAir};
    VirtualClock clock;
    RecordingMessageBoxes boxes;
    FakeHostUi ui;
    std::unique_ptr<CConfigUtility> sheet;
    std::unique_ptr<CPollingThread> thread;
};

TEST_F(PagesOnSimulator, ConfigurationApplyReachesTheCardThenTheDriverSettings) {
    OpenOn(1);
    QWidget& page = sheet->m_ConfigPage;
    auto* ssid = Control<QLineEdit>(page, CConfigPage::IDC_SSID);
    ASSERT_NE(nullptr, ssid);
    ssid->selectAll();
    QTest::keyClicks(ssid, QStringLiteral("Cafe"));
    auto* apply = Control<QPushButton>(page, CConfigPage::IDC_APPLY_CHANGES);
    ASSERT_TRUE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_EQ(1, gChangeParametersRequest);

    sim.ClearJournal();
    thread->RunCycle(); // the change apply
    const QStringList journal = sim.Journal();
    const int set = IndexOf(journal, QStringLiteral("TAVL_SetWLANConfig mask=0x00030626"));
    ASSERT_GE(set, 0) << journal.join('\n').toStdString();
    EXPECT_TRUE(journal[set].contains(QStringLiteral("ssid=\"Cafe\"")))
        << journal[set].toStdString();
    const int driver = IndexOf(journal, QStringLiteral("TAVL_SetDriverReg"), set);
    ASSERT_GT(driver, set);
    EXPECT_TRUE(journal[driver].contains(QStringLiteral("ssid=\"Cafe\"")));
    EXPECT_GE(IndexOf(journal, QStringLiteral("bssid=00:1A:2B:3C:4D:01"), set), set);
}

TEST_F(PagesOnSimulator, EncryptionApplyOfMatchingKeysJoinsTheWepNetwork) {
    sheet->state.reg.Update([](WirelessReg& reg) { SetFieldText(reg.ssid, "Harbour Office"); });
    OpenOn(3);
    QWidget& page = sheet->m_EncryptionPage;
    auto* level = Control<QComboBox>(page, CEncryptionPage::kLevelList);
    ASSERT_NE(nullptr, level);
    level->setFocus();
    QTest::keyClick(level, Qt::Key_Down); // "64 Bits"
    ASSERT_EQ(1, level->currentIndex());
    auto* apply = Control<QPushButton>(page, CEncryptionPage::kApplyButton);
    ASSERT_TRUE(apply->isEnabled());

    sim.ClearJournal();
    QTest::mouseClick(apply, Qt::LeftButton);
    const QStringList journal = sim.Journal();
    const int set = IndexOf(journal, QStringLiteral("TAVL_SetWLANConfig mask=0x0003F000"));
    ASSERT_GE(set, 0) << journal.join('\n').toStdString();
    EXPECT_TRUE(journal[set].contains(QStringLiteral("3A9C17E05B"))) << journal[set].toStdString();
    const QStringList ssids = sim.Journal(QStringLiteral("TAVL_SetSSID"));
    ASSERT_EQ(2, ssids.size());
    EXPECT_TRUE(ssids[0].contains(QStringLiteral("abcdefghijklmnopqrstuvwxyz")));
    // The journal writes blanks as \x20.
    EXPECT_TRUE(ssids[1].contains(QStringLiteral("length=14 ssid=\"Harbour\\x20Office\"")))
        << ssids[1].toStdString();
    EXPECT_GE(IndexOf(journal, QStringLiteral("bssid=00:0C:2B:4A:10:02"), set), set)
        << journal.join('\n').toStdString();
    EXPECT_TRUE(boxes.shown.empty());
}

// The About page shows the simulated driver file's stamp and the card's
// firmware.
TEST_F(PagesOnSimulator, AboutShowsTheSimulatedDriverAndFirmwareVersions) {
    OpenOn(4);
    auto label = [&](int id) { return Control<QLabel>(sheet->m_AboutPage, id)->text(); };
    EXPECT_EQ("2.3.1.58", label(AboutControls::kDriverVersionLabel));
    EXPECT_EQ("3.0.6.262", label(AboutControls::kUtilityVersionLabel));
    EXPECT_EQ("1.8.0.31", label(AboutControls::kFirmwareVersionLabel));
}

} // namespace
