#include "app/WindowCloseExit.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>

namespace {

// Only closing the window ends the utility, and only without a notification
// area; Cancel, Escape (reject) and CloseSheet (done) only close the sheet.
TEST(WindowCloseExit, OnlyClosingTheWindowWithoutATrayEndsTheUtility) {
    enum How { Close, Reject, Done };
    const struct {
        bool noTray;
        How how;
        int exits;
    } cases[] = {{true, Close, 1}, {false, Close, 0}, {true, Reject, 0}, {true, Done, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "no tray " << c.noTray << ", how " << c.how);
        QDialog sheet;
        int exits = 0;
        CWindowCloseExit watch(
            &sheet, [&c] { return c.noTray; }, [&exits] { ++exits; });
        sheet.show();
        c.how == Close ? (void)sheet.close() : c.how == Reject ? sheet.reject() : sheet.done(2);
        EXPECT_EQ(0, exits) << "not before the sheet's loop returns";
        QCoreApplication::processEvents();
        EXPECT_EQ(c.exits, exits);
    }
}

} // namespace
