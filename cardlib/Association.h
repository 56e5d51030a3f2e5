// When the card associates, and with which network.
#pragma once

#include "cardlib/CardState.h"
#include "cardlib/World.h"

#include <cstdint>

namespace cardsim {

// Weakest signal the card still associates at; weaker networks show in a
// survey but cannot be joined.
inline constexpr std::int32_t kSensitivityDbm = -90;

// True when the card's SSID is "any" or empty: it joins any network.
bool WildcardSsid(const CardSettings& settings);

// The card with `settings` can associate with `network` when: the modes
// agree; the network's channel is allowed in the card's domain and its
// signal reaches kSensitivityDbm; the SSIDs are equal (or the card's is a
// wildcard and the network shows its SSID); an ad hoc cell is on the card's
// channel; and WEP agrees: off on both sides, or on at the card with its
// transmit key equal, in length and bytes, to the network's key of the same
// index.
bool Accepts(const CardSettings& settings, const Network& network);

// The association after a change of settings or of the air. The current
// association is kept while its network still accepts the card, so the
// counters and the BSSID stay steady; otherwise the strongest accepting
// network is joined (the first one in the world file on a tie). In ad hoc
// mode with a named SSID and no cell to join, the card starts its own cell
// on its channel, with a BSSID made from its own address. Otherwise the card
// is not connected.
Association ChooseAssociation(const CardSettings& settings, const World& world,
                              const Association& current, std::uint64_t nowMs);

// The network of the air the association is with, or null (own cell, gone).
const Network* AssociatedNetwork(const World& world, const Association& association);

} // namespace cardsim
