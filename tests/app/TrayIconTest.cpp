#include "app/TrayIcon.h"
#include "device/HostState.h"
#include "device/HostUi.h"
#include "tests/device/TraceCapture.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include <memory>
#include <string>
#include <vector>

namespace {

class TrayIconTest : public testing::Test {
protected:
    void SetUp() override { ResetHostState(); }

    // The menu's entries as "id text", a separator as "0 "; each entry
    // triggered runs its command.
    QStringList Entries() {
        std::unique_ptr<QMenu> menu(tray_.BuildMenu());
        QStringList entries;
        for (QAction* action : menu->actions()) {
            const int id = action->isSeparator() ? 0 : action->data().toInt();
            entries << QString::number(id) + ' ' + action->text();
            action->trigger();
            EXPECT_EQ(id == 0 ? std::vector<int>{} : std::vector<int>{id}, commands_);
            commands_.clear();
        }
        return entries;
    }

    TraceCapture trace_;
    std::vector<int> commands_;
    int doubleClicks_ = 0;
    CTrayIcon tray_{[this](int id) { commands_.push_back(id); }, [this] { ++doubleClicks_; }};
};

// Only the double click of the icon's activations shows the sheet.
TEST_F(TrayIconTest, MenuFollowsCardAndSheetStateAndRunsItsCommands) {
    const QString exit = QString::number(ID_APP_EXIT) + " Exit";
    const struct {
        int present, sheetOpen;
        QStringList entries;
    } cases[] = {
        {1, 0, {QString::number(ID_SHOW_UTILITY) + " Show Config Utility", "0 ", exit}},
        {1, 1, {QString::number(ID_HIDE_UTILITY) + " Hide Config Utility", "0 ", exit}},
        {0, 0, {exit}},
        {0, 1, {exit}},
    };
    for (const auto& c : cases) {
        gDevicePresent = static_cast<std::uint8_t>(c.present);
        gSheetOpen = static_cast<std::uint8_t>(c.sheetOpen);
        EXPECT_EQ(c.entries, Entries());
    }
    for (auto reason :
         {QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Trigger, QSystemTrayIcon::MiddleClick}) {
        tray_.OnActivated(reason);
    }
    EXPECT_EQ(1, doubleClicks_);
}

TEST_F(TrayIconTest, AddChangeAndRemoveTheIcon) {
    int closed = 0;
    auto close = [&] { ++closed; };
    EXPECT_TRUE(tray_.ModifyIconAtTaskbar(kTrayIconNotConnected, close));
    EXPECT_TRUE(tray_.IconShown());
    EXPECT_EQ(kTrayIconNotConnected, tray_.CurrentIcon());
    EXPECT_TRUE(tray_.ModifyIconAtTaskbar(kTrayIconConnected, close));
    EXPECT_EQ(kTrayIconConnected, tray_.CurrentIcon());
    EXPECT_EQ((std::vector<std::string>{" <ModifyIconAtTaskbar>:Add ICON "}), trace_.Lines());

    // 207 twice: removed once, then nothing.
    EXPECT_TRUE(tray_.ModifyIconAtTaskbar(kTrayIconRemove, close));
    EXPECT_TRUE(tray_.ModifyIconAtTaskbar(kTrayIconRemove, close));
    EXPECT_FALSE(tray_.IconShown());
    EXPECT_EQ(1, closed);
    EXPECT_EQ((std::vector<std::string>{" <ModifyIconAtTaskbar>:Add ICON ",
                                        " <ModifyIconAtTaskbar>:Remove ICON ",
                                        "<RemoveIconFromTaskbar>"}),
              trace_.Lines());
}

TEST_F(TrayIconTest, IconPicturesShowTheLinkState) {
    // Green screen for connected, red for not connected, as the tray shows them.
    auto shown = [this](int state) {
        tray_.ModifyIconAtTaskbar(state, [] {});
        return tray_.Icon().icon().pixmap(16, 16).toImage().pixelColor(6, 5);
    };
    EXPECT_EQ(QColor(0, 255, 0), shown(kTrayIconConnected));
    EXPECT_EQ(QColor(255, 0, 0), shown(kTrayIconNotConnected));
}

TEST_F(TrayIconTest, TipIsTheApplicationTitleAndNamesTheLinkWhileConnected) {
    EXPECT_EQ("Corvane LK2093 WLAN PCI card utility", tray_.Icon().toolTip());
    tray_.SetLinkTip(QStringLiteral("office"), 66);
    EXPECT_EQ("Corvane LK2093 WLAN PCI card utility\noffice (66%)", tray_.Icon().toolTip());
    tray_.SetFixedTip();
    EXPECT_EQ("Corvane LK2093 WLAN PCI card utility", tray_.Icon().toolTip());
}

} // namespace
