// The real skerrin on a desktop without a notification area (the offscreen
// platform has none): the sheet opens whenever the card is detected, and a
// second start brings back a sheet the user closed; with a notification
// area a second start stays silent.
#include "UtilityProcess.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>

namespace {

const QString kSheetOpens = QStringLiteral("<M> No notification area: show the sheet");

// Waits until the trace holds `count` lines `text`.
bool WaitForOpenings(UtilityProcess& utility, int count, const QString& text = kSheetOpens) {
    QDeadlineTimer deadline(10000);
    while (utility.StandardError().count(text) < count) {
        if (deadline.hasExpired()) {
            return false;
        }
        utility.WaitForTrace(QStringLiteral("never"), 50);
    }
    return true;
}

TEST(NoTray, SheetOpensOnEveryDetectionAndASecondStartBringsItBack) {
    UtilityProcess utility;
    ASSERT_TRUE(utility.Start());
    ASSERT_TRUE(utility.WaitForTrace(QStringLiteral(" <ModifyIconAtTaskbar>:Add ICON "), 10000));
    ASSERT_TRUE(WaitForOpenings(utility, 1)) << utility.StandardError().toStdString();

    // A removal closes it; the next detection opens it again.
    ASSERT_EQ(0, utility.Tavlsim({QStringLiteral("card"), QStringLiteral("remove")}));
    ASSERT_TRUE(utility.WaitForTrace(QStringLiteral(" <ModifyIconAtTaskbar>:Remove ICON "), 10000));
    const int before = utility.StandardError().count(kSheetOpens);
    ASSERT_EQ(0, utility.Tavlsim({QStringLiteral("card"), QStringLiteral("insert")}));
    EXPECT_TRUE(WaitForOpenings(utility, before + 1));

    // Closed by the user, the sheet comes back with a second start, which
    // itself ends at once and leaves the first one running.
    ASSERT_TRUE(utility.Send("COMMAND 2001\n"));
    EXPECT_EQ(0, utility.RunSecondInstance());
    EXPECT_TRUE(WaitForOpenings(utility, 1, QStringLiteral("<M> Second start: show the sheet")));
    EXPECT_TRUE(utility.Running());
    ASSERT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
    EXPECT_EQ(0, utility.WaitForExit(5000));
}

TEST(NoTray, WithANotificationAreaASecondStartStaysSilent) {
    UtilityProcess utility;
    utility.Environment().insert(QStringLiteral("SKERRIN_TRAY_AVAILABLE"), QStringLiteral("1"));
    ASSERT_TRUE(utility.Start());
    ASSERT_TRUE(utility.WaitForTrace(QStringLiteral(" <ModifyIconAtTaskbar>:Add ICON "), 10000));
    EXPECT_EQ(0, utility.RunSecondInstance());
    ASSERT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
    EXPECT_EQ(0, utility.WaitForExit(5000));
    EXPECT_FALSE(utility.StandardError().contains(QStringLiteral("show the sheet")));
}

} // namespace
