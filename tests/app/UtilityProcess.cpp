#include "UtilityProcess.h"

#include "support/MessageChannel.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cstdio>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString Binary() {
    return QStringLiteral(SKERRIN_BIN_DIR "/skerrin");
}

// SKERRIN_UTILITY_LAUNCHER (for example "valgrind --error-exitcode=1")
// runs skerrin under another program; words are separated by blanks.
QStringList Launcher() {
    return QString::fromLocal8Bit(qgetenv("SKERRIN_UTILITY_LAUNCHER"))
        .split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// SKERRIN_TIME_SCALE stretches every bound once more, for runs under a
// launcher that slows the process down many times.
int Bound(int ms) {
    const int scale = qEnvironmentVariableIntValue("SKERRIN_TIME_SCALE");
    return ms * SKERRIN_TIME_FACTOR * (scale > 1 ? scale : 1);
}

} // namespace

UtilityProcess::UtilityProcess() : environment_(QProcessEnvironment::systemEnvironment()) {
    environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    environment_.insert(QStringLiteral("TAVL_SIM_HOME"), home_.path());
    environment_.insert(QStringLiteral("TAVL_SIM_JOURNAL"), JournalPath());
    environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment_.insert(QStringLiteral("SKERRIN_TRACE_STDERR"), QStringLiteral("1"));
    process_.setProcessEnvironment(environment_);
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
    QStringList launcher = Launcher();
    if (launcher.isEmpty()) {
        process_.start(Binary(), {});
    } else {
        const QString program = launcher.takeFirst();
        process_.start(program, launcher << Binary());
    }
    if (!process_.waitForStarted(5000)) {
        return false;
    }
    if (!waitReady) {
        return true;
    }
    QDeadlineTimer deadline(Bound(10000));
    while (!deadline.hasExpired()) {
        if (const int fd = ConnectChannel(); fd >= 0) {
            close(fd);
            return true;
        }
        if (!Running()) {
            return false;
        }
        QThread::msleep(20);
    }
    return false;
}

int UtilityProcess::ConnectChannel() {
    return InUtilityEnvironment([] { return ::ConnectChannel(); });
}

int UtilityProcess::RunSecondInstance(int boundMs) {
    QProcess second;
    second.setProcessEnvironment(environment_);
    second.start(Binary(), {});
    if (!second.waitForFinished(boundMs)) {
        second.kill();
        second.waitForFinished();
        return -1;
    }
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

int UtilityProcess::Tavlsim(const QStringList& arguments, QString* output) {
    QProcess tool;
    tool.setProcessEnvironment(environment_);
    tool.start(QStringLiteral(SKERRIN_BIN_DIR "/tavlsim"), arguments);
    if (!tool.waitForFinished(10000)) {
        tool.kill();
        tool.waitForFinished();
        return -1;
    }
    if (output != nullptr) {
        *output = QString::fromLocal8Bit(tool.readAllStandardOutput());
    }
    return tool.exitCode();
}

bool UtilityProcess::Send(const std::string& line) {
    return InUtilityEnvironment([&line] { return SendChannelLine(line); });
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

bool UtilityProcess::WaitForTrace(const QString& text, int boundMs) {
    QDeadlineTimer deadline(Bound(boundMs));
    while (!StandardError().contains(text)) {
        if (deadline.hasExpired() || !Running()) {
            return StandardError().contains(text);
        }
        process_.waitForReadyRead(50);
    }
    return true;
}

bool UtilityProcess::WaitForTraceAfter(const QString& text, int& from, int boundMs) {
    QDeadlineTimer deadline(Bound(boundMs));
    for (;;) {
        if (const int at = StandardError().indexOf(text, from); at >= 0) {
            from = at + static_cast<int>(text.size());
            return true;
        }
        if (deadline.hasExpired() || !Running()) {
            return false;
        }
        process_.waitForReadyRead(50);
    }
}

QString UtilityProcess::Journal() const {
    QFile file(JournalPath());
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

bool UtilityProcess::WaitForJournal(const QString& text, int boundMs) const {
    QDeadlineTimer deadline(Bound(boundMs));
    while (!Journal().contains(text)) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}
