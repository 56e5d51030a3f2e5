#include "UtilityProcess.h"

#include "support/MessageChannel.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cstdio>
#include <optional>

#include <sys/resource.h>
#include <unistd.h>

namespace {

QString Binary() {
    return QStringLiteral(SKERRIN_BIN_DIR "/skerrin");
}

int Bound(int ms) {
    const int scale = qEnvironmentVariableIntValue("SKERRIN_TIME_SCALE");
    return ms * SKERRIN_TIME_FACTOR * (scale > 1 ? scale : 1);
}

// Runs `program` to its end, bounded by 10 s (stretched as every bound);
// its exit status, or -1 when it did not end in time or ended by a signal.
int RunToEnd(const QProcessEnvironment& environment, const QString& program,
             const QStringList& arguments, QString* output = nullptr) {
    QProcess run;
    run.setProcessEnvironment(environment);
    run.start(program, arguments);
    if (!run.waitForFinished(Bound(10000))) {
        run.kill();
        run.waitForFinished();
        return -1;
    }
    if (output != nullptr) {
        *output = QString::fromLocal8Bit(run.readAllStandardOutput());
    }
    return run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
}

} // namespace

UtilityProcess::UtilityProcess() : environment_(QProcessEnvironment::systemEnvironment()) {
    environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    environment_.insert(QStringLiteral("TAVL_SIM_HOME"), home_.path());
    environment_.insert(QStringLiteral("TAVL_SIM_JOURNAL"), home_.path() + "/journal.txt");
    environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment_.insert(QStringLiteral("SKERRIN_TRACE_STDERR"), QStringLiteral("1"));
}

UtilityProcess::~UtilityProcess() {
    if (Running()) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool UtilityProcess::Start(bool waitReady) {
    process_.setProcessEnvironment(environment_);
    process_.setChildProcessModifier([limit = descriptorLimit_] {
        if (limit > 0) {
            const rlimit tight{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
            setrlimit(RLIMIT_NOFILE, &tight);
        }
    });
    // SKERRIN_UTILITY_LAUNCHER (for example "valgrind --error-exitcode=1")
    // runs skerrin under another program; words are separated by blanks.
    QStringList launcher = QString::fromLocal8Bit(qgetenv("SKERRIN_UTILITY_LAUNCHER"))
                               .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (launcher.isEmpty()) {
        process_.start(Binary(), {});
    } else {
        const QString program = launcher.takeFirst();
        process_.start(program, launcher << Binary());
    }
    if (!process_.waitForStarted(5000)) {
        return false;
    }
    const auto listening = [this] {
        const int fd = ConnectChannel();
        return fd >= 0 && close(fd) == 0;
    };
    return !waitReady || WaitUntil(listening, 10000);
}

int UtilityProcess::InUtilityEnvironment(const std::function<int()>& action) {
    const char* names[] = {"XDG_RUNTIME_DIR", "TMPDIR"};
    std::optional<QByteArray> saved[2];
    for (int i = 0; i < 2; ++i) {
        if (qEnvironmentVariableIsSet(names[i])) {
            saved[i] = qgetenv(names[i]);
        }
        const QString name = QLatin1String(names[i]);
        environment_.contains(name) ? qputenv(names[i], environment_.value(name).toLocal8Bit())
                                    : qunsetenv(names[i]);
    }
    const int result = action();
    for (int i = 0; i < 2; ++i) {
        saved[i] ? qputenv(names[i], *saved[i]) : qunsetenv(names[i]);
    }
    return result;
}

int UtilityProcess::ConnectChannel() {
    return InUtilityEnvironment([] { return ::ConnectChannel(); });
}

bool UtilityProcess::Send(const std::string& line) {
    return InUtilityEnvironment([&line] { return SendChannelLine(line) ? 1 : 0; }) == 1;
}

int UtilityProcess::RunSecondInstance() {
    return RunToEnd(environment_, Binary(), {});
}

int UtilityProcess::Tavlsim(const QStringList& arguments, QString* output) {
    return RunToEnd(environment_, QStringLiteral(SKERRIN_BIN_DIR "/tavlsim"), arguments, output);
}

int UtilityProcess::WaitForExit(int boundMs) {
    if (!process_.waitForFinished(Bound(boundMs))) {
        return -1;
    }
    const int status = process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    if (status != 0) {
        // The end of its standard error says why (a sanitizer's report, a
        // message of the utility) in the failing test's output.
        std::fprintf(stderr, "skerrin ended with status %d; the end of its standard error:\n%s\n",
                     status, qPrintable(StandardError().right(6000)));
    }
    return status;
}

QString UtilityProcess::StandardError() {
    stderr_ += QString::fromLocal8Bit(process_.readAllStandardError());
    return stderr_;
}

void UtilityProcess::RunFor(int ms) {
    for (QDeadlineTimer deadline(ms); !deadline.hasExpired() && Running();) {
        process_.waitForReadyRead(20);
        StandardError();
    }
}

bool UtilityProcess::WaitUntil(const std::function<bool()>& found, int boundMs) {
    QDeadlineTimer deadline(Bound(boundMs));
    // One more look after the end: the last lines may have come with it.
    for (bool last = false;; last = deadline.hasExpired() || !Running()) {
        if (found()) {
            return true;
        }
        if (last) {
            return false;
        }
        if (!process_.waitForReadyRead(20)) {
            QThread::msleep(Running() ? 0 : 20);
        }
        StandardError();
    }
}

bool UtilityProcess::WaitForTraceAfter(const QString& text, int& from, int boundMs) {
    return WaitUntil(
        [&] {
            const int at = stderr_.indexOf(text, from);
            from = at >= 0 ? at + static_cast<int>(text.size()) : from;
            return at >= 0;
        },
        boundMs);
}

QStringList UtilityProcess::JournalLines() const {
    QFile file(environment_.value(QStringLiteral("TAVL_SIM_JOURNAL")));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool UtilityProcess::WaitForJournalAfter(const QString& text, int& from, int boundMs) {
    return WaitUntil(
        [&] {
            const QStringList lines = JournalLines();
            for (int i = from; i < lines.size(); ++i) {
                if (lines[i].contains(text)) {
                    from = i + 1;
                    return true;
                }
            }
            return false;
        },
        boundMs);
}
