// The real skerrin on a desktop without a notification area (the offscreen
// platform has none): the sheet opens whenever the card is detected, and a
// second start still ends silently.
#include "UtilityProcess.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>

namespace {

const QString kSheetOpens = QStringLiteral("<M> No notification area: show the sheet");

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

TEST(NoTray, SheetOpensOnEveryDetectionAndSecondStartStaysSilent) {
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

    // A second start stays silent and leaves the first one as it is.
    EXPECT_EQ(0, utility.RunSecondInstance());
    EXPECT_TRUE(utility.Running());
    ASSERT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
    EXPECT_EQ(0, utility.WaitForExit(5000));
}

} // namespace
