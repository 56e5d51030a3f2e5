// Records as journal fields: "key=value" tokens separated by spaces, each
// token free of spaces (texts are quoted with escapes).
#pragma once

#include "device/tavl.h"

#include <cstdint>
#include <string>

namespace cardsim {

// The HostInfo fields `mask` names, each preceded by a space. Key blocks
// read "keyN={length=20,index=0,tx=1,keyLength=5,key=3A9C17E05B}", or
// "keyN=null"; a malformed block shows its header without the key.
std::string HostFields(const HostInfo& host, std::uint32_t mask);

// The WirelessReg fields the utility sets, each preceded by a space.
std::string RegFields(const WirelessReg& reg);

} // namespace cardsim
