// The real skerrin on the simulated card, checked through the card's
// journal and the trace.
#include "UtilityProcess.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>

namespace {

// The full apply of the default record: ssid, mode, configuration, WEP
// off, power, thresholds, preamble.
const QString kFullApplyOfDefault = QStringLiteral("TAVL_SetWLANConfig mask=0x020304E6");

QStringList JournalLines(const UtilityProcess& utility) {
    return utility.Journal().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

int IndexOf(const QStringList& lines, const QString& text, int from = 0) {
    for (int i = from; i < lines.size(); ++i) {
        if (lines[i].contains(text)) {
            return i;
        }
    }
    return -1;
}

// Ends the utility and checks that no card call followed TAVL_Terminate.
void ExitAndCheckTerminateIsLast(UtilityProcess& utility) {
    ASSERT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
    EXPECT_EQ(0, utility.WaitForExit(3000));
    const QStringList lines = JournalLines(utility);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().contains(QStringLiteral("TAVL_Terminate")))
        << lines.last().toStdString();
    EXPECT_EQ(1, lines.filter(QStringLiteral("TAVL_Terminate")).size());
}

TEST(LivingUtility, FirstStartOnAnEmptyStoreCreatesDefaultAndAppliesIt) {
    UtilityProcess utility;
    ASSERT_TRUE(utility.Start());
    ASSERT_TRUE(utility.WaitForJournal(kFullApplyOfDefault, 10000))
        << utility.Journal().toStdString();
    const QStringList lines = JournalLines(utility);
    const int init = IndexOf(lines, QStringLiteral("TAVL_Init identity=\"Pelkor\" reserved=0"));
    const int root =
        IndexOf(lines, QStringLiteral("TAVL_SetProfileRoot root=\"Corvane\\\\Profile\""));
    const int none =
        IndexOf(lines, QStringLiteral("TAVL_GetActiveProfileByType type=1 -> ret=-27"));
    const int active =
        IndexOf(lines, QStringLiteral("TAVL_SetActiveProfileByType name=\"default\""));
    const int stored = IndexOf(lines, QStringLiteral("TAVL_SetProfileWireless name=\"default\""));
    const int domain = IndexOf(lines, QStringLiteral("TAVL_SetWLDomain domain=0"));
    const int apply = IndexOf(lines, kFullApplyOfDefault);
    EXPECT_GE(init, 0);
    EXPECT_LT(init, root);
    EXPECT_LT(root, none);
    EXPECT_LT(none, active);
    EXPECT_LT(active, stored);
    EXPECT_LT(stored, domain);
    EXPECT_LT(domain, apply);
    EXPECT_TRUE(lines[stored].contains(QStringLiteral("ssid=\"any\"")));
    EXPECT_TRUE(lines[stored].contains(QStringLiteral("channel=6")));
    EXPECT_TRUE(lines[apply].contains(QStringLiteral("fragThreshold=2346")));
    EXPECT_TRUE(lines[apply].contains(QStringLiteral("rtsThreshold=2347")));
    EXPECT_TRUE(utility.WaitForTrace(QStringLiteral(" <ModifyIconAtTaskbar>:Add ICON "), 5000));
    ExitAndCheckTerminateIsLast(utility);
}

TEST(LivingUtility, CardRemovalAndInsertionTakeTheIconAndApplyAgain) {
    UtilityProcess utility;
    ASSERT_TRUE(utility.Start());
    ASSERT_TRUE(utility.WaitForJournal(kFullApplyOfDefault, 10000));
    ASSERT_TRUE(utility.WaitForTrace(QStringLiteral(" <ModifyIconAtTaskbar>:Add ICON "), 5000));

    ASSERT_EQ(0, utility.Tavlsim({QStringLiteral("card"), QStringLiteral("remove")}));
    EXPECT_TRUE(utility.WaitForTrace(QStringLiteral(" <ModifyIconAtTaskbar>:Remove ICON "), 5000));
    const int appliesBefore = JournalLines(utility).filter(kFullApplyOfDefault).size();

    ASSERT_EQ(0, utility.Tavlsim({QStringLiteral("card"), QStringLiteral("insert")}));
    const int removeAt = utility.StandardError().indexOf(QStringLiteral("Remove ICON"));
    EXPECT_TRUE(utility.WaitForTrace(QStringLiteral("<M> DBT_DEVICEARRIVAL "), 5000));
    // The icon comes back, and a full apply follows the arrival timer.
    QDeadlineTimer deadline(10000);
    while (JournalLines(utility).filter(kFullApplyOfDefault).size() <= appliesBefore &&
           !deadline.hasExpired()) {
        utility.WaitForTrace(QStringLiteral("never"), 100);
    }
    EXPECT_GT(JournalLines(utility).filter(kFullApplyOfDefault).size(), appliesBefore);
    EXPECT_GT(utility.StandardError().indexOf(QStringLiteral("Add ICON"), removeAt), removeAt);
    ExitAndCheckTerminateIsLast(utility);
}

TEST(LivingUtility, ExitWhileWaitingForTheCardCallsNothingAfterTerminate) {
    UtilityProcess utility;
    ASSERT_EQ(0, utility.Tavlsim({QStringLiteral("card"), QStringLiteral("remove")}));
    ASSERT_TRUE(utility.Start());
    ASSERT_TRUE(utility.WaitForJournal(QStringLiteral("TAVL_Detect"), 5000));
    EXPECT_FALSE(utility.StandardError().contains(QStringLiteral("Add ICON")));
    ExitAndCheckTerminateIsLast(utility);
    EXPECT_EQ(-1, IndexOf(JournalLines(utility), QStringLiteral("TAVL_SetProfileRoot")));
}

} // namespace
