// Bringing the record `reg` to the card: the full apply, the change apply
// and the WEP part sent alone.
//
// Every function works on one consistent copy of `reg` (taken with
// SharedReg::Get), so the card never receives a half-written record.
//
// Records whose values are out of range still give well-defined writes:
// - a channel outside 1..14 is not converted; dsConfig keeps the frequency
//   the card reported in the read before the write;
// - an SSID without a terminator is cut at 32 bytes (the most a HostInfo
//   holds) and no terminator is written past the SSID field;
// - a txRate code outside the rate table is sent as one rate byte of that
//   value, the table's rule (RatesForCode); a code above 255 sends its low
//   byte;
// - key texts are read up to their terminator; missing and
//   non-hexadecimal digits count 0;
// - a defaultKeyId outside 0..3 marks no key as the transmit key.
#pragma once

#include "device/CardLibrary.h"
#include "device/Clock.h"

#include <cstdint>
#include <functional>

// Fields of the change apply: infrastructureMode, ssid, supportedRates,
// powerMode, configuration (the WEP part adds its own bits).
inline constexpr std::uint32_t kChangeApplyMask = TAVL_MASK_INFRASTRUCTURE | TAVL_MASK_SSID |
                                                  TAVL_MASK_SUPPORTED_RATES | TAVL_MASK_POWER_MODE |
                                                  TAVL_MASK_CONFIGURATION;

inline constexpr std::uint32_t kBeaconPeriod = 100;
// Pauses of the WEP part sent alone on the Windows 98/Me class.
inline constexpr std::uint32_t kWepAloneAfterFullApplyMs = 3000;
inline constexpr std::uint32_t kWepAloneAfterChangeApplyMs = 500;
inline constexpr std::uint32_t kWepAloneAfterJoinMs = 3000;
inline constexpr std::uint32_t kWepAloneSettleMs = 1500;

// Copies reg.ssid into host.ssid and host.ssidLength: the text up to its
// terminator, at most 32 bytes, the rest of the field zeroed.
void CopySsid(const WirelessReg& reg, HostInfo& host);

// The channel's centre frequency from the card library; a channel outside
// 1..14 gives `current` without asking the library.
std::uint32_t FrequencyForChannel(CardLibrary& library, std::uint32_t channel,
                                  std::uint32_t current);

// Writes `host` with the change-apply fields and the WEP part of `reg`:
// one SetWLANConfig, and a second one with the returned mask when fields
// failed. The key blocks are freed afterwards. True when every field was
// accepted.
bool ApplyHostInfo(CardLibrary& library, const WirelessReg& reg, HostInfo& host);

// The full apply: the regulatory domain (gDomain), then, unless the
// zero-configuration service manages the card (gZeroConfig 1), every
// field of `reg` in one SetWLANConfig, including the thresholds, the
// preamble and the authentication type. Results are not checked.
void ApplyConfiguration(CardLibrary& library, const WirelessReg& reg);

// The change apply into the polling thread's own `host`: reads the radio
// configuration, fills mode, SSID, channel, rates, power saving and GMode
// from `reg` and runs ApplyHostInfo. On success it sends the WEP part alone
// on the Windows 98/Me class (gOsClass 3) and writes `reg` to the
// driver's settings. False when the card refused fields; the driver's
// settings are then left alone.
bool ApplyChange(CardLibrary& library, const WirelessReg& reg, HostInfo& host, Clock& clock);

// One SetWLANConfig carrying only the WEP part of `reg`.
void SendWepPart(CardLibrary& library, const WirelessReg& reg);

// The Windows 98/Me resend: `wait` settleMs, send the WEP part of the
// record `currentReg` gives then, `wait` 1500 ms. The polling thread
// sleeps on its clock; the Site Survey join waits while window messages
// keep flowing, and sends the record as it stands after that wait.
void SendWepPartAfter(CardLibrary& library, const std::function<WirelessReg()>& currentReg,
                      std::uint32_t settleMs, const std::function<void(std::uint32_t ms)>& wait);

// The resend of the polling thread: `reg`, sleeping on `clock`.
inline void SendWepPartAfter(CardLibrary& library, const WirelessReg& reg, Clock& clock,
                             std::uint32_t settleMs) {
    SendWepPartAfter(
        library, [&reg] { return reg; }, settleMs, [&clock](std::uint32_t ms) { clock.Sleep(ms); });
}
