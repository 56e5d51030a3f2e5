// The wireless interface as the system shows it in /sys/class/net: which
// one is the card, whether it is there and not blocked by rfkill, its
// identity, frame counters and driver information.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace realcard {

// The interface the library drives: $TAVL_INTERFACE when set, else the
// entry "Interface" of section "INI" in the settings file beside the
// program (its path with the extension ".bin"), else the first wireless
// interface in name order. Empty when there is none.
std::string ChooseInterface();

// Reads `Interface=` from section "INI" of an INI text; empty when absent.
std::string InterfaceEntry(const std::string& iniText);

// The interface exists, is wireless and no rfkill switch blocks its radio.
bool InterfaceUsable(const std::string& name);

std::uint32_t InterfaceIndex(const std::string& name);

// "PCI\VEN_xxxx&DEV_xxxx&SUBSYS_xxxxxxxx&REV_xx\<name>" when the interface
// sits on a PCI device, else "<BUS>\<driver>\<name>" ("NET" for a virtual
// radio); the form the utility's identifier filter expects.
std::string IdentityString(const std::string& name);

bool InterfaceMac(const std::string& name, std::array<std::uint8_t, 6>& mac);

// statistics/tx_packets or rx_packets; false when unreadable.
bool FrameCounter(const std::string& name, const char* which, std::uint64_t& value);

// ETHTOOL_GDRVINFO: the firmware version, else the driver's own version.
std::string FirmwareText(const std::string& name);

} // namespace realcard
