// Runs every scenario folder below tests/scenarios/ against the real
// skerrin and the simulated libtavl3.so, one test case per folder, found
// when the tests are listed. The steps and expected files are read as
// README.md there describes.
#include "UtilityProcess.h"

#include "support/MessageChannel.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <memory>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kWaitMs = 15000;

// The lines of the file at `path` that are neither blank nor comments
// ('#'), trimmed, with their line numbers.
std::vector<std::pair<int, std::string>> ContentLines(const QString& path) {
    QFile file(path);
    std::vector<std::pair<int, std::string>> lines;
    int number = 0;
    for (const QByteArray& raw :
         file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QByteArrayList()) {
        ++number;
        if (const QByteArray line = raw.trimmed(); !line.isEmpty() && line[0] != '#') {
            lines.emplace_back(number, line.toStdString());
        }
    }
    return lines;
}

QString ScenarioRoot() {
    return QStringLiteral(SKERRIN_SOURCE_DIR "/tests/scenarios");
}

std::vector<std::string> ScenarioNames() {
    std::vector<std::string> names;
    const QDir root(ScenarioRoot());
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (QFile::exists(root.filePath(name + QStringLiteral("/steps")))) {
            names.push_back(name.toStdString());
        }
    }
    return names;
}

class Scenario : public testing::TestWithParam<std::string> {
protected:
    // The card's files (its world, a profile store) as the folder's home/
    // holds them.
    void SetUp() override {
        folder_ = ScenarioRoot() + QLatin1Char('/') + QString::fromStdString(GetParam());
        const std::filesystem::path home = (folder_ + QStringLiteral("/home")).toStdString();
        if (std::filesystem::exists(home)) {
            std::filesystem::copy(home, utility_.SimHome().toStdString(),
                                  std::filesystem::copy_options::recursive);
        }
    }

    void TearDown() override {
        for (int fd : idle_) {
            close(fd);
        }
        if (HasFailure()) {
            std::cerr << "---- journal ----\n"
                      << utility_.JournalLines().join(QLatin1Char('\n')).toStdString()
                      << "---- trace (tail) ----\n"
                      << utility_.StandardError().right(6000).toStdString() << "\n";
        }
    }

    bool WaitJournalAfter(const QString& text) {
        return utility_.WaitForJournalAfter(text, journalFrom_, kWaitMs);
    }

    // Runs one line of the steps: its verb, then the rest of the line
    // trimmed (`tail`) and split into words (`words`).
    void Run(int number, const std::string& line) {
        SCOPED_TRACE("steps line " + std::to_string(number) + ": " + line);
        const std::string verb = line.substr(0, line.find_first_of(" \t"));
        const std::string tail =
            QByteArray::fromStdString(line.substr(verb.size())).trimmed().toStdString();
        // Words split at blanks; blanks between double quotes stay in the word.
        const QStringList words = QProcess::splitCommand(QString::fromStdString(tail));
        const QString rest = QString::fromStdString(tail).replace(
            QStringLiteral("$TMPDIR"), utility_.Environment().value(QStringLiteral("TMPDIR")));
        if (verb == "env") {
            const auto equals = tail.find('=');
            const QString name = QString::fromStdString(tail.substr(0, equals));
            equals == std::string::npos
                ? utility_.Environment().remove(name)
                : utility_.Environment().insert(name,
                                                QString::fromStdString(tail.substr(equals + 1)));
        } else if (verb == "runtime-folder") {
            ASSERT_NO_FATAL_FAILURE(MakeRuntimeFolder(tail));
        } else if (verb == "fifo") {
            const QByteArray path = (utility_.SimHome() + QLatin1Char('/') + rest).toLocal8Bit();
            ASSERT_EQ(0, mkfifo(path.constData(), 0600)) << path.constData();
        } else if (verb == "descriptor-limit") {
            utility_.SetDescriptorLimit(std::stoi(tail));
        } else if (verb == "lock-taken") {
            ASSERT_TRUE(QDir(utility_.RuntimeDir())
                            .mkpath(QStringLiteral("Corvane LK2093 - 11G Wireless PCI card.lock")));
        } else if (verb == "start") {
            ASSERT_TRUE(utility_.Start(tail != "unready"));
        } else if (verb == "tavlsim") {
            QString output;
            ASSERT_EQ(0, utility_.Run("tavlsim", words, &output)) << output.toStdString();
        } else if (verb == "send") {
            ASSERT_TRUE(utility_.Send(tail + "\n"));
        } else if (verb == "wait-journal") {
            ASSERT_TRUE(WaitJournalAfter(rest)) << "no journal line with " << tail;
        } else if (verb == "wait-trace") {
            ASSERT_TRUE(utility_.WaitForTraceAfter(rest, traceFrom_, kWaitMs))
                << "no trace line with " << tail;
        } else if (verb == "expect-no-trace") { // without TEXT: nothing at all
            EXPECT_TRUE(rest.isEmpty() ? utility_.StandardError().isEmpty()
                                       : !utility_.StandardError().contains(rest))
                << "trace has " << tail;
        } else if (verb == "expect-running") {
            EXPECT_TRUE(utility_.Running());
        } else if (verb == "second-start") {
            ASSERT_EQ(std::stoi(tail), utility_.Run("skerrin"));
        } else if (verb == "signal") {
            const int signalNumber = tail == "KILL" ? SIGKILL : tail == "INT" ? SIGINT : SIGTERM;
            ASSERT_EQ(0, ::kill(static_cast<pid_t>(utility_.Pid()), signalNumber));
        } else if (verb == "send-overlong") {
            ASSERT_TRUE(utility_.Send(std::string(5000, 'E') + "\n"));
        } else if (verb == "expect-no-journal") {
            EXPECT_TRUE(utility_.JournalLines().filter(rest).isEmpty()) << "journal has " << tail;
        } else if (verb == "expect-exit") {
            ASSERT_EQ(std::stoi(tail), utility_.WaitForExit(kWaitMs));
        } else if (verb == "partial-line") {
            // A line that never ends: the utility hangs up without an answer.
            const int fd = utility_.ConnectChannel();
            ASSERT_EQ(5, send(fd, "ELEGA", 5, MSG_NOSIGNAL));
            pollfd hangUp{fd, POLLIN, 0};
            EXPECT_EQ(1, poll(&hangUp, 1, kWaitMs * SKERRIN_TIME_FACTOR));
            char byte = 0;
            EXPECT_EQ(0, recv(fd, &byte, 1, 0));
            close(fd);
        } else if (verb == "idle-connections") {
            const int count = std::stoi(tail);
            rlimit limit{};
            getrlimit(RLIMIT_NOFILE, &limit);
            limit.rlim_cur =
                std::max<rlim_t>(limit.rlim_cur, std::min<rlim_t>(limit.rlim_max, count + 256));
            setrlimit(RLIMIT_NOFILE, &limit);
            for (int i = 0; i < count; ++i) {
                idle_.push_back(utility_.ConnectChannel());
                ASSERT_GE(idle_.back(), 0) << "connection " << i;
            }
        } else {
            FAIL() << "unknown step";
        }
    }

    // A private temporary folder as TMPDIR, and a runtime folder whose
    // path is too long for a socket ("long"), with a folder at the channel
    // socket's path ("taken"), or none at all ("none"); with "foreign" the
    // temporary folder is shared (mode 1777) and skerrin-<uid> in it
    // belongs to another user (or, run unprivileged, is open to everyone).
    void MakeRuntimeFolder(const std::string& how) {
        temp_ = std::make_unique<QTemporaryDir>();
        utility_.Environment().insert(QStringLiteral("TMPDIR"), temp_->path());
        const QString runtime = utility_.RuntimeDir() + QLatin1Char('/') + QString(100, 'r');
        if (how == "long") {
            ASSERT_TRUE(QDir().mkpath(runtime));
            utility_.Environment().insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        } else if (how == "taken") {
            ASSERT_TRUE(QDir(utility_.RuntimeDir()).mkpath(QString::fromLatin1(kChannelFileName)));
        } else {
            ASSERT_TRUE(how == "none" || how == "foreign") << how;
            utility_.Environment().remove(QStringLiteral("XDG_RUNTIME_DIR"));
        }
        if (how == "foreign") {
            const QByteArray root = temp_->path().toLocal8Bit();
            ASSERT_EQ(0, chmod(root.constData(), 01777));
            foreign_ = root + "/skerrin-" + QByteArray::number(getuid());
            ASSERT_EQ(0, mkdir(foreign_.constData(), 0777));
            ASSERT_EQ(0, getuid() == 0 ? chown(foreign_.constData(), 65534, 65534)
                                       : chmod(foreign_.constData(), 0777));
        }
    }

    // The shared folder holds nothing of the utility's but its own private
    // folders, and the foreign folder stays empty.
    void CheckForeignRuntimeFolder() {
        const QDir shared(temp_->path());
        const QString own = QStringLiteral("skerrin-") + QString::number(getuid());
        for (const QFileInfo& entry : shared.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                           QDir::System | QDir::Hidden)) {
            EXPECT_TRUE(entry.isDir() && entry.fileName().startsWith(own))
                << "in the shared folder: " << entry.fileName().toStdString();
        }
        EXPECT_TRUE(
            QDir(QString::fromLocal8Bit(foreign_))
                .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden));
    }

    QString folder_;
    std::unique_ptr<QTemporaryDir> temp_;
    QByteArray foreign_;
    std::vector<int> idle_;
    UtilityProcess utility_;
    int journalFrom_ = 0;
    int traceFrom_ = 0;
};

TEST_P(Scenario, RunsAsExpected) {
    for (const auto& [number, line] : ContentLines(folder_ + QStringLiteral("/steps"))) {
        ASSERT_NO_FATAL_FAILURE(Run(number, line));
    }
    EXPECT_FALSE(utility_.Running()) << "the scenario must end with the utility's exit";
    if (!foreign_.isEmpty()) {
        CheckForeignRuntimeFolder();
    }

    // The expected fragments, each on a later line than the one before.
    journalFrom_ = 0;
    for (const auto& [number, fragment] : ContentLines(folder_ + QStringLiteral("/expected"))) {
        ASSERT_TRUE(WaitJournalAfter(QString::fromStdString(fragment)))
            << "expected after journal line " << journalFrom_ << ": " << fragment;
    }

    // The card library is never called after TAVL_Terminate: only a new
    // start, whose calls are counted from 1 again, may follow it.
    const QStringList lines = utility_.JournalLines();
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].contains(QStringLiteral(" TAVL_Terminate"))) {
            EXPECT_TRUE(lines[i + 1].startsWith(QStringLiteral("1 ")))
                << "called after TAVL_Terminate: " << lines[i + 1].toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, Scenario, testing::ValuesIn(ScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
