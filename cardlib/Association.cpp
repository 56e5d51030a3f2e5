#include "cardlib/Association.h"

#include "cardshared/Channels.h"

#include <algorithm>

namespace cardsim {

namespace {

bool SameNetwork(const Network& network, const Association& association) {
    return network.bssid == association.bssid && network.ssid == association.ssid &&
           network.mode == association.mode;
}

Association Joined(const Network& network, std::uint64_t nowMs) {
    Association association;
    association.connected = true;
    association.bssid = network.bssid;
    association.ssid = network.ssid;
    association.channel = network.channel;
    association.mode = network.mode;
    association.sinceMs = nowMs;
    return association;
}

bool OwnCellStillFits(const CardSettings& settings, const Association& current) {
    return current.connected && current.ownCell && settings.infrastructureMode == 0 &&
           !WildcardSsid(settings) && current.ssid == settings.Ssid() &&
           current.channel == settings.Channel() &&
           ChannelAllowed(DomainChannelMask(settings.domain), current.channel);
}

} // namespace

bool WildcardSsid(const CardSettings& settings) {
    return settings.ssidLength == 0 || settings.Ssid() == "any";
}

bool Accepts(const CardSettings& settings, const Network& network) {
    const bool infrastructure = network.mode == NetMode::Infrastructure;
    if (settings.infrastructureMode != (infrastructure ? 1u : 0u)) {
        return false;
    }
    if (!ChannelAllowed(DomainChannelMask(settings.domain), network.channel) ||
        network.signal < kSensitivityDbm) {
        return false;
    }
    const bool ssidMatches =
        WildcardSsid(settings) ? !network.hidden : settings.Ssid() == network.ssid;
    if (!ssidMatches || (!infrastructure && network.channel != settings.Channel())) {
        return false;
    }
    const bool cardWep = settings.wepStatus == 0;
    if (network.wep == WepLevel::Off) {
        return !cardWep;
    }
    if (!cardWep || settings.transmitKey > 3) {
        return false;
    }
    const WepKey& key = settings.keys[settings.transmitKey];
    const auto& wanted = network.keys[settings.transmitKey];
    return key.length == WepKeyLength(network.wep) && wanted.size() == key.length &&
           std::equal(wanted.begin(), wanted.end(), key.bytes.begin());
}

Association ChooseAssociation(const CardSettings& settings, const World& world,
                              const Association& current, std::uint64_t nowMs) {
    if (current.connected && !current.ownCell) {
        for (const Network& network : world.networks) {
            if (SameNetwork(network, current) && Accepts(settings, network)) {
                Association kept = current;
                kept.channel = network.channel;
                return kept;
            }
        }
    }
    if (OwnCellStillFits(settings, current)) {
        return current;
    }
    const Network* best = nullptr;
    for (const Network& network : world.networks) {
        if (Accepts(settings, network) && (best == nullptr || network.signal > best->signal)) {
            best = &network;
        }
    }
    if (best != nullptr) {
        return Joined(*best, nowMs);
    }
    const std::uint32_t channel = settings.Channel();
    if (settings.infrastructureMode == 0 && !WildcardSsid(settings) &&
        ChannelAllowed(DomainChannelMask(settings.domain), channel)) {
        Association cell;
        cell.connected = true;
        cell.ownCell = true;
        cell.bssid = world.mac;
        // An ad hoc cell's BSSID is a locally administered, individual address.
        cell.bssid[0] = static_cast<std::uint8_t>((cell.bssid[0] | 0x02) & 0xFE);
        cell.ssid = std::string(settings.Ssid());
        cell.channel = channel;
        cell.mode = NetMode::AdHoc;
        cell.sinceMs = nowMs;
        return cell;
    }
    return Association{};
}

const Network* AssociatedNetwork(const World& world, const Association& association) {
    if (!association.connected || association.ownCell) {
        return nullptr;
    }
    for (const Network& network : world.networks) {
        if (SameNetwork(network, association)) {
            return &network;
        }
    }
    return nullptr;
}

} // namespace cardsim
