// Device arrival and removal from udev, for the subsystems a WLAN card can
// sit on (pci, usb, pcmcia). Only devices that can be the card are handed
// on (UdevEvents.h), with their device instance identifier written in the
// "PCI\...", "USB\...", "PCMCIA\..." form the identifier filter expects;
// the events of one burst go on together, a short moment after its first,
// as one arrival and one removal at most, followed by one
// device-nodes-changed event. A wireless interface coming or going
// (subsystem net, type wlan) and an rfkill switch changing give the
// device-nodes-changed event alone: a card on the real card library is
// absent while its interface is gone or blocked, and this is how the
// utility hears that it is back. Where no udev daemon runs
// (/run/udev/control missing) the monitor stays off, quietly.
#pragma once

#include "platform/UdevEvents.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <string>

class QSocketNotifier;
struct udev;
struct udev_monitor;
struct udev_device;

class UdevMonitor : public QObject {
    Q_OBJECT
public:
    // `onEvent` receives the device-change event code (0x8000 arrival,
    // 0x8004 removal complete, 7 device nodes changed) and the identifier.
    using Handler = std::function<void(std::uint32_t event, const std::string& identifier)>;

    explicit UdevMonitor(Handler onEvent, QObject* parent = nullptr);
    ~UdevMonitor() override;

    // False when udev is not running or the monitor cannot be set up.
    bool Start();

private:
    void OnReadable();
    void HandOnBurst();

    Handler onEvent_;
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    DeviceChangeBurst burst_;
    QTimer burstTimer_;
};

// How long a burst of device events is collected before it is handed on.
inline constexpr int kDeviceBurstMs = 250;
