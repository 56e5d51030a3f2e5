// Runs every scenario folder below tests/scenarios/ against the real
// skerrin and the simulated libtavl3.so, one test case per folder, found
// when the tests are listed. The steps and expected files are read as
// README.md there describes.
#include "UtilityProcess.h"

#include "support/MessageChannel.h"

#include "cardshared/ProfileFile.h"
#include "cardshared/ProfileStore.h"
#include "device/Records.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <memory>
#include <poll.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kWaitMs = 15000;

// A step of a scenario: its verb, the rest of its line trimmed, and the
// rest split into words ("..." keeps blanks, with \" and \\ in it).
struct ScenarioStep {
    std::string verb;
    std::string rest;
    std::vector<std::string> args;
    int line = 0;
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    const auto last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The lines of `text` that are neither blank nor comments ('#'), trimmed,
// with their line numbers.
std::vector<std::pair<int, std::string>> ContentLines(const std::string& text) {
    std::vector<std::pair<int, std::string>> lines;
    std::istringstream in(text);
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        if (const std::string line = Trim(raw); !line.empty() && line.front() != '#') {
            lines.emplace_back(number, line);
        }
    }
    return lines;
}

// Splits `text` at blanks; a word in double quotes keeps its blanks, and
// \" and \\ stand for themselves in it. False for an unclosed quote.
bool SplitWords(const std::string& text, std::vector<std::string>& words) {
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) {
                word += text[++i];
            } else if (c == '"') {
                quoted = false;
            } else {
                word += c;
            }
        } else if (c == ' ' || c == '\t') {
            if (inWord) {
                words.push_back(word);
                word.clear();
            }
            inWord = false;
        } else {
            quoted = c == '"';
            word += quoted ? std::string() : std::string(1, c);
            inWord = true;
        }
    }
    if (inWord && !quoted) {
        words.push_back(word);
    }
    return !quoted;
}

// Reads the steps of a scenario; false with `error` naming the line of an
// unclosed quote. The runner refuses unknown verbs.
bool ParseScenarioSteps(const std::string& text, std::vector<ScenarioStep>& steps,
                        std::string& error) {
    for (const auto& [number, line] : ContentLines(text)) {
        ScenarioStep step;
        step.line = number;
        const auto blank = line.find_first_of(" \t");
        step.verb = line.substr(0, blank);
        step.rest = blank == std::string::npos ? std::string() : Trim(line.substr(blank));
        if (!SplitWords(step.rest, step.args)) {
            error = "steps line " + std::to_string(number) + ": unclosed quote";
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
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

std::string ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

// Stores a profile in the simulated card's store and makes it active:
// "NAME key=value..." with ssid, channel, mode (infrastructure|adhoc),
// wep (off|64|128), txkey (1..4), key1..key4 (hexadecimal), auth
// (open|shared|auto).
bool StoreProfile(const std::vector<std::string>& args, const QString& home, std::string& error) {
    WirelessReg reg = DefaultWirelessReg();
    const std::string& name = args.front();
    SetFieldText(reg.profileName, name);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const auto equals = args[i].find('=');
        const std::string key = args[i].substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : args[i].substr(equals + 1);
        if (key == "ssid") {
            SetFieldText(reg.ssid, value);
        } else if (key == "channel") {
            reg.channel = static_cast<std::uint32_t>(std::stoul(value));
        } else if (key == "mode") {
            reg.opMode = value == "adhoc" ? 0 : 1;
        } else if (key == "wep") {
            reg.encryptionLevel = value == "64" ? 1 : value == "128" ? 2 : 0;
        } else if (key == "txkey") {
            reg.defaultKeyId = std::stoi(value) - 1;
        } else if (key == "auth") {
            reg.authType = value == "shared" ? 1 : value == "auto" ? 2 : 0;
        } else if (key.size() == 4 && key.rfind("key", 0) == 0 && key[3] >= '1' && key[3] <= '4') {
            const int slot = key[3] - '1';
            SetFieldText(reg.keyText[slot], value);
            if (value.size() == 10) {
                SetFieldText(reg.keyText64[slot], value);
            } else {
                SetFieldText(reg.keyText128[slot], value);
            }
        } else {
            error = "profile: unknown field " + key;
            return false;
        }
    }
    cardsim::ProfileStore store;
    store.SetWorldFolder(home.toStdString());
    if (store.Store(name.c_str(), reg) != 0 || store.SetActive(name) != 0) {
        error = "profile: the store refused " + name;
        return false;
    }
    return true;
}

// Spoils a stored profile's file: "NAME missing|corrupt|fifo" removes it,
// overwrites it with bytes that are no profile, or puts a FIFO in its
// place.
bool SpoilProfileFile(const std::vector<std::string>& args, const QString& home,
                      std::string& error) {
    if (args.size() != 2) {
        error = "profile-file: NAME missing|corrupt|fifo";
        return false;
    }
    cardsim::ProfileStore store;
    store.SetWorldFolder(home.toStdString());
    const std::string path = store.Folder() + "/" + cardsim::ProfileFileName(args[0]);
    std::remove(path.c_str());
    if (args[1] == "corrupt") {
        std::ofstream(path, std::ios::binary) << std::string(2000, '\x5A');
    } else if (args[1] == "fifo") {
        if (mkfifo(path.c_str(), 0600) != 0) {
            error = "profile-file: no FIFO at " + path;
            return false;
        }
    } else if (args[1] != "missing") {
        error = "profile-file: unknown spoiling " + args[1];
        return false;
    }
    return true;
}

class Scenario : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        folder_ = ScenarioRoot() + QLatin1Char('/') + QString::fromStdString(GetParam());
        const QString world = folder_ + QStringLiteral("/world.ini");
        if (QFile::exists(world)) {
            ASSERT_TRUE(QFile::copy(world, utility_.SimHome() + QStringLiteral("/world.ini")));
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

    void Run(const ScenarioStep& step) {
        SCOPED_TRACE("steps line " + std::to_string(step.line) + ": " + step.verb + " " +
                     step.rest);
        const QString rest = QString::fromStdString(step.rest).replace(
            QStringLiteral("$TMPDIR"), utility_.Environment().value(QStringLiteral("TMPDIR")));
        if (step.verb == "env") {
            const auto equals = step.rest.find('=');
            const QString name = QString::fromStdString(step.rest.substr(0, equals));
            equals == std::string::npos
                ? utility_.Environment().remove(name)
                : utility_.Environment().insert(
                      name, QString::fromStdString(step.rest.substr(equals + 1)));
        } else if (step.verb == "runtime-folder") {
            ASSERT_NO_FATAL_FAILURE(MakeRuntimeFolder(step.rest));
        } else if (step.verb == "expect-quiet") {
            EXPECT_EQ("", utility_.StandardError().toStdString());
        } else if (step.verb == "profile") {
            std::string error;
            ASSERT_TRUE(StoreProfile(step.args, utility_.SimHome(), error)) << error;
        } else if (step.verb == "profile-file") {
            std::string error;
            ASSERT_TRUE(SpoilProfileFile(step.args, utility_.SimHome(), error)) << error;
        } else if (step.verb == "descriptor-limit") {
            utility_.SetDescriptorLimit(std::stoi(step.rest));
        } else if (step.verb == "lock-taken") {
            ASSERT_TRUE(QDir(utility_.RuntimeDir())
                            .mkpath(QStringLiteral("Corvane LK2093 - 11G Wireless PCI card.lock")));
        } else if (step.verb == "start") {
            ASSERT_TRUE(utility_.Start(step.rest != "unready"));
        } else if (step.verb == "tavlsim") {
            QStringList arguments;
            for (const std::string& word : step.args) {
                arguments << QString::fromStdString(word);
            }
            QString output;
            ASSERT_EQ(0, utility_.Tavlsim(arguments, &output)) << output.toStdString();
        } else if (step.verb == "send") {
            ASSERT_TRUE(utility_.Send(step.rest + "\n"));
        } else if (step.verb == "wait-journal") {
            ASSERT_TRUE(WaitJournalAfter(rest)) << "no journal line with " << step.rest;
        } else if (step.verb == "wait-trace") {
            ASSERT_TRUE(utility_.WaitForTraceAfter(rest, traceFrom_, kWaitMs))
                << "no trace line with " << step.rest;
        } else if (step.verb == "expect-no-trace") {
            EXPECT_FALSE(utility_.StandardError().contains(rest)) << "trace has " << step.rest;
        } else if (step.verb == "expect-running") {
            EXPECT_TRUE(utility_.Running());
        } else if (step.verb == "second-start") {
            ASSERT_EQ(std::stoi(step.rest), utility_.RunSecondInstance());
        } else if (step.verb == "signal") {
            const int number = step.rest == "KILL"  ? SIGKILL
                               : step.rest == "INT" ? SIGINT
                                                    : SIGTERM;
            ASSERT_EQ(0, ::kill(static_cast<pid_t>(utility_.Pid()), number));
        } else if (step.verb == "send-overlong") {
            ASSERT_TRUE(utility_.Send(std::string(5000, 'E') + "\n"));
        } else if (step.verb == "expect-no-journal") {
            EXPECT_TRUE(utility_.JournalLines().filter(rest).isEmpty())
                << "journal has " << step.rest;
        } else if (step.verb == "expect-exit") {
            ASSERT_EQ(std::stoi(step.rest), utility_.WaitForExit(kWaitMs));
        } else if (step.verb == "partial-line") {
            // A line that never ends: the utility hangs up without an answer.
            const int fd = utility_.ConnectChannel();
            ASSERT_EQ(5, send(fd, "ELEGA", 5, MSG_NOSIGNAL));
            pollfd hangUp{fd, POLLIN, 0};
            EXPECT_EQ(1, poll(&hangUp, 1, kWaitMs * SKERRIN_TIME_FACTOR));
            char byte = 0;
            EXPECT_EQ(0, recv(fd, &byte, 1, 0));
            close(fd);
        } else if (step.verb == "idle-connections") {
            const int count = std::stoi(step.rest);
            rlimit limit{};
            getrlimit(RLIMIT_NOFILE, &limit);
            limit.rlim_cur =
                std::max<rlim_t>(limit.rlim_cur, std::min<rlim_t>(limit.rlim_max, count + 256));
            setrlimit(RLIMIT_NOFILE, &limit);
            for (int i = 0; i < count; ++i) {
                idle_.push_back(utility_.ConnectChannel());
                ASSERT_GE(idle_.back(), 0) << "connection " << i;
            }
        } else if (step.verb == "foreign-runtime-folder") {
            ASSERT_NO_FATAL_FAILURE(MakeForeignRuntimeFolder());
        } else {
            FAIL() << "unknown step";
        }
    }

    // A private temporary folder, and a runtime folder whose path is too
    // long for a socket ("long"), with a folder at the channel socket's path
    // ("taken"), or none at all ("none").
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
            ASSERT_EQ("none", how);
            utility_.Environment().remove(QStringLiteral("XDG_RUNTIME_DIR"));
        }
    }

    // No session runtime folder, and a fresh shared temporary folder (mode
    // 1777) in which skerrin-<uid> belongs to another user (or, run
    // unprivileged, is open to everyone).
    void MakeForeignRuntimeFolder() {
        shared_ = std::make_unique<QTemporaryDir>();
        const QByteArray root = shared_->path().toLocal8Bit();
        ASSERT_EQ(0, chmod(root.constData(), 01777));
        foreign_ = root + "/skerrin-" + QByteArray::number(getuid());
        ASSERT_EQ(0, mkdir(foreign_.constData(), 0777));
        if (getuid() == 0) {
            ASSERT_EQ(0, chown(foreign_.constData(), 65534, 65534));
        } else {
            ASSERT_EQ(0, chmod(foreign_.constData(), 0777));
        }
        utility_.Environment().remove(QStringLiteral("XDG_RUNTIME_DIR"));
        utility_.Environment().insert(QStringLiteral("TMPDIR"), shared_->path());
    }

    // The shared folder holds nothing of the utility's but its own private
    // folders, and the foreign folder stays empty.
    void CheckForeignRuntimeFolder() {
        const QDir shared(shared_->path());
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
    std::unique_ptr<QTemporaryDir> shared_, temp_;
    QByteArray foreign_;
    std::vector<int> idle_;
    UtilityProcess utility_;
    int journalFrom_ = 0;
    int traceFrom_ = 0;
};

TEST_P(Scenario, RunsAsExpected) {
    std::vector<ScenarioStep> steps;
    std::string error;
    ASSERT_TRUE(ParseScenarioSteps(ReadText(folder_ + QStringLiteral("/steps")), steps, error))
        << error;
    for (const ScenarioStep& step : steps) {
        ASSERT_NO_FATAL_FAILURE(Run(step));
    }
    EXPECT_FALSE(utility_.Running()) << "the scenario must end with the utility's exit";
    if (shared_) {
        CheckForeignRuntimeFolder();
    }

    // The expected fragments, each on a later line than the one before.
    journalFrom_ = 0;
    for (const auto& [number, fragment] :
         ContentLines(ReadText(folder_ + QStringLiteral("/expected")))) {
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

std::string ReadableName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Folders, Scenario, testing::ValuesIn(ScenarioNames()), ReadableName);

} // namespace
