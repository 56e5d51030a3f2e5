// The Encryption page's apply on the card: the WEP part of a configuration
// write made from the keys, the record stored as the active profile, the
// write sent inside the access handshake, and the card made to associate
// again. No widget: the page hands in plain values.
#pragma once

#include "pages/EncryptionKeys.h"

#include <functional>

struct PageContext;

// What the page applies: the level (0 turns WEP off), the transmit key
// (0 to 3) and the four hexadecimal keys of the level.
struct WepApply {
    int level;
    int defaultKey;
    KeyTexts hex;
};

// Stores `reg` of the context as the active profile, sends the WEP part of
// `apply` to the card (again when the first write leaves settings
// unapplied) and sets the SSID to a name no network carries and back to
// the record's own, which makes the card associate again. `onFailure`
// runs, still inside the handshake, when the card refuses the settings.
void ApplyWepToCard(const PageContext& context, const WepApply& apply,
                    const std::function<void()>& onFailure);
