#include "cardlib/CardState.h"

#include "cardshared/Channels.h"
#include "cardshared/Ini.h"

#include <ctime>

namespace cardsim {

namespace {

constexpr std::uint64_t kTxFramesPerSecond = 37;
constexpr std::uint64_t kRxFramesPerSecond = 112;

std::uint64_t ConnectedMs(const CardState& state, std::uint64_t nowMs) {
    const Association& a = state.association;
    return a.connected && nowMs > a.sinceMs ? nowMs - a.sinceMs : 0;
}

std::string Words(const std::uint32_t* words, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += (i == 0 ? "" : ",") + std::to_string(words[i]);
    }
    return text;
}

bool ParseWords(std::string_view text, std::uint32_t* words, std::size_t count, std::uint64_t max) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t comma = i + 1 < count ? text.find(',') : text.size();
        std::uint64_t value = 0;
        if (comma == std::string_view::npos || !ParseUnsigned(text.substr(0, comma), max, value)) {
            return false;
        }
        words[i] = static_cast<std::uint32_t>(value);
        text.remove_prefix(i + 1 < count ? comma + 1 : text.size());
    }
    return true;
}

bool ParseU32(std::string_view text, std::uint32_t& value) {
    std::uint64_t parsed = 0;
    if (!ParseUnsigned(text, 0xFFFFFFFFu, parsed)) {
        return false;
    }
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

bool ParseSettingsEntry(const IniEntry& entry, CardSettings& s) {
    const std::string key = FoldCase(entry.key);
    const std::string& v = entry.value;
    if (key == "infrastructure_mode") {
        return ParseU32(v, s.infrastructureMode);
    }
    if (key == "ssid") {
        if (v.size() > 32) {
            return false;
        }
        s.ssid.fill(0);
        std::copy(v.begin(), v.end(), s.ssid.begin());
        s.ssidLength = static_cast<std::uint32_t>(v.size());
        return true;
    }
    if (key == "configuration") {
        return ParseWords(v, &s.configuration.length, 8, 0xFFFFFFFFu);
    }
    if (key.size() == 4 && key.substr(0, 3) == "key" && key[3] >= '1' && key[3] <= '4') {
        std::vector<std::uint8_t> bytes;
        if (!ParseHexBytes(v, bytes) ||
            (bytes.size() != 0 && bytes.size() != 5 && bytes.size() != 13)) {
            return false;
        }
        WepKey& k = s.keys[static_cast<std::size_t>(key[3] - '1')];
        k = WepKey{};
        k.length = static_cast<std::uint32_t>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), k.bytes.begin());
        return true;
    }
    if (key == "supported_rates") {
        std::uint32_t rates[8] = {};
        if (!ParseWords(v, rates, 8, 255)) {
            return false;
        }
        for (std::size_t i = 0; i < 8; ++i) {
            s.supportedRates[i] = static_cast<std::uint8_t>(rates[i]);
        }
        return true;
    }
    if (key == "domain") {
        std::int64_t domain = 0;
        if (!ParseSigned(v, 0, kDomainCount - 1, domain)) {
            return false;
        }
        s.domain = static_cast<std::int32_t>(domain);
        return true;
    }
    std::uint32_t* word = key == "wep_status"       ? &s.wepStatus
                          : key == "transmit_key"   ? &s.transmitKey
                          : key == "auth_mode"      ? &s.authMode
                          : key == "power_mode"     ? &s.powerMode
                          : key == "frag_threshold" ? &s.fragThreshold
                          : key == "rts_threshold"  ? &s.rtsThreshold
                          : key == "preamble_type"  ? &s.preambleType
                          : key == "gmode"          ? &s.gMode
                                                    : nullptr;
    return word == nullptr || (ParseU32(v, *word) && (word != &s.transmitKey || *word < 4));
}

bool ParseCardEntry(const IniEntry& entry, CardState& state) {
    const std::string key = FoldCase(entry.key);
    const std::string& v = entry.value;
    Association& a = state.association;
    std::uint64_t number = 0;
    if (key == "connected") {
        return ParseBool(v, a.connected);
    }
    if (key == "own_cell") {
        return ParseBool(v, a.ownCell);
    }
    if (key == "bssid") {
        return ParseMac(v, a.bssid);
    }
    if (key == "ssid") {
        a.ssid = v;
        return v.size() <= 32;
    }
    if (key == "channel") {
        return ParseU32(v, a.channel);
    }
    if (key == "mode") {
        return ParseNetMode(v, a.mode);
    }
    if (key == "profile_root") {
        state.profileRoot = v;
        return true;
    }
    if (key == "fail_used") {
        return ParseSigned(v, 0, INT64_MAX, state.failUsed);
    }
    std::uint64_t* word = key == "since_ms"      ? &a.sinceMs
                          : key == "tx_base"     ? &state.txBase
                          : key == "rx_base"     ? &state.rxBase
                          : key == "fail_serial" ? &state.failSerial
                                                 : nullptr;
    if (word == nullptr) {
        return true; // a field only shown to people (counters, signal)
    }
    if (!ParseUnsigned(v, UINT64_MAX, number)) {
        return false;
    }
    *word = number;
    return true;
}

} // namespace

std::uint32_t CardSettings::Channel() const {
    return KhzToChannel(configuration.dsConfig);
}

std::uint64_t WallClockMs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
           static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
}

std::uint64_t TxFrames(const CardState& state, std::uint64_t nowMs) {
    return state.txBase + ConnectedMs(state, nowMs) * kTxFramesPerSecond / 1000u;
}

std::uint64_t RxFrames(const CardState& state, std::uint64_t nowMs) {
    return state.rxBase + ConnectedMs(state, nowMs) * kRxFramesPerSecond / 1000u;
}

void Disconnect(CardState& state, std::uint64_t nowMs) {
    state.txBase = TxFrames(state, nowMs);
    state.rxBase = RxFrames(state, nowMs);
    state.association = Association{};
}

std::string FormatStatus(const CardState& state, std::uint64_t nowMs) {
    const Association& a = state.association;
    const CardSettings& s = state.settings;
    IniWriter out;
    out.Comment("Written by the simulated card library whenever the card's state changes.");
    out.Section("card");
    out.Entry("connected", a.connected ? "1" : "0");
    out.Entry("own_cell", a.ownCell ? "1" : "0");
    out.Entry("bssid", FormatMac(a.bssid.data()));
    out.Entry("ssid", a.ssid);
    out.Entry("channel", std::to_string(a.channel));
    out.Entry("mode", NetModeName(a.mode));
    out.Entry("since_ms", std::to_string(a.sinceMs));
    out.Entry("tx_base", std::to_string(state.txBase));
    out.Entry("rx_base", std::to_string(state.rxBase));
    out.Entry("tx_frames", std::to_string(TxFrames(state, nowMs)));
    out.Entry("rx_frames", std::to_string(RxFrames(state, nowMs)));
    out.Entry("fail_serial", std::to_string(state.failSerial));
    out.Entry("fail_used", std::to_string(state.failUsed));
    out.Entry("profile_root", state.profileRoot);
    out.Entry("updated_ms", std::to_string(nowMs));
    out.Section("settings");
    out.Entry("infrastructure_mode", std::to_string(s.infrastructureMode));
    out.Entry("ssid", s.Ssid());
    out.Entry("configuration", Words(&s.configuration.length, 8));
    out.Entry("wep_status", std::to_string(s.wepStatus));
    for (std::size_t i = 0; i < 4; ++i) {
        out.Entry("key" + std::to_string(i + 1),
                  HexBytes(s.keys[i].bytes.data(), s.keys[i].length));
    }
    out.Entry("transmit_key", std::to_string(s.transmitKey));
    out.Entry("auth_mode", std::to_string(s.authMode));
    out.Entry("power_mode", std::to_string(s.powerMode));
    out.Entry("frag_threshold", std::to_string(s.fragThreshold));
    out.Entry("rts_threshold", std::to_string(s.rtsThreshold));
    out.Entry("preamble_type", std::to_string(s.preambleType));
    out.Entry("gmode", std::to_string(s.gMode));
    std::uint32_t rates[8];
    for (std::size_t i = 0; i < 8; ++i) {
        rates[i] = s.supportedRates[i];
    }
    out.Entry("supported_rates", Words(rates, 8));
    out.Entry("domain", std::to_string(s.domain));
    return out.Text();
}

bool ParseStatus(std::string_view text, CardState& state, std::string& error) {
    IniDocument document;
    if (!ParseIni(text, document, error)) {
        return false;
    }
    CardState parsed = state;
    for (const IniSection& section : document.sections) {
        const bool settings = EqualsFolded(section.name, "settings");
        const bool card = EqualsFolded(section.name, "card");
        for (const IniEntry& entry : section.entries) {
            const bool ok = settings ? ParseSettingsEntry(entry, parsed.settings)
                                     : !card || ParseCardEntry(entry, parsed);
            if (!ok) {
                error =
                    "line " + std::to_string(entry.line) + ": bad value for '" + entry.key + "'";
                return false;
            }
        }
    }
    state = std::move(parsed);
    return true;
}

} // namespace cardsim
