#include "app/WindowCloseExit.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>

namespace {

// Only closing the window ends the utility, and only while there is no
// notification area; the sheet's own ways out do not.
TEST(WindowCloseExit, OnlyClosingTheWindowWithoutATrayEndsTheUtility) {
    struct Case {
        const char* name;
        bool noTray;
        int how; // 0 window close, 1 reject (Cancel, Escape), 2 done (CloseSheet)
        int exits;
    };
    const Case cases[] = {
        {"window close without tray", true, 0, 1},
        {"window close with tray", false, 0, 0},
        {"Cancel without tray", true, 1, 0},
        {"CloseSheet without tray", true, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDialog sheet;
        int exits = 0;
        CWindowCloseExit watch(
            &sheet, [&c] { return c.noTray; }, [&exits] { ++exits; });
        sheet.show();
        switch (c.how) {
        case 0:
            sheet.close();
            break;
        case 1:
            sheet.reject();
            break;
        default:
            sheet.done(2);
            break;
        }
        EXPECT_EQ(0, exits) << "not before the sheet's loop returns";
        QCoreApplication::processEvents();
        EXPECT_EQ(c.exits, exits);
        EXPECT_FALSE(sheet.isVisible());
    }
}

} // namespace
