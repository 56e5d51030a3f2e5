// The real skerrin's message channel where its socket path cannot be used,
// and a start without a session's runtime folder. Partial and crowding
// connections and a lock that cannot be taken are scenarios.
#include "UtilityProcess.h"

#include "support/MessageChannel.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

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
