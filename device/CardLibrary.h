// CardLibrary: the one way the utility reaches the card library.
//
// One virtual function per call of tavl.h, with the same arguments and
// results. Production binds it to libtavl3.so with dlopen
// (CardLibraryLoader.h); tests bind it to a recorder over the simulated
// card. Pages and the polling thread never call a TAVL_ function directly.
#pragma once

#include "device/tavl.h"

#include <cstdint>

class CardLibrary {
public:
    virtual ~CardLibrary() = default;

    virtual std::int32_t Init(const char* identity, std::int32_t reserved) = 0;
    virtual std::int32_t Terminate() = 0;
    virtual std::int32_t Detect(std::uint8_t* info) = 0;

    virtual std::int32_t SetProfileRoot(const char* root) = 0;
    virtual std::int32_t GetActiveProfileByType(char* name, std::int32_t type) = 0;
    virtual std::int32_t SetActiveProfileByType(const char* name, std::int32_t type) = 0;
    virtual std::int32_t EnumProfilesByType(std::int32_t index, char* name, std::int32_t type) = 0;
    virtual std::int32_t DeleteProfileByType(const char* name, std::int32_t type) = 0;
    virtual std::int32_t GetProfileWireless(const char* name, WirelessReg* reg) = 0;
    virtual std::int32_t SetProfileWireless(const char* name, const WirelessReg* reg) = 0;
    virtual std::int32_t SetDriverReg(const WirelessReg* reg) = 0;

    virtual std::int32_t GetWLANConfig(std::uint32_t* mask, HostInfo* host) = 0;
    virtual std::int32_t SetWLANConfig(std::uint32_t* mask, const HostInfo* host) = 0;
    virtual std::int32_t SetSSID(const SsidText* ssid) = 0;
    virtual std::int32_t QueryOID(std::uint32_t oid, void* buffer, std::uint32_t length,
                                  std::uint32_t* written) = 0;

    virtual std::uint32_t ChannelToFrequency(std::uint32_t channel) = 0;
    virtual std::uint32_t FrequencyToChannel(std::uint32_t khz) = 0;
    virtual std::int32_t SetWLDomain(std::int32_t domain) = 0;
    virtual std::int32_t SetChannel(const std::uint32_t* channel) = 0;
    virtual std::int32_t SetOperatingMode(const std::uint32_t* mode) = 0;

    virtual std::int32_t SiteSurveyTrigger() = 0;
    virtual std::int32_t SiteSurveyGet(std::uint8_t* buffer, std::uint32_t* size) = 0;

    virtual std::int32_t Get_XPWZC(std::uint32_t* state) = 0;
    virtual std::int32_t WinXPWZC_Disabled() = 0;
    virtual std::int32_t GetWLANDriverPath(char* path) = 0;
};
