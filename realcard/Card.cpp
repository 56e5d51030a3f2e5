#include "realcard/Card.h"

#include "cardshared/Channels.h"
#include "cardshared/Files.h"
#include "realcard/Interface.h"
#include "realcard/NetworkManager.h"
#include "realcard/Nl80211.h"
#include "realcard/ScanResult.h"

#include <ctime>
#include <linux/nl80211.h>

namespace realcard {

namespace {

std::uint64_t BoottimeNs() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000000ull +
           static_cast<std::uint64_t>(now.tv_nsec);
}

} // namespace

Card& Card::Instance() {
    static Card card;
    return card;
}

bool Card::Present() {
    if (!interface_.empty() && InterfaceUsable(interface_)) {
        return true;
    }
    const std::string chosen = ChooseInterface();
    if (chosen != interface_) {
        supplicant_.Close();
        interface_ = chosen;
        scanned_ = false;
    }
    return !interface_.empty() && InterfaceUsable(interface_);
}

std::uint32_t Card::Ifindex() const {
    return InterfaceIndex(interface_);
}

Live Card::ReadLive() {
    Live live;
    if (!GetInterface(Ifindex(), live.interface)) {
        return live;
    }
    live.read = true;
    std::vector<ScanBss> cache;
    if (GetScan(live.interface.ifindex, cache)) {
        for (const ScanBss& bss : cache) {
            if (bss.hasStatus && (bss.status == NL80211_BSS_STATUS_ASSOCIATED ||
                                  bss.status == NL80211_BSS_STATUS_IBSS_JOINED)) {
                live.bss = bss;
                live.haveBss = true;
                break;
            }
        }
    }
    const bool adhoc = live.interface.iftype == NL80211_IFTYPE_ADHOC;
    // A station's interface does not report its SSID: the network's does.
    if (live.interface.ssid.empty() && live.haveBss) {
        live.interface.ssid = live.bss.ssid;
    }
    // A station is connected once associated; an ad hoc interface once it
    // is in a cell (its own or another's).
    live.connected = adhoc ? !live.interface.ssid.empty() && live.interface.freqMhz != 0
                           : live.haveBss && live.bss.status == NL80211_BSS_STATUS_ASSOCIATED;
    return live;
}

std::uint16_t Card::AllowedChannels() {
    std::uint16_t allowed = cardsim::DomainChannelMask(wanted_.domain);
    InterfaceInfo info;
    WiphyInfo wiphy;
    if (GetInterface(Ifindex(), info) && GetWiphy(info.wiphy, wiphy) &&
        wiphy.enabledChannels != 0) {
        allowed &= wiphy.enabledChannels;
    }
    return allowed;
}

bool Card::NetServiceActive() {
    if (interface_.empty()) {
        return false;
    }
    if (ManagedByNetworkManager(interface_)) {
        return true;
    }
    // A supplicant the library cannot reach owns the interface: someone
    // else configures it, so the utility only watches.
    return supplicant_.Connect(interface_) == Reach::Refused;
}

bool Card::StartScan() {
    if (supplicant_.Connect(interface_) != Reach::Reachable) {
        return false;
    }
    // Only the 2.4 GHz channels the domain allows: what the card would
    // scan, and far quicker than every band of a modern radio.
    std::string frequencies;
    const std::uint16_t allowed = AllowedChannels();
    for (std::uint32_t channel = cardsim::kChannelMin; channel <= cardsim::kChannelMax; ++channel) {
        if (cardsim::ChannelAllowed(allowed, channel)) {
            frequencies += (frequencies.empty() ? "" : ",") +
                           std::to_string(cardsim::ChannelToKhz(channel) / 1000u);
        }
    }
    const std::uint64_t start = BoottimeNs();
    if (!supplicant_.StartScan(frequencies)) {
        return false;
    }
    pendingScanNs_ = start;
    return true;
}

std::vector<TavlSurveyEntry> Card::Survey() {
    if (pendingScanNs_ != 0 && supplicant_.ScanFinished()) {
        scanStartNs_ = pendingScanNs_;
        pendingScanNs_ = 0;
        scanned_ = true;
    }
    // While a scan still runs, what it found so far; else the last
    // finished scan; before any, nothing.
    const std::uint64_t since = pendingScanNs_ != 0 ? pendingScanNs_ : scanStartNs_;
    std::vector<ScanBss> cache;
    if ((!scanned_ && pendingScanNs_ == 0) || !GetScan(Ifindex(), cache)) {
        return {};
    }
    return CurrentScan(cache, since, AllowedChannels());
}

const std::string& Card::Folder() {
    const std::string folder = cardsim::WorldFolderFromEnvironment();
    if (folder != folder_) {
        folder_ = folder;
        profiles_.SetWorldFolder(folder_);
    }
    return folder_;
}

cardsim::ProfileStore& Card::Profiles() {
    Folder();
    return profiles_;
}

} // namespace realcard
