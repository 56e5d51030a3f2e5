// The world file as tavlsim reads and writes it.
#pragma once

#include "cardlib/World.h"

#include <string>
#include <vector>

namespace tavlsim {

// Reads the world file of the world folder; a missing file is the default
// world. False with `error` when the file is unreadable or corrupt: tavlsim
// never writes over a file it could not read.
bool LoadWorld(cardsim::World& world, std::string& error);
// Replaces the world file at once (temporary file and rename).
bool SaveWorld(const cardsim::World& world, std::string& error);

std::string WorldFolder();

// "key=value" arguments applied to a network; false with `error` for a
// malformed argument or a value out of range. With `positional`, leading
// arguments without '=' stand for ssid, bssid, channel, signal, mode and
// wep, in that order ("Cafe" 00:11:22:33:44:55 1 -60 infrastructure).
bool ApplyNetworkArguments(cardsim::Network& network, const std::vector<std::string>& arguments,
                           bool positional, std::string& error);

// The networks named by `selector`: a BSSID, else an SSID.
std::vector<std::size_t> SelectNetworks(const cardsim::World& world, const std::string& selector);

// A BSSID no network of the world has yet.
cardsim::Mac FreshBssid(const cardsim::World& world);

} // namespace tavlsim
