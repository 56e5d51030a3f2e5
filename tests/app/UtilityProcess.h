// The real skerrin binary, started in a private runtime folder and world
// folder, for tests that check it from outside: through its exit status,
// its message channel, its trace on standard error and the simulated
// card's journal.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <string>

// Every bound below is multiplied by SKERRIN_TIME_FACTOR (2 in the normal
// build, more under the sanitizers), so a loaded machine does not fail a
// test that is about behaviour, not speed.
class UtilityProcess {
public:
    UtilityProcess();
    ~UtilityProcess();

    // Folders shared by every process started from this object.
    QString RuntimeDir() const { return runtime_.path(); }
    QString SimHome() const { return home_.path(); }
    QString JournalPath() const { return home_.path() + QStringLiteral("/journal.txt"); }
    QProcessEnvironment& Environment() { return environment_; }

    // The descriptor limit skerrin starts with (0: inherited).
    void SetDescriptorLimit(int limit) { descriptorLimit_ = limit; }
    // Starts skerrin; `waitReady` waits (bounded) until its channel listens.
    bool Start(bool waitReady = true);
    // Starts another skerrin with the same folders; returns its exit status,
    // or -1 when it did not end within the bound.
    int RunSecondInstance(int boundMs = 5000);
    // Runs tavlsim with `arguments` in the same folders; its exit status.
    int Tavlsim(const QStringList& arguments, QString* output = nullptr);
    // Sends one line through the channel; false when nothing listens.
    bool Send(const std::string& line);
    // A socket connected to its channel, as a sender finds it; -1 if none.
    int ConnectChannel();
    // Waits for the process to end; its exit status, or -1 on time-out.
    int WaitForExit(int boundMs);
    bool Running() const { return process_.state() != QProcess::NotRunning; }
    qint64 Pid() const { return process_.processId(); }
    // Standard error so far (the trace, with SKERRIN_TRACE_STDERR=1).
    QString StandardError();
    // Waits until standard error contains `text`.
    bool WaitForTrace(const QString& text, int boundMs);
    // Waits until standard error contains `text` at or after the position
    // `from`, then moves `from` past it: a run of waits finds lines in order.
    bool WaitForTraceAfter(const QString& text, int& from, int boundMs);
    // The simulated card's journal so far.
    QString Journal() const;
    // Waits until the journal contains `text`.
    bool WaitForJournal(const QString& text, int boundMs) const;

private:
    // Runs `action` with the test process's runtime and temporary folder
    // variables set as the utility's (where senders look for its channel).
    template <class Action> auto InUtilityEnvironment(Action action);
    QTemporaryDir runtime_;
    QTemporaryDir home_;
    QProcessEnvironment environment_;
    QProcess process_;
    QString stderr_;
    int descriptorLimit_ = 0;
};

template <class Action> inline auto UtilityProcess::InUtilityEnvironment(Action action) {
    // The folders the channel is found by, as the utility sees them.
    const char* names[] = {"XDG_RUNTIME_DIR", "TMPDIR"};
    QByteArray saved[2];
    bool had[2] = {};
    for (int i = 0; i < 2; ++i) {
        had[i] = qEnvironmentVariableIsSet(names[i]);
        saved[i] = qgetenv(names[i]);
        if (environment_.contains(QLatin1String(names[i]))) {
            qputenv(names[i], environment_.value(QLatin1String(names[i])).toLocal8Bit());
        } else {
            qunsetenv(names[i]);
        }
    }
    auto result = action();
    for (int i = 0; i < 2; ++i) {
        if (had[i]) {
            qputenv(names[i], saved[i]);
        } else {
            qunsetenv(names[i]);
        }
    }
    return result;
}
