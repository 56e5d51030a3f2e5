// Device arrival and removal from udev, for the subsystems a WLAN card can
// sit on (pci, usb, pcmcia). Each event is handed on with its device
// instance identifier written in the "PCI\...", "USB\...", "PCMCIA\..."
// form the identifier filter expects, followed by a device-nodes-changed
// event. A wireless interface coming or going (subsystem net, type wlan)
// and an rfkill switch changing give the device-nodes-changed event alone:
// a card on the real card library is absent while its interface is gone
// or blocked, and this is how the utility hears that it is back. Where no
// udev daemon runs (/run/udev/control missing) the monitor
// stays off, quietly.
#pragma once

#include <QObject>

#include <array>
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

    // The events a udev action of `subsystem` gives, in order (none: 0).
    static std::array<std::uint32_t, 2> EventsFor(const std::string& action,
                                                  const std::string& subsystem);

    // The identifier of a device: subsystem in upper case, a backslash,
    // and the vendor and device numbers where known.
    static std::string InstanceIdentifier(const std::string& subsystem, const std::string& pciId,
                                          const std::string& product, const std::string& sysName);

private:
    void OnReadable();

    Handler onEvent_;
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};
