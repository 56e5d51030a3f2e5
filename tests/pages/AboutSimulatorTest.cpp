// The About page on the simulated card: the driver file's version stamp
// and the card's firmware.
#include "RecordingMessageBoxes.h"
#include "SimulatedCard.h"
#include "device/HostState.h"
#include "device/VirtualClock.h"
#include "pages/ConfigUtility.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTabWidget>

namespace {

TEST(AboutOnSimulator, ShowsTheSimulatedDriverAndFirmwareVersions) {
    ResetHostState();
    SimulatedCard sim("");
    VirtualClock clock;
    RecordingMessageBoxes boxes;
    CConfigUtility sheet(QString::fromLatin1(kAppTitle), *sim.library, clock);
    sheet.Open();
    sheet.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(4);
    auto label = [&](int id) {
        return sheet.m_AboutPage.findChild<QLabel*>(QString::number(id))->text();
    };
    EXPECT_EQ("2.3.1.58", label(1106));
    EXPECT_EQ("3.0.6.262", label(1110));
    EXPECT_EQ("1.8.0.31", label(1112));
    EXPECT_EQ(1, sim.Journal("TAVL_GetWLANDriverPath").size());
    sheet.reject();
    sheet.AfterClose();
}

} // namespace
