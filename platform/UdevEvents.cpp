#include "platform/UdevEvents.h"

#include "support/MessageChannel.h"

#include <cstdlib>

namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

bool IsHex(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}

// PCI base class 0x02: network controllers (Ethernet, 802.11, ...).
bool IsNetworkController(const std::string& pciClass) {
    if (!IsHex(pciClass) || pciClass.size() > 6) {
        return false;
    }
    return (std::strtoul(pciClass.c_str(), nullptr, 16) >> 16) == 0x02;
}

// "bda/8179/0" as "VID_0BDA&PID_8179".
std::optional<std::string> UsbNumbers(const std::string& product) {
    const std::size_t first = product.find('/');
    const std::size_t second = first == std::string::npos ? first : product.find('/', first + 1);
    if (second == std::string::npos) {
        return std::nullopt;
    }
    std::string vendor = product.substr(0, first);
    std::string device = product.substr(first + 1, second - first - 1);
    if (!IsHex(vendor) || !IsHex(device) || vendor.size() > 4 || device.size() > 4) {
        return std::nullopt;
    }
    vendor.insert(0, 4 - vendor.size(), '0');
    device.insert(0, 4 - device.size(), '0');
    return "VID_" + Upper(vendor) + "&PID_" + Upper(device);
}

} // namespace

std::optional<DeviceChange> CardDeviceChange(const UdevEventInfo& info) {
    const bool addOrRemove = info.action == "add" || info.action == "remove";
    if ((info.subsystem == "net" && info.devType == "wlan" && addOrRemove) ||
        (info.subsystem == "rfkill" && (addOrRemove || info.action == "change"))) {
        return DeviceChange{kDbtDevNodesChanged, {}};
    }
    DeviceChange change;
    if (info.action == "add") {
        change.event = kDbtDeviceArrival;
    } else if (info.action == "remove") {
        change.event = kDbtDeviceRemoveComplete;
    } else {
        return std::nullopt;
    }
    const std::string sys = Upper(info.sysName);
    if (info.subsystem == "pci") {
        const std::string& id = info.pciId;
        if (!IsNetworkController(info.pciClass) || id.size() != 9 || id[4] != ':' ||
            !IsHex(id.substr(0, 4)) || !IsHex(id.substr(5))) {
            return std::nullopt;
        }
        change.identifier =
            "PCI\\VEN_" + Upper(id.substr(0, 4)) + "&DEV_" + Upper(id.substr(5)) + "\\" + sys;
        return change;
    }
    if (info.subsystem == "usb") {
        // One event per device, not one per interface; hubs carry no card.
        const auto numbers = UsbNumbers(info.product);
        if (info.devType != "usb_device" || !numbers || info.usbType.rfind("9/", 0) == 0) {
            return std::nullopt;
        }
        change.identifier = "USB\\" + *numbers + "\\" + sys;
        return change;
    }
    if (info.subsystem == "pcmcia" && !sys.empty()) {
        change.identifier = "PCMCIA\\" + sys;
        return change;
    }
    return std::nullopt;
}

void DeviceChangeBurst::Add(const DeviceChange& change) {
    for (const DeviceChange& held : changes_) {
        if (held.event == change.event) {
            return;
        }
    }
    changes_.push_back(change);
}

std::vector<DeviceChange> DeviceChangeBurst::Take() {
    std::vector<DeviceChange> events;
    for (DeviceChange& change : changes_) {
        if (change.event != kDbtDevNodesChanged) {
            events.push_back(std::move(change));
        }
    }
    if (!changes_.empty()) {
        events.push_back({kDbtDevNodesChanged, {}});
    }
    changes_.clear();
    return events;
}
