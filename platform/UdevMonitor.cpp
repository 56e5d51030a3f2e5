#include "platform/UdevMonitor.h"

#include "support/MessageChannel.h"

#include <QSocketNotifier>

#include <cstring>
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
    for (const char* subsystem : {"pci", "usb", "pcmcia"}) {
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, subsystem, nullptr);
    }
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
    std::uint32_t event = 0;
    if (action != nullptr && std::strcmp(action, "add") == 0) {
        event = kDbtDeviceArrival;
    } else if (action != nullptr && std::strcmp(action, "remove") == 0) {
        event = kDbtDeviceRemoveComplete;
    }
    if (event != 0 && subsystem != nullptr) {
        const std::string id =
            InstanceIdentifier(subsystem, Property(device, "PCI_ID"), Property(device, "PRODUCT"),
                               sysName ? sysName : "");
        udev_device_unref(device);
        onEvent_(event, id);
        onEvent_(kDbtDevNodesChanged, {});
        return;
    }
    udev_device_unref(device);
}
