// The real skerrin binary: single instance, exit paths, stale lock.
#include "UtilityProcess.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

// ELEGANT_CLOSE, SIGTERM and SIGINT end it cleanly; after SIGKILL the
// stale lock does not block the next start.
TEST(Startup, ExitPathsEndItCleanlyAndAStaleLockDoesNotBlock) {
    UtilityProcess utility;
    for (int how : {SIGKILL, 0, SIGTERM, SIGINT}) {
        ASSERT_TRUE(utility.Start()) << "after signal " << how;
        if (how == 0) {
            ASSERT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
        } else {
            ::kill(static_cast<pid_t>(utility.Pid()), how);
        }
        EXPECT_EQ(how == SIGKILL ? -1 : 0, utility.WaitForExit(2000)) << "signal " << how;
    }
}

// The running utility reads its domain settings, ignores unknown and
// overlong channel lines, and with a notification area a second start ends
// at once, silently.
TEST(Startup, SecondStartAndUnknownChannelLinesLeaveTheFirstRunning) {
    UtilityProcess utility;
    utility.Environment().insert(QStringLiteral("SKERRIN_TRAY_AVAILABLE"), QStringLiteral("1"));
    ASSERT_TRUE(utility.Start());
    EXPECT_TRUE(utility.WaitForTrace(QStringLiteral("##### INI domain= "), 5000));
    EXPECT_TRUE(utility.Send("HELLO\n"));
    EXPECT_TRUE(utility.Send(std::string(5000, 'E') + "\n"));
    EXPECT_TRUE(utility.Send("ELEGANT_CLOSEX\n"));
    EXPECT_EQ(0, utility.RunSecondInstance());
    EXPECT_TRUE(utility.Running());
    EXPECT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
    EXPECT_EQ(0, utility.WaitForExit(2000));
    EXPECT_FALSE(utility.StandardError().contains(QStringLiteral("show the sheet")));
}

} // namespace
