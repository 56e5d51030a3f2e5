// A world folder of its own for one test (the card recorder's, its record
// and journal off) with empty air: the card library linked into the test
// follows it while the object lives.
#pragma once

#include "cardlib/World.h"
#include "device/tavl.h"
#include "tests/fakes/CardRecorder.h"

#include <string>

class SimHome : public CardRecorder {
public:
    SimHome();
};

// A world with no networks in the air, surveys that finish at once, and no
// failure injection.
cardsim::World EmptyWorld();
cardsim::Network MakeNet(const std::string& ssid, const std::string& bssid, std::uint32_t channel,
                         std::int32_t signal,
                         cardsim::NetMode mode = cardsim::NetMode::Infrastructure);

// Sends the settings the utility's applies send (mode, SSID, channel, WEP
// with keys and transmit key index). Keys are hexadecimal texts; an empty
// list turns WEP off. Returns the failed mask.
std::uint32_t ApplySettings(std::uint32_t mode, const std::string& ssid, std::uint32_t channel,
                            const std::vector<std::string>& keys = {}, int transmitKey = 0);

// A profile record named `name` on `channel`, its reserved bytes filled
// with a pattern of the channel.
WirelessReg Record(const char* name, std::uint32_t channel);

// The failed mask of a write or read of the fields in `mask`; without a
// record the write sends infrastructure mode and the SSID "any".
std::uint32_t SetMask(std::uint32_t mask, const HostInfo* host);
std::uint32_t SetMask(std::uint32_t mask);
std::uint32_t GetMask(std::uint32_t mask, HostInfo* host);

// The card's media connect status (0 connected, 1 not) and BSSID text.
std::uint32_t MediaStatus();
std::string CurrentBssid();
// Starts a site survey and returns the count its result reports.
std::uint32_t SurveyCount();
