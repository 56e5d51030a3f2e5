// SIGTERM and SIGINT, delivered on the main thread through a self-pipe, so
// they take the same path as the ELEGANT_CLOSE message.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};
