// The real skerrin on a desktop without a notification area (the offscreen
// platform has none): the sheet opens whenever the card is detected, stays
// reachable through "COMMAND 2002", and closing it keeps the utility alive.
#include "UtilityProcess.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>

namespace {

// Every opening of the sheet first adjusts the page set.
const QString kSheetOpens = QStringLiteral("::AdjustPagesByXPWZC::");

// Waits until the trace holds `count` sheet openings.
bool WaitForOpenings(UtilityProcess& utility, int count) {
    QDeadlineTimer deadline(10000);
    while (utility.StandardError().count(kSheetOpens) < count) {
        if (deadline.hasExpired()) {
            return false;
        }
        utility.WaitForTrace(QStringLiteral("never"), 50);
    }
    return true;
}

TEST(NoTray, SheetOpensOnEveryDetectionAndAgainOnCommand) {
    UtilityProcess utility;
    ASSERT_TRUE(utility.Start());
    ASSERT_TRUE(utility.WaitForTrace(QStringLiteral(" <ModifyIconAtTaskbar>:Add ICON "), 10000));
    ASSERT_TRUE(WaitForOpenings(utility, 1)) << utility.StandardError().toStdString();

    // Closing the sheet keeps the utility running; the channel reopens it.
    ASSERT_TRUE(utility.Send("COMMAND 2001\n"));
    ASSERT_TRUE(utility.Send("COMMAND 2002\n"));
    EXPECT_TRUE(WaitForOpenings(utility, 2));
    EXPECT_TRUE(utility.Running());

    // A removal closes it; the next detection opens it again.
    ASSERT_EQ(0, utility.Tavlsim({QStringLiteral("card"), QStringLiteral("remove")}));
    ASSERT_TRUE(utility.WaitForTrace(QStringLiteral(" <ModifyIconAtTaskbar>:Remove ICON "), 10000));
    const int before = utility.StandardError().count(kSheetOpens);
    ASSERT_EQ(0, utility.Tavlsim({QStringLiteral("card"), QStringLiteral("insert")}));
    EXPECT_TRUE(WaitForOpenings(utility, before + 1));

    // A second start stays silent and leaves the first one as it is.
    EXPECT_EQ(0, utility.RunSecondInstance());
    EXPECT_TRUE(utility.Running());
    ASSERT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
    EXPECT_EQ(0, utility.WaitForExit(5000));
}

} // namespace
