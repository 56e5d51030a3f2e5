// The link status the Link Info page shows: the query that fills the link
// status record, and the texts and bar positions made from it.
#pragma once

#include "device/tavl.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class CardLibrary;

// Fields a status query asks for in each phase (0, 1, 2; any other phase
// asks for none). Once the record says infrastructure mode, the signal
// level (0x10) and link quality (0x01000000) are asked for as well.
std::uint32_t LinkStatusMask(int phase, std::uint32_t infrastructureMode);

// Reads the media connection state into record.mediaConnectStatus; when
// connected, reads the phase's fields into `record` with up to two
// GetWLANConfig attempts (the second asks again for what the first could
// not read). Fields not read keep their values. True when the state was
// read and, if connected, every asked field too.
bool QueryLinkStatus(CardLibrary& library, HostInfo& record, int phase);

// The level words of the captions, in this order: "No Signal", "Poor",
// "Good", "Very Good", "Excellent".
using LevelWords = std::array<std::string_view, 5>;

// Both bars of the page (range 0..15) and their captions.
struct LinkBars {
    int signalBar = 0;
    int qualityBar = 0;
    std::string signalCaption;
    std::string qualityCaption;
};

// Bars and captions for a signal percentage `percent` (RssiToPercent of the
// level): the signal caption names the level of the percentage, the link
// quality is the percentage in fifteenths. Words other than "No Signal"
// carry the percentage shown, as in "Good (40%)". Bar positions below 0
// are shown as 0, as a progress bar would.
LinkBars LinkBarsForPercent(int percent, const LevelWords& words);

// "%02X-%02X-%02X-%02X-%02X-%02X".
std::string BssidText(const std::uint8_t (&bssid)[6]);

// The record's SSID: its first ssidLength bytes (at most 32), ending at
// the first zero byte.
std::string LinkSsidText(const HostInfo& record);

// The current transmit rate in whole Mbit/s: the first supported-rates
// byte (units of 500 kbit/s) halved.
int LinkRateMbps(const HostInfo& record);
