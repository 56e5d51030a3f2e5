// The logind power broadcasts, on a private bus with a fake logind.
#include "platform/LogindMonitor.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <vector>

namespace {

// Stand in for logind's manager object.
class FakeLogindObject : public QObject {
    Q_OBJECT
};

class FakeLogindManager : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    explicit FakeLogindManager(QObject* parent) : QDBusAbstractAdaptor(parent) {}
signals:
    void PrepareForSleep(bool start);
};

// Sends PrepareForSleep as logind and waits until `codes` holds `count`.
void Sleep(QDBusConnection& bus, bool start, const std::vector<std::uint32_t>& codes,
           std::size_t count) {
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("PrepareForSleep"));
    signal << start;
    bus.send(signal);
    for (QDeadlineTimer deadline(5000); codes.size() < count && !deadline.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// The monitor stays off while no logind is on the bus, and turns
// PrepareForSleep into the power codes once one is.
TEST(LogindMonitor, PrepareForSleepBecomesThePowerCodes) {
    QProcess daemon; // a private bus
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"),
                  QStringLiteral("--print-address")});
    ASSERT_TRUE(daemon.waitForStarted(5000) && daemon.waitForReadyRead(5000));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    QDBusConnection client = QDBusConnection::connectToBus(address, QStringLiteral("client"));
    ASSERT_TRUE(client.isConnected());
    std::vector<std::uint32_t> codes;
    EXPECT_FALSE(LogindMonitor([](std::uint32_t) {}).Start(client));

    QDBusConnection logind = QDBusConnection::connectToBus(address, QStringLiteral("logind"));
    // The fake answers from a thread of its own, as logind does from its
    // process: the monitor's start asks it synchronously from this one.
    QThread service;
    service.start();
    FakeLogindObject object;
    new FakeLogindManager(&object);
    object.moveToThread(&service);
    ASSERT_TRUE(logind.registerObject(QStringLiteral("/org/freedesktop/login1"), &object));
    ASSERT_TRUE(logind.registerService(QStringLiteral("org.freedesktop.login1")));

    LogindMonitor monitor([&](std::uint32_t code) { codes.push_back(code); });
    ASSERT_TRUE(monitor.Start(client));

    Sleep(logind, true, codes, 1);
    Sleep(logind, false, codes, 3);
    EXPECT_EQ((std::vector<std::uint32_t>{0, 7, 18}), codes);

    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("logind"));
    service.quit();
    service.wait();
    daemon.kill();
    daemon.waitForFinished(5000);
}

} // namespace

#include "LogindMonitorTest.moc"
