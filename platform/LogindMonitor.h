// Power broadcasts from logind: PrepareForSleep(true) before a suspend
// arrives as a query suspend (0), PrepareForSleep(false) after it as
// resume suspend (7) and resume automatic (18). Without logind on the
// system bus the monitor stays off.
#pragma once

#include <QDBusConnection>
#include <QObject>

#include <cstdint>
#include <functional>

class LogindMonitor : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(std::uint32_t powerCode)>;

    explicit LogindMonitor(Handler onPower, QObject* parent = nullptr);

    // Connects to logind on `bus` (the system bus by default). False when
    // logind is not there: connecting to a missing service would still
    // "succeed", so the manager interface is checked first.
    bool Start(const QDBusConnection& bus);
    // Connects on the system bus, when there is one to reach: a machine
    // without a system bus (a container, a build machine) sets up no bus
    // connection at all.
    bool Start();

private slots:
    void OnPrepareForSleep(bool start);

private:
    Handler onPower_;
};
