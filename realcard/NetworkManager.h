// Whether NetworkManager manages an interface: its device's "Managed"
// property on the system bus. The interface is handed to the utility with
// `nmcli device set <interface> managed no`; the library never changes it.
#pragma once

#include <string>

namespace realcard {

// False when NetworkManager is not running, does not know the interface,
// or the bus cannot be reached within half a second.
bool ManagedByNetworkManager(const std::string& interfaceName);

} // namespace realcard
