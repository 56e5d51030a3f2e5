// Which udev events reach the main frame, with which identifier, and a
// burst handed on as one.
#include "platform/UdevEvents.h"

#include "support/MessageChannel.h"

#include <gtest/gtest.h>

namespace {

TEST(UdevEvents, OnlyDevicesThatCanBeTheCardReachTheFrame) {
    struct Case {
        UdevEventInfo info;
        std::optional<DeviceChange> expected;
    };
    const Case cases[] = {
        // A PCI network controller, in the identifier form the filter takes.
        {{"add", "pci", "", "28000", "1a2b:2093", "", "", "0000:03:00.0"},
         DeviceChange{kDbtDeviceArrival, "PCI\\VEN_1A2B&DEV_2093\\0000:03:00.0"}},
        {{"remove", "pci", "", "20000", "8086:100E", "", "", "0000:00:03.0"},
         DeviceChange{kDbtDeviceRemoveComplete, "PCI\\VEN_8086&DEV_100E\\0000:00:03.0"}},
        // Other PCI functions, malformed numbers, other actions.
        {{"add", "pci", "", "C0330", "1a2b:2093", "", "", "0000:00:14.0"}, std::nullopt},
        {{"add", "pci", "", "", "1a2b:2093", "", "", "0000:03:00.0"}, std::nullopt},
        {{"add", "pci", "", "28000", "1a2b2093", "", "", "0000:03:00.0"}, std::nullopt},
        {{"bind", "pci", "", "28000", "1a2b:2093", "", "", "0000:03:00.0"}, std::nullopt},
        {{"change", "pci", "", "28000", "1a2b:2093", "", "", "0000:03:00.0"}, std::nullopt},
        // A USB device once, with its numbers padded; its interfaces and hubs not.
        {{"add", "usb", "usb_device", "", "", "bda/8179/0", "0/0/0", "1-2"},
         DeviceChange{kDbtDeviceArrival, "USB\\VID_0BDA&PID_8179\\1-2"}},
        {{"add", "usb", "usb_interface", "", "", "bda/8179/0", "", "1-2:1.0"}, std::nullopt},
        {{"add", "usb", "usb_device", "", "", "1d6b/2/515", "9/0/1", "usb1"}, std::nullopt},
        {{"add", "usb", "usb_device", "", "", "", "0/0/0", "1-2"}, std::nullopt},
        {{"add", "usb", "usb_device", "", "", "12345/1/0", "0/0/0", "1-2"}, std::nullopt},
        {{"add", "pcmcia", "", "", "", "", "", "0.0"},
         DeviceChange{kDbtDeviceArrival, "PCMCIA\\0.0"}},
        {{"add", "input", "", "", "", "", "", "input7"}, std::nullopt},
        // A wireless interface or an rfkill switch: look for the card again.
        {{"remove", "net", "wlan", "", "", "", "", "wlan0"}, DeviceChange{kDbtDevNodesChanged, ""}},
        {{"move", "net", "wlan", "", "", "", "", "wlan0"}, std::nullopt},
        {{"add", "net", "", "", "", "", "", "eth0"}, std::nullopt},
        {{"change", "rfkill", "", "", "", "", "", "rfkill0"},
         DeviceChange{kDbtDevNodesChanged, ""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CardDeviceChange(c.info)) << c.info.sysName;
    }
}

TEST(UdevEvents, ABurstBecomesOneArrivalOneRemovalAndOneNodesChange) {
    DeviceChangeBurst burst;
    EXPECT_TRUE(burst.Take().empty());
    burst.Add({kDbtDevNodesChanged, ""});
    burst.Add({kDbtDeviceRemoveComplete, "PCI\\A"});
    burst.Add({kDbtDeviceArrival, "PCI\\A"});
    burst.Add({kDbtDeviceRemoveComplete, "PCI\\B"});
    burst.Add({kDbtDeviceArrival, "PCI\\B"});
    EXPECT_EQ((std::vector<DeviceChange>{{kDbtDeviceRemoveComplete, "PCI\\A"},
                                         {kDbtDeviceArrival, "PCI\\A"},
                                         {kDbtDevNodesChanged, ""}}),
              burst.Take());
    EXPECT_TRUE(burst.Empty());
}

} // namespace
