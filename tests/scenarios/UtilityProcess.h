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

#include <functional>
#include <string>

// Every bound below is multiplied by SKERRIN_TIME_FACTOR (2 in the normal
// build, more under the sanitizers) and by SKERRIN_TIME_SCALE (for runs
// under a slow launcher), so a loaded machine does not fail a test that is
// about behaviour, not speed.
class UtilityProcess {
public:
    UtilityProcess();
    ~UtilityProcess();

    // Folders shared by every process started from this object.
    QString RuntimeDir() const { return runtime_.path(); }
    QString SimHome() const { return home_.path(); }
    QProcessEnvironment& Environment() { return environment_; }

    // The descriptor limit skerrin starts with (0: inherited).
    void SetDescriptorLimit(int limit) { descriptorLimit_ = limit; }
    // Starts skerrin; `waitReady` waits (bounded) until its channel listens.
    bool Start(bool waitReady = true);
    // Starts another skerrin with the same folders; returns its exit status,
    // or -1 when it did not end within the bound (10 s).
    int RunSecondInstance();
    // Runs tavlsim with `arguments` in the same folders; its exit status
    // (-1 as above).
    int Tavlsim(const QStringList& arguments, QString* output = nullptr);
    // Sends one line through the channel; false when nothing listens.
    bool Send(const std::string& line);
    // A socket connected to its channel, as a sender finds it; -1 if none.
    int ConnectChannel();
    // Waits for the process to end; its exit status, or -1 on time-out or
    // a signal.
    int WaitForExit(int boundMs);
    bool Running() const { return process_.state() != QProcess::NotRunning; }
    qint64 Pid() const { return process_.processId(); }
    // Standard error so far (the trace, with SKERRIN_TRACE_STDERR=1).
    QString StandardError();
    // Lets the process run for `ms` while its standard error is read, so
    // its trace never fills the pipe.
    void RunFor(int ms);
    // Waits until standard error contains `text` at or after the position
    // `from`, then moves `from` past it: a run of waits finds text in order.
    bool WaitForTraceAfter(const QString& text, int& from, int boundMs);
    // The simulated card's journal so far, one call a line.
    QStringList JournalLines() const;
    // Waits for a journal line containing `text` at or after the line
    // `from`, then moves `from` past it.
    bool WaitForJournalAfter(const QString& text, int& from, int boundMs);

private:
    // Runs `action` with the test process's runtime and temporary folder
    // variables set as the utility's (where senders look for its channel).
    int InUtilityEnvironment(const std::function<int()>& action);
    // Waits until `found` holds, reading standard error meanwhile.
    bool WaitUntil(const std::function<bool()>& found, int boundMs);
    QTemporaryDir runtime_;
    QTemporaryDir home_;
    QProcessEnvironment environment_;
    QProcess process_;
    QString stderr_;
    int descriptorLimit_ = 0;
};
