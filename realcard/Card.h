// The real card as one object: the interface it drives, what the utility
// asked of it (kept, so settings the radio cannot take are remembered and
// read back), the supplicant connection, the scan and the profile store.
// Every exported call holds the one mutex while it works on it.
#pragma once

#include "cardshared/ProfileStore.h"
#include "device/tavl.h"
#include "realcard/Nl80211Decode.h"
#include "realcard/Supplicant.h"
#include "realcard/Wanted.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace realcard {

// What the radio shows now.
struct Live {
    bool read = false; // the kernel answered for the interface
    bool connected = false;
    InterfaceInfo interface;
    ScanBss bss; // the network joined, when connected
    bool haveBss = false;
};

class Card {
public:
    static Card& Instance();
    std::mutex& Mutex() { return mutex_; }

    // Picks the interface again when the one in use is gone; true when a
    // usable one is there.
    bool Present();
    const std::string& InterfaceName() const { return interface_; }
    std::uint32_t Ifindex() const;

    Wanted& Want() { return wanted_; }
    Live ReadLive();
    // The channels the radio may use in the wanted domain.
    std::uint16_t AllowedChannels();

    std::uint32_t Read(std::uint32_t mask, HostInfo& host);
    std::uint32_t Write(std::uint32_t mask, const HostInfo& host);
    // Joins what `wanted_` names; false when the supplicant refuses.
    bool Reconnect();

    bool NetServiceActive();

    bool StartScan();
    std::vector<TavlSurveyEntry> Survey();

    cardsim::ProfileStore& Profiles();
    const std::string& Folder();
    void Close() { supplicant_.Close(); }

private:
    Card() = default;
    bool ApplyPowerSave();
    bool ApplyThresholds();

    std::mutex mutex_;
    std::string interface_;
    Wanted wanted_;
    Supplicant supplicant_;
    std::uint64_t scanStartNs_ = 0;
    std::uint64_t pendingScanNs_ = 0;
    bool scanned_ = false;
    std::string folder_;
    cardsim::ProfileStore profiles_;
};

} // namespace realcard
