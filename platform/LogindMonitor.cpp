#include "platform/LogindMonitor.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QFileInfo>

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kInterface = QStringLiteral("org.freedesktop.login1.Manager");

// The address the system bus is reached at, when not given by the
// environment.
const QString kSystemBusSocket = QStringLiteral("/run/dbus/system_bus_socket");

bool SystemBusReachable() {
    return !qEnvironmentVariableIsEmpty("DBUS_SYSTEM_BUS_ADDRESS") ||
           QFileInfo::exists(kSystemBusSocket);
}

} // namespace

LogindMonitor::LogindMonitor(Handler onPower, QObject* parent)
    : QObject(parent), onPower_(std::move(onPower)) {}

bool LogindMonitor::Start() {
    return SystemBusReachable() && Start(QDBusConnection::systemBus());
}

bool LogindMonitor::Start(const QDBusConnection& bus) {
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(kService).value()) {
        return false;
    }
    QDBusInterface manager(kService, kPath, kInterface, bus);
    if (!manager.isValid()) {
        return false;
    }
    QDBusConnection connection(bus);
    return connection.connect(kService, kPath, kInterface, QStringLiteral("PrepareForSleep"), this,
                              SLOT(OnPrepareForSleep(bool)));
}

void LogindMonitor::OnPrepareForSleep(bool start) {
    if (start) {
        onPower_(0);
    } else {
        onPower_(7);
        onPower_(18);
    }
}
