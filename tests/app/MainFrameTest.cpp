// The main frame in this process, on the simulated card library: start-up
// failures, the menu's Show, Hide and Exit, and what arrives after exit.
#include "app/MainFrame.h"
#include "RecordingMessageBoxes.h"
#include "app/TrayIcon.h"
#include "device/HostState.h"
#include "device/HostUi.h"
#include "pages/ConfigUtility.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>

namespace {

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override {
        ResetHostState();
        ::setenv("TAVL_SIM_HOME", qPrintable(home_.path()), 1);
        ::setenv("XDG_RUNTIME_DIR", qPrintable(runtime_.path()), 1);
    }
    void TearDown() override { ResetHostState(); }

    QTemporaryDir home_, runtime_;
    RecordingMessageBoxes boxes_;
};

TEST_F(MainFrameTest, UnusableCardLibraryIsSaidInAMessageBoxAndNothingStarts) {
    CMainFrame frame;
    EXPECT_FALSE(frame.Create("/nonexistent/libtavl3.so"));
    ASSERT_EQ(1u, boxes_.shown.size());
    EXPECT_TRUE(boxes_.shown[0].text.contains(QStringLiteral("/nonexistent/libtavl3.so")));
    EXPECT_EQ(MsgIcon::Exclamation, boxes_.shown[0].icon);
}

TEST_F(MainFrameTest, MenuShowHideAndExitThenLaterRequestsDoNothing) {
    CMainFrame frame;
    frame.SetTrayAvailable([] { return true; });
    ASSERT_TRUE(frame.Create(SKERRIN_BIN_DIR "/libtavl3.so"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.Tray()->IconShown(); }, 20000));

    // Show, then Hide from the menu while the sheet is up.
    bool upWhenHidden = false;
    QTimer hide;
    QObject::connect(&hide, &QTimer::timeout, [&] {
        if (frame.Sheet()->isVisible() && gSheetOpen) {
            upWhenHidden = true;
            frame.OnCommand(ID_HIDE_UTILITY);
        }
    });
    hide.start(5);
    frame.OnCommand(ID_SHOW_UTILITY);
    hide.stop();
    EXPECT_TRUE(upWhenHidden);
    EXPECT_FALSE(frame.Sheet()->isVisible());
    EXPECT_EQ(0, gSheetOpen);

    frame.OnCommand(ID_APP_EXIT);
    EXPECT_FALSE(frame.Tray()->Icon().isVisible());
    EXPECT_EQ(1, gThreadExit);

    // The polling thread's requests and the menu after exit reach nothing.
    frame.PollingUi().ModifyIconAtTaskbar(kTrayIconConnected);
    frame.PollingUi().ShowMessage(kStringChangeFailed);
    frame.OnCommand(ID_SHOW_UTILITY);
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame.Tray()->Icon().isVisible());
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_FALSE(frame.Sheet()->isVisible());

    EXPECT_TRUE(frame.Finish());
}

} // namespace
