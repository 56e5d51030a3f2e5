// Turning udev's device events into the device-change events of the main
// frame: which ones can concern a WLAN card, the identifier each carries,
// and one event for a burst.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What udev reports of one event, as text ("" where absent).
struct UdevEventInfo {
    std::string action;    // "add", "remove", ...
    std::string subsystem; // "pci", "usb", "pcmcia"
    std::string devType;   // "usb_device", "usb_interface", "wlan", ...
    std::string pciClass;  // PCI_CLASS, hexadecimal: "28000"
    std::string pciId;     // PCI_ID: "1A2B:2093"
    std::string product;   // PRODUCT of a USB device: "bda/8179/0"
    std::string usbType;   // TYPE of a USB device: "class/subclass/protocol"
    std::string sysName;   // "0000:03:00.0", "1-2"
};

struct DeviceChange {
    std::uint32_t event = 0; // 0x8000 arrival, 0x8004 removal complete, 7 nodes changed
    std::string identifier;
    bool operator==(const DeviceChange&) const = default;
};

// The arrival or removal of a device that can be the card, with its
// instance identifier ("PCI\VEN_1A2B&DEV_2093\0000:03:00.0",
// "USB\VID_0BDA&PID_8179\1-2", "PCMCIA\..."); a device-nodes change alone
// for a wireless interface added or removed, or an rfkill switch added,
// removed or changed; nothing for anything else: a PCI function that is not
// a network controller, a USB interface or hub, another action, a device
// without its numbers.
std::optional<DeviceChange> CardDeviceChange(const UdevEventInfo& info);

// Collects the changes of one burst (a card's functions, a device's
// re-enumeration) and hands them on as at most one arrival and one removal,
// in the order they first came, followed by one device-nodes change.
class DeviceChangeBurst {
public:
    void Add(const DeviceChange& change);
    bool Empty() const { return changes_.empty(); }
    // The burst's events; the burst is empty again afterwards.
    std::vector<DeviceChange> Take();

private:
    std::vector<DeviceChange> changes_;
};
