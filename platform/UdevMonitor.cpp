#include "platform/UdevMonitor.h"

#include "support/MessageChannel.h"

#include <QSocketNotifier>

#include <libudev.h>
#include <unistd.h>

namespace {

std::string Property(udev_device* device, const char* name) {
    const char* value = udev_device_get_property_value(device, name);
    return value != nullptr ? value : "";
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

} // namespace

UdevMonitor::UdevMonitor(Handler onEvent, QObject* parent)
    : QObject(parent), onEvent_(std::move(onEvent)) {}

UdevMonitor::~UdevMonitor() {
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
    }
}

std::string UdevMonitor::InstanceIdentifier(const std::string& subsystem, const std::string& pciId,
                                            const std::string& product,
                                            const std::string& sysName) {
    const std::string bus = Upper(subsystem);
    std::string id = bus + "\\";
    if (bus == "PCI" && pciId.size() == 9 && pciId[4] == ':') {
        id += "VEN_" + Upper(pciId.substr(0, 4)) + "&DEV_" + Upper(pciId.substr(5, 4)) + "\\";
    } else if (bus == "USB" && !product.empty()) {
        id += "PRODUCT_" + Upper(product) + "\\";
    }
    return id + Upper(sysName);
}

std::array<std::uint32_t, 2> UdevMonitor::EventsFor(const std::string& action,
                                                    const std::string& subsystem) {
    const bool add = action == "add";
    const bool remove = action == "remove";
    if (subsystem == "net") {
        return {add || remove ? kDbtDevNodesChanged : 0u, 0u};
    }
    if (subsystem == "rfkill") {
        return {add || remove || action == "change" ? kDbtDevNodesChanged : 0u, 0u};
    }
    if (subsystem.empty() || (!add && !remove)) {
        return {0u, 0u};
    }
    return {add ? kDbtDeviceArrival : kDbtDeviceRemoveComplete, kDbtDevNodesChanged};
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
    for (const char* subsystem : {"pci", "usb", "pcmcia", "rfkill"}) {
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, subsystem, nullptr);
    }
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "net", "wlan");
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
    const char* action = udev_device_get_action(device);
    const char* subsystem = udev_device_get_subsystem(device);
    const char* sysName = udev_device_get_sysname(device);
    const auto events = EventsFor(action ? action : "", subsystem ? subsystem : "");
    const std::string id =
        events[0] == kDbtDeviceArrival || events[0] == kDbtDeviceRemoveComplete
            ? InstanceIdentifier(subsystem, Property(device, "PCI_ID"), Property(device, "PRODUCT"),
                                 sysName ? sysName : "")
            : std::string();
    udev_device_unref(device);
    for (const std::uint32_t event : events) {
        if (event != 0) {
            onEvent_(event, event == kDbtDevNodesChanged ? std::string() : id);
        }
    }
}
