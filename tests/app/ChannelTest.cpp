// The real skerrin's message channel and single-instance lock under
// hostile or broken conditions: partial and crowding connections, a
// socket path that cannot be used, a lock that cannot be taken, and a
// start without a session's runtime folder.
#include "UtilityProcess.h"

#include "support/MessageChannel.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

TEST(Channel, PartialLinesTimeOutAndCrowdingConnectionsLeaveItOpen) {
    // With descriptors to spare, and with as few as a tight limit leaves.
    for (const int limit : {0, 24}) {
        SCOPED_TRACE(limit);
        UtilityProcess utility;
        utility.SetDescriptorLimit(limit);
        ASSERT_TRUE(utility.Start());
        // A line that never ends: the utility hangs up on its own.
        const int partial = utility.ConnectChannel();
        ASSERT_EQ(5, send(partial, "ELEGA", 5, MSG_NOSIGNAL));
        pollfd wait{partial, POLLIN, 0};
        ASSERT_EQ(1, poll(&wait, 1, 10000 * SKERRIN_TIME_FACTOR));
        char byte = 0;
        EXPECT_EQ(0, recv(partial, &byte, 1, 0)) << "the connection is closed, nothing answered";
        close(partial);

        // Far more idle connections than it keeps: lines still get through.
        std::vector<int> idle;
        for (int i = 0; i < 200; ++i) {
            idle.push_back(utility.ConnectChannel());
        }
        EXPECT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
        EXPECT_EQ(0, utility.WaitForExit(5000));
        for (int fd : idle) {
            close(fd);
        }
    }
}

// Listening fails where the runtime folder's path is too long for a socket
// or a folder sits at the socket's path: the utility says so and listens
// in a shorter private folder, where senders find it.
TEST(Channel, UnusableSocketPathFallsBackToAShortPrivateFolder) {
    for (const bool longPath : {true, false}) {
        UtilityProcess utility;
        QTemporaryDir tmp;
        QString runtime = utility.RuntimeDir();
        if (longPath) {
            runtime += QLatin1Char('/') + QString(100, QLatin1Char('r'));
        } else {
            ASSERT_TRUE(QDir(runtime).mkpath(QString::fromLatin1(kChannelFileName)));
        }
        ASSERT_TRUE(QDir().mkpath(runtime));
        utility.Environment().insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        utility.Environment().insert(QStringLiteral("TMPDIR"), tmp.path());
        ASSERT_TRUE(utility.Start()) << "long path " << longPath;
        int from = 0;
        EXPECT_TRUE(utility.WaitForTraceAfter(
            QStringLiteral("the message channel listens at ") + tmp.path(), from, 5000));
        EXPECT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
        EXPECT_EQ(0, utility.WaitForExit(5000));
    }
}

TEST(Channel, NoStartWithoutTheLock) {
    UtilityProcess utility;
    ASSERT_TRUE(QDir(utility.RuntimeDir())
                    .mkpath(QStringLiteral("Corvane LK2093 - 11G Wireless PCI card.lock")));
    ASSERT_TRUE(utility.Start(false));
    EXPECT_EQ(1, utility.WaitForExit(5000));
    EXPECT_TRUE(utility.StandardError().contains(QStringLiteral("skerrin: not started")));
}

// Without a display and without a session's runtime folder, as a plain
// start on a bare machine: nothing on standard error but the utility's own.
TEST(Channel, BareStartWritesNothingToStandardError) {
    UtilityProcess utility;
    QTemporaryDir tmp;
    utility.Environment().remove(QStringLiteral("XDG_RUNTIME_DIR"));
    utility.Environment().remove(QStringLiteral("SKERRIN_TRACE_STDERR"));
    utility.Environment().insert(QStringLiteral("TMPDIR"), tmp.path());
    ASSERT_TRUE(utility.Start());
    // Without a notification area the sheet opens on Link Info by itself.
    int from = 0;
    EXPECT_TRUE(
        utility.WaitForJournalAfter(QStringLiteral("TAVL_QueryOID oid=0x00020101"), from, 10000));
    EXPECT_TRUE(utility.Send("ELEGANT_CLOSE\n"));
    EXPECT_EQ(0, utility.WaitForExit(5000));
    EXPECT_EQ("", utility.StandardError().toStdString());
}

} // namespace
