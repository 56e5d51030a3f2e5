// A temporary world folder for one test: TAVL_SIM_HOME points at it while
// the object lives, so the card library (linked into the test) follows it.
#pragma once

#include "cardlib/World.h"
#include "device/tavl.h"

#include <string>

class SimHome {
public:
    SimHome();
    ~SimHome();
    SimHome(const SimHome&) = delete;
    SimHome& operator=(const SimHome&) = delete;

    // The folder that holds the world folder and nothing else.
    const std::string& Parent() const { return parent_; }
    const std::string& Path() const { return path_; }
    std::string Path(const std::string& relative) const { return path_ + "/" + relative; }

    // Replaces the world file (as tavlsim does: temporary file, rename).
    void WriteWorld(const cardsim::World& world) const;
    void WriteFile(const std::string& relative, const std::string& text) const;
    std::string ReadFile(const std::string& relative) const;

private:
    std::string parent_;
    std::string path_;
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
