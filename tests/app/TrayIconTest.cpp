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

struct MenuEntry {
    int id;
    QString text;
};

std::vector<MenuEntry> Entries(CTrayIcon& tray) {
    std::unique_ptr<QMenu> menu(tray.BuildMenu());
    std::vector<MenuEntry> entries;
    for (QAction* action : menu->actions()) {
        entries.push_back({action->isSeparator() ? 0 : action->data().toInt(), action->text()});
    }
    return entries;
}

class TrayIconTest : public testing::Test {
protected:
    void SetUp() override { ResetHostState(); }

    TraceCapture trace_;
    std::vector<int> commands_;
    int doubleClicks_ = 0;
    CTrayIcon tray_{[this](int id) { commands_.push_back(id); }, [this] { ++doubleClicks_; }};
};

TEST_F(TrayIconTest, MenuFollowsCardAndSheetState) {
    struct Case {
        int present, sheetOpen;
        std::vector<int> ids;
        std::vector<QString> texts;
    };
    const Case cases[] = {
        {1, 0, {ID_SHOW_UTILITY, 0, ID_APP_EXIT}, {"Show Config Utility", "", "Exit"}},
        {1, 1, {ID_HIDE_UTILITY, 0, ID_APP_EXIT}, {"Hide Config Utility", "", "Exit"}},
        {0, 0, {ID_APP_EXIT}, {"Exit"}},
        {0, 1, {ID_APP_EXIT}, {"Exit"}},
    };
    for (const Case& c : cases) {
        gDevicePresent = static_cast<std::uint8_t>(c.present);
        gSheetOpen = static_cast<std::uint8_t>(c.sheetOpen);
        const auto entries = Entries(tray_);
        ASSERT_EQ(c.ids.size(), entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(c.ids[i], entries[i].id);
            EXPECT_EQ(c.texts[i], entries[i].text);
        }
    }
}

TEST_F(TrayIconTest, MenuActionsRunTheirCommands) {
    gDevicePresent = 1;
    std::unique_ptr<QMenu> menu(tray_.BuildMenu());
    for (QAction* action : menu->actions()) {
        action->trigger();
    }
    EXPECT_EQ((std::vector<int>{ID_SHOW_UTILITY, ID_APP_EXIT}), commands_);
}

TEST_F(TrayIconTest, DoubleClickIsForwardedOtherClicksAreNot) {
    tray_.OnActivated(QSystemTrayIcon::DoubleClick);
    tray_.OnActivated(QSystemTrayIcon::Trigger);
    tray_.OnActivated(QSystemTrayIcon::MiddleClick);
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

TEST_F(TrayIconTest, IconPicturesExistInEverySize) {
    for (int id : {186, 187, 128}) {
        const QIcon icon = CTrayIcon::IconImage(id);
        ASSERT_FALSE(icon.isNull()) << id;
        EXPECT_EQ(QSize(16, 16), icon.pixmap(16, 16).size());
        EXPECT_EQ(QSize(48, 48), icon.pixmap(48, 48).size());
    }
    // Green screen for connected, red for not connected.
    const QImage connected = CTrayIcon::IconImage(186).pixmap(16, 16).toImage();
    const QImage disconnected = CTrayIcon::IconImage(187).pixmap(16, 16).toImage();
    EXPECT_EQ(QColor(0, 255, 0), connected.pixelColor(6, 5));
    EXPECT_EQ(QColor(255, 0, 0), disconnected.pixelColor(6, 5));
}

TEST_F(TrayIconTest, TipIsTheApplicationTitleAndNamesTheLinkWhileConnected) {
    EXPECT_EQ("Corvane LK2093 WLAN PCI card utility", tray_.Icon().toolTip());
    tray_.SetLinkTip(QStringLiteral("office"), 66);
    EXPECT_EQ("Corvane LK2093 WLAN PCI card utility\noffice (66%)", tray_.Icon().toolTip());
    tray_.SetFixedTip();
    EXPECT_EQ("Corvane LK2093 WLAN PCI card utility", tray_.Icon().toolTip());
}

} // namespace
