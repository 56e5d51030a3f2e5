// The real skerrin binary: single instance, exit paths, stale lock.
#include "UtilityProcess.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(Startup, ElegantCloseAndTerminationSignalsEndItCleanly) {
    for (int how : {0, SIGTERM, SIGINT}) {
        UtilityProcess utility;
        ASSERT_TRUE(utility.Start());
        if (how == 0) {
            ASSERT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
        } else {
            ::kill(static_cast<pid_t>(utility.Pid()), how);
        }
        EXPECT_EQ(0, utility.WaitForExit(2000)) << "signal " << how;
    }
}

// The running utility reads its domain settings, ignores unknown and
// overlong channel lines, and a second start ends at once, silently.
TEST(Startup, SecondStartAndUnknownChannelLinesLeaveTheFirstRunning) {
    UtilityProcess utility;
    ASSERT_TRUE(utility.Start());
    EXPECT_TRUE(utility.WaitForTrace(QStringLiteral("##### INI domain= "), 5000));
    EXPECT_TRUE(utility.Send("HELLO\n"));
    EXPECT_TRUE(utility.Send(std::string(5000, 'E') + "\n"));
    EXPECT_TRUE(utility.Send("ELEGANT_CLOSEX\n"));
    EXPECT_EQ(0, utility.RunSecondInstance());
    EXPECT_TRUE(utility.Running());
    EXPECT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
    EXPECT_EQ(0, utility.WaitForExit(2000));
}

TEST(Startup, StaleLockOfAKilledProcessDoesNotBlockTheNextStart) {
    UtilityProcess utility;
    ASSERT_TRUE(utility.Start());
    ::kill(static_cast<pid_t>(utility.Pid()), SIGKILL);
    utility.WaitForExit(5000);

    ASSERT_TRUE(utility.Start());
    EXPECT_TRUE(utility.Running());
    EXPECT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
    EXPECT_EQ(0, utility.WaitForExit(2000));
}

} // namespace
