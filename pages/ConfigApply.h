// The Configuration page's applies: the page's values written into a
// record, and the record brought to `reg`, the profile store and the
// polling thread. No widget: the page hands in plain values.
#pragma once

#include "device/tavl.h"

#include <QString>

#include <cstdint>
#include <optional>

struct PageContext;

// What the page's controls hold. A list with nothing selected is -1 (or
// no channel) and leaves its field of the record alone.
struct ConfigValues {
    int mode = -1;
    std::optional<std::uint32_t> channel;
    QString ssid;
    int powerSave = -1;
};

// Writes the profile name, mode, channel, SSID (up to its first character
// that is not 7-bit ASCII), power saving and the automatic rate (the page
// has no rate control) into `record`.
void WriteConfigValues(WirelessReg& record, const QString& name, const ConfigValues& values);

// Apply Changes: `record` becomes `reg`, is stored as profile `name` and
// made the active profile. A new profile (`creating`) is only stored;
// otherwise the polling thread is asked to bring mode, SSID, channel and
// power saving to the card, and with `fullApply` (a profile picked in the
// list) the whole configuration. With `fullApply` the thread is held from
// before `reg` changes until the requests are raised, so it never applies
// the stored values mixed with the page's.
void ApplyProfile(const PageContext& context, const QString& name, const WirelessReg& record,
                  bool creating, bool fullApply);

// The sheet's OK: profile `name` becomes the active profile and `record`,
// now `reg`, is stored into it; the thread is asked for the parameters,
// and, with `activatesPicked` (a picked profile kept under its own name),
// for the whole configuration, as Activate would bring it.
void CommitProfile(const PageContext& context, const QString& name, const WirelessReg& record,
                   bool activatesPicked);
