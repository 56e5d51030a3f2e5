#include "platform/UdevMonitor.h"
#include "support/MessageChannel.h"

#include <gtest/gtest.h>

// A card's bus device gives arrival or removal, then device nodes changed;
// a wireless interface or an rfkill switch gives device nodes changed
// alone, which makes the utility look for the card again.
TEST(UdevMonitorEvents, EachActionGivesItsDeviceChangeEvents) {
    using Events = std::array<std::uint32_t, 2>;
    const struct {
        const char* action;
        const char* subsystem;
        Events events;
    } cases[] = {
        {"add", "pci", {kDbtDeviceArrival, kDbtDevNodesChanged}},
        {"remove", "usb", {kDbtDeviceRemoveComplete, kDbtDevNodesChanged}},
        {"change", "pci", {0, 0}},
        {"add", "net", {kDbtDevNodesChanged, 0}},
        {"remove", "net", {kDbtDevNodesChanged, 0}},
        {"move", "net", {0, 0}},
        {"change", "rfkill", {kDbtDevNodesChanged, 0}},
        {"add", "", {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UdevMonitor::EventsFor(c.action, c.subsystem), c.events)
            << c.action << " " << c.subsystem;
    }
}
