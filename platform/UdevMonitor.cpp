#include "platform/UdevMonitor.h"

#include <QSocketNotifier>

#include <libudev.h>
#include <unistd.h>

namespace {

std::string Property(udev_device* device, const char* name) {
    const char* value = udev_device_get_property_value(device, name);
    return value != nullptr ? value : "";
}

} // namespace

UdevMonitor::UdevMonitor(Handler onEvent, QObject* parent)
    : QObject(parent), onEvent_(std::move(onEvent)) {
    burstTimer_.setSingleShot(true);
    burstTimer_.setInterval(kDeviceBurstMs);
    connect(&burstTimer_, &QTimer::timeout, this, &UdevMonitor::HandOnBurst);
}

UdevMonitor::~UdevMonitor() {
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
    }
}

bool UdevMonitor::Start() {
    if (access("/run/udev/control", F_OK) != 0) {
        return false;
    }
    udev_ = udev_new();
    if (udev_ == nullptr) {
        return false;
    }
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ == nullptr) {
        return false;
    }
    // USB interfaces are left out here already: a device announces each.
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "pci", nullptr);
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "usb", "usb_device");
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "pcmcia", nullptr);
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "net", "wlan");
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "rfkill", nullptr);
    if (udev_monitor_enable_receiving(monitor_) != 0) {
        return false;
    }
    notifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &UdevMonitor::OnReadable);
    return true;
}

void UdevMonitor::OnReadable() {
    udev_device* device = udev_monitor_receive_device(monitor_);
    if (device == nullptr) {
        return;
    }
    auto text = [](const char* value) { return std::string(value != nullptr ? value : ""); };
    const UdevEventInfo info{text(udev_device_get_action(device)),
                             text(udev_device_get_subsystem(device)),
                             text(udev_device_get_devtype(device)),
                             Property(device, "PCI_CLASS"),
                             Property(device, "PCI_ID"),
                             Property(device, "PRODUCT"),
                             Property(device, "TYPE"),
                             text(udev_device_get_sysname(device))};
    udev_device_unref(device);
    if (const auto change = CardDeviceChange(info)) {
        burst_.Add(*change);
        if (!burstTimer_.isActive()) {
            burstTimer_.start();
        }
    }
}

void UdevMonitor::HandOnBurst() {
    for (const DeviceChange& change : burst_.Take()) {
        onEvent_(change.event, change.identifier);
    }
}
