// A long run of the real utility on the simulated card: the card flaps,
// networks appear and disappear, and the sheet stays open on Link Info.
// Resident memory is sampled every few seconds and its slope reported; the
// thread and descriptor counts must be the same at the end of the steady
// phase as at its start. SKERRIN_SOAK_SECONDS sets the length (60 s by
// default). Off the default run (ctest label "extended").
#include "UtilityProcess.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWaitMs = 15000;
constexpr int kSampleMs = 3000;

// Resident memory from the second field of statm (pages).
long VmRssKiB(qint64 pid) {
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    const long pageKiB = sysconf(_SC_PAGESIZE) / 1024;
    return statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(1).toLong() * pageKiB
                                           : -1;
}

// Threads ("task") or descriptors ("fd") of the process.
int Entries(qint64 pid, const char* folder) {
    const QDir dir(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(folder)));
    return static_cast<int>(dir.entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

// Least-squares slope of (seconds, KiB) samples, in KiB per minute.
double SlopeKiBPerMinute(const std::vector<std::pair<double, long>>& samples) {
    const double n = static_cast<double>(samples.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const auto& [x, y] : samples) {
        sx += x;
        sy += static_cast<double>(y);
        sxx += x * x;
        sxy += x * static_cast<double>(y);
    }
    const double d = n * sxx - sx * sx;
    return d == 0 ? 0 : (n * sxy - sx * sy) / d * 60.0;
}

class Soak : public testing::Test {
protected:
    // Takes the card out and puts it back, then opens the sheet again (a
    // removal closes it) on its first page, Link Info.
    void FlapCard() {
        ASSERT_EQ(0, utility_.Run("tavlsim", {QStringLiteral("card"), QStringLiteral("remove")}));
        ASSERT_TRUE(WaitTraceAfter(QStringLiteral("<ModifyIconAtTaskbar>:Remove ICON")));
        ASSERT_EQ(0, utility_.Run("tavlsim", {QStringLiteral("card"), QStringLiteral("insert")}));
        ASSERT_TRUE(WaitTraceAfter(QStringLiteral("<ModifyIconAtTaskbar>:Add ICON")));
        ASSERT_TRUE(utility_.Send("COMMAND 2002\n"));
    }

    void ToggleNetwork(bool add) {
        ASSERT_EQ(0, utility_.Run("tavlsim",
                                  add ? QStringList{"net", "add", "ssid=Soak Cell", "channel=4"}
                                      : QStringList{"net", "remove", "Soak Cell"}));
    }

    bool WaitTraceAfter(const QString& text) {
        return utility_.WaitForTraceAfter(text, traceFrom_, kWaitMs);
    }

    UtilityProcess utility_;
    int traceFrom_ = 0;
};

TEST_F(Soak, MemoryThreadsAndDescriptorsStayFlat) {
    const int seconds = qEnvironmentVariableIsSet("SKERRIN_SOAK_SECONDS")
                            ? qEnvironmentVariableIntValue("SKERRIN_SOAK_SECONDS")
                            : 60;
    ASSERT_TRUE(utility_.Start());
    int journalFrom = 0;
    ASSERT_TRUE(utility_.WaitForJournalAfter(QStringLiteral("TAVL_SetWLANConfig mask=0x020304E6"),
                                             journalFrom, kWaitMs));
    ASSERT_TRUE(WaitTraceAfter(QStringLiteral("<ModifyIconAtTaskbar>:Add ICON")));
    const qint64 pid = utility_.Pid();

    // Cycles of network in, network out, card out and in, a quiet period.
    // The first cycle warms up (caches, fonts, the sheet); the run ends
    // after a whole cycle, in the state in which it was measured first:
    // the card in, the sheet open, the extra network gone.
    std::vector<std::pair<double, long>> samples;
    QElapsedTimer elapsed;
    int threadsAtStart = 0;
    int descriptorsAtStart = 0;
    int cycle = 0;
    while (cycle < 4 || cycle % 4 != 0 || elapsed.elapsed() < seconds * 1000LL) {
        if (cycle == 4) {
            threadsAtStart = Entries(pid, "task");
            descriptorsAtStart = Entries(pid, "fd");
            elapsed.start();
        }
        if (cycle >= 4) {
            samples.emplace_back(elapsed.elapsed() / 1000.0, VmRssKiB(pid));
        }
        const int step = cycle++ % 4;
        if (step < 2) {
            ASSERT_NO_FATAL_FAILURE(ToggleNetwork(step == 0));
        } else if (step == 2) {
            ASSERT_NO_FATAL_FAILURE(FlapCard());
        }
        utility_.RunFor(kSampleMs);
        ASSERT_TRUE(utility_.Running());
    }
    samples.emplace_back(elapsed.elapsed() / 1000.0, VmRssKiB(pid));
    const int threadsAtEnd = Entries(pid, "task");
    const int descriptorsAtEnd = Entries(pid, "fd");

    const double slope = SlopeKiBPerMinute(samples);
    std::printf("soak seconds=%d samples=%zu rss_first_kib=%ld rss_last_kib=%ld "
                "rss_slope_kib_per_min=%.1f threads=%d->%d fds=%d->%d card_flaps=%d\n",
                seconds, samples.size(), samples.front().second, samples.back().second, slope,
                threadsAtStart, threadsAtEnd, descriptorsAtStart, descriptorsAtEnd, cycle / 4);
    EXPECT_EQ(threadsAtStart, threadsAtEnd);
    EXPECT_EQ(descriptorsAtStart, descriptorsAtEnd);
    // A leak of one small allocation per refresh already shows above this.
    EXPECT_LT(slope, 256.0);

    ASSERT_TRUE(utility_.Send("ELEGANT_CLOSE\n"));
    EXPECT_EQ(0, utility_.WaitForExit(kWaitMs));
}

} // namespace
