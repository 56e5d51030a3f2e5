#include "cardlib/World.h"

#include "cardshared/Channels.h"
#include "cardshared/Ini.h"

namespace cardsim {

namespace {

Network MakeNetwork(std::string ssid, Mac bssid, std::uint32_t channel, std::int32_t signal,
                    NetMode mode) {
    Network network;
    network.ssid = std::move(ssid);
    network.bssid = bssid;
    network.channel = channel;
    network.signal = signal;
    network.mode = mode;
    return network;
}

bool Fail(std::string& error, int line, const std::string& why) {
    error = "line " + std::to_string(line) + ": " + why;
    return false;
}

bool ParseCard(const IniSection& section, World& world, std::string& error) {
    for (const IniEntry& entry : section.entries) {
        const std::string key = FoldCase(entry.key);
        const std::string& value = entry.value;
        bool ok = true;
        std::uint64_t number = 0;
        if (key == "present") {
            ok = ParseBool(value, world.present);
        } else if (key == "suspended") {
            ok = ParseBool(value, world.suspended);
        } else if (key == "netservice") {
            ok = ParseBool(value, world.netservice);
        } else if (key == "firmware") {
            ok = value.size() < 80;
            world.firmware = value;
        } else if (key == "driver_version") {
            std::string_view rest = value;
            for (std::size_t i = 0; i < 4 && ok; ++i) {
                const std::size_t dot = i < 3 ? rest.find('.') : rest.size();
                ok = dot != std::string_view::npos &&
                     ParseUnsigned(rest.substr(0, dot), 0xFFFFFFFFu, number);
                world.driverVersion[i] = static_cast<std::uint32_t>(number);
                rest.remove_prefix(ok && i < 3 ? dot + 1 : rest.size());
            }
        } else if (key == "mac") {
            ok = ParseMac(value, world.mac);
        } else if (key == "scan_time_ms") {
            ok = ParseUnsigned(value, 60000, number);
            world.scanMs = static_cast<std::uint32_t>(number);
        } else {
            return Fail(error, entry.line, "unknown key '" + entry.key + "' in [card]");
        }
        if (!ok) {
            return Fail(error, entry.line, "bad value for '" + entry.key + "'");
        }
    }
    return true;
}

bool ParseFail(const IniSection& section, World& world, std::string& error) {
    FailureSetting& fail = world.fail;
    for (const IniEntry& entry : section.entries) {
        const std::string key = FoldCase(entry.key);
        bool ok = true;
        std::uint64_t number = 0;
        if (key == "mask") {
            ok = ParseUnsigned(entry.value, 0xFFFFFFFFu, number);
            fail.mask = static_cast<std::uint32_t>(number);
        } else if (key == "count") {
            ok = ParseSigned(entry.value, -1, 1000000000, fail.count);
        } else if (key == "calls") {
            ok = ParseFailCalls(entry.value, fail.calls);
        } else if (key == "query") {
            ok = ParseBool(entry.value, fail.query);
        } else if (key == "detect") {
            ok = ParseBool(entry.value, fail.detect);
        } else if (key == "serial") {
            ok = ParseUnsigned(entry.value, UINT64_MAX, fail.serial);
        } else {
            return Fail(error, entry.line, "unknown key '" + entry.key + "' in [fail]");
        }
        if (!ok) {
            return Fail(error, entry.line, "bad value for '" + entry.key + "'");
        }
    }
    return true;
}

bool ParseNetwork(const IniSection& section, World& world, std::string& error) {
    if (world.networks.size() >= kMaxNetworks) {
        return Fail(error, section.line, "too many networks");
    }
    Network network;
    bool haveSsid = false;
    bool haveBssid = false;
    for (const IniEntry& entry : section.entries) {
        std::string why;
        if (!SetNetworkField(network, FoldCase(entry.key), entry.value, why)) {
            return Fail(error, entry.line, why);
        }
        haveSsid = haveSsid || EqualsFolded(entry.key, "ssid");
        haveBssid = haveBssid || EqualsFolded(entry.key, "bssid");
    }
    if (!haveSsid || !haveBssid) {
        return Fail(error, section.line, "a network needs ssid and bssid");
    }
    FitNetworkKeys(network);
    std::string why;
    if (!CheckNetwork(network, why)) {
        return Fail(error, section.line, why);
    }
    world.networks.push_back(std::move(network));
    return true;
}

} // namespace

std::uint32_t WepKeyLength(WepLevel level) {
    switch (level) {
    case WepLevel::Off:
        return 0;
    case WepLevel::Wep64:
        return 5;
    case WepLevel::Wep128:
        return 13;
    }
    return 0;
}

World DefaultWorld() {
    World world;
    world.networks.push_back(MakeNetwork("Corvane", {0x00, 0x0C, 0x2B, 0x4A, 0x10, 0x01}, 6, -48,
                                         NetMode::Infrastructure));
    Network office = MakeNetwork("Harbour Office", {0x00, 0x0C, 0x2B, 0x4A, 0x10, 0x02}, 11, -67,
                                 NetMode::Infrastructure);
    office.wep = WepLevel::Wep64;
    office.keys = {std::vector<std::uint8_t>{0x3A, 0x9C, 0x17, 0xE0, 0x5B},
                   std::vector<std::uint8_t>{0x11, 0x22, 0x33, 0x44, 0x55},
                   std::vector<std::uint8_t>{0x66, 0x77, 0x88, 0x99, 0xAA},
                   std::vector<std::uint8_t>{0xBB, 0xCC, 0xDD, 0xEE, 0xFF}};
    world.networks.push_back(std::move(office));
    world.networks.push_back(
        MakeNetwork("Workshop Cell", {0x02, 0x0C, 0x2B, 0x77, 0x31, 0x05}, 3, -74, NetMode::AdHoc));
    return world;
}

bool CheckNetwork(const Network& network, std::string& error) {
    if (network.ssid.empty() || network.ssid.size() > 32) {
        error = "the SSID must have 1 to 32 bytes";
        return false;
    }
    if (ChannelToKhz(network.channel) == 0) {
        error = "the channel must be 1 to 14";
        return false;
    }
    if (network.signal < -120 || network.signal > 0) {
        error = "the signal must be -120 to 0 dBm";
        return false;
    }
    const std::uint32_t length = WepKeyLength(network.wep);
    for (const auto& key : network.keys) {
        if (key.size() != length) {
            error = length == 0 ? "keys without WEP"
                                : "each key must have " + std::to_string(length * 2) +
                                      " hexadecimal digits";
            return false;
        }
    }
    return true;
}

bool SetNetworkField(Network& network, std::string_view key, std::string_view value,
                     std::string& error) {
    bool ok = true;
    std::uint64_t number = 0;
    std::int64_t signedNumber = 0;
    if (key == "ssid") {
        network.ssid = std::string(value);
        ok = !value.empty() && value.size() <= 32;
    } else if (key == "bssid") {
        ok = ParseMac(value, network.bssid);
    } else if (key == "channel") {
        ok = ParseUnsigned(value, 14, number) && number >= 1;
        network.channel = static_cast<std::uint32_t>(number);
    } else if (key == "signal") {
        ok = ParseSigned(value, -120, 0, signedNumber);
        network.signal = static_cast<std::int32_t>(signedNumber);
    } else if (key == "mode") {
        ok = ParseNetMode(value, network.mode);
    } else if (key == "wep") {
        ok = ParseWepLevel(value, network.wep);
    } else if (key.size() == 4 && key.substr(0, 3) == "key" && key[3] >= '1' && key[3] <= '4') {
        ok = ParseHexBytes(value, network.keys[static_cast<std::size_t>(key[3] - '1')]);
    } else if (key == "hidden") {
        ok = ParseBool(value, network.hidden);
    } else {
        error = "unknown network key '" + std::string(key) + "'";
        return false;
    }
    if (!ok) {
        error = "bad value for '" + std::string(key) + "'";
    }
    return ok;
}

void FitNetworkKeys(Network& network) {
    const std::uint32_t length = WepKeyLength(network.wep);
    for (auto& key : network.keys) {
        if (length == 0) {
            key.clear();
        } else if (key.empty()) {
            key.assign(length, 0);
        }
    }
}

bool ParseWorld(std::string_view text, World& world, std::string& error) {
    IniDocument document;
    if (!ParseIni(text, document, error)) {
        return false;
    }
    World parsed;
    for (const IniSection& section : document.sections) {
        const std::string name = FoldCase(section.name);
        bool ok = true;
        if (name == "card") {
            ok = ParseCard(section, parsed, error);
        } else if (name == "fail") {
            ok = ParseFail(section, parsed, error);
        } else if (name == "network") {
            ok = ParseNetwork(section, parsed, error);
        } else {
            return Fail(error, section.line, "unknown section [" + section.name + "]");
        }
        if (!ok) {
            return false;
        }
    }
    world = std::move(parsed);
    return true;
}

std::string FormatWorld(const World& world) {
    IniWriter out;
    out.Comment("The simulated LK2093 and the networks in the air. Edit it by hand or with");
    out.Comment("tavlsim; the card library reads it again whenever it changes.");
    out.Section("card");
    out.Entry("present", world.present ? "1" : "0");
    out.Entry("suspended", world.suspended ? "1" : "0");
    out.Entry("netservice", world.netservice ? "1" : "0");
    out.Entry("firmware", world.firmware);
    out.Entry("driver_version", std::to_string(world.driverVersion[0]) + "." +
                                    std::to_string(world.driverVersion[1]) + "." +
                                    std::to_string(world.driverVersion[2]) + "." +
                                    std::to_string(world.driverVersion[3]));
    out.Entry("mac", FormatMac(world.mac.data()));
    out.Entry("scan_time_ms", std::to_string(world.scanMs));
    out.Section("fail");
    out.Entry("mask", HexWord(world.fail.mask));
    out.Entry("count", std::to_string(world.fail.count));
    out.Entry("calls", FailCallsName(world.fail.calls));
    out.Entry("query", world.fail.query ? "1" : "0");
    out.Entry("detect", world.fail.detect ? "1" : "0");
    out.Entry("serial", std::to_string(world.fail.serial));
    for (const Network& network : world.networks) {
        out.Section("network");
        out.Entry("ssid", network.ssid);
        out.Entry("bssid", FormatMac(network.bssid.data()));
        out.Entry("channel", std::to_string(network.channel));
        out.Entry("signal", std::to_string(network.signal));
        out.Entry("mode", NetModeName(network.mode));
        out.Entry("wep", WepLevelName(network.wep));
        if (network.wep != WepLevel::Off) {
            for (std::size_t i = 0; i < 4; ++i) {
                out.Entry("key" + std::to_string(i + 1),
                          HexBytes(network.keys[i].data(), network.keys[i].size()));
            }
        }
        if (network.hidden) {
            out.Entry("hidden", "1");
        }
    }
    return out.Text();
}

std::string_view NetModeName(NetMode mode) {
    switch (mode) {
    case NetMode::Infrastructure:
        return "infrastructure";
    case NetMode::AdHoc:
        return "adhoc";
    }
    return "";
}

bool ParseNetMode(std::string_view text, NetMode& mode) {
    if (EqualsFolded(text, "infrastructure") || EqualsFolded(text, "infra")) {
        mode = NetMode::Infrastructure;
        return true;
    }
    if (EqualsFolded(text, "adhoc") || EqualsFolded(text, "ad-hoc")) {
        mode = NetMode::AdHoc;
        return true;
    }
    return false;
}

std::string_view WepLevelName(WepLevel level) {
    switch (level) {
    case WepLevel::Off:
        return "off";
    case WepLevel::Wep64:
        return "64";
    case WepLevel::Wep128:
        return "128";
    }
    return "";
}

bool ParseWepLevel(std::string_view text, WepLevel& level) {
    if (EqualsFolded(text, "off") || text == "0") {
        level = WepLevel::Off;
    } else if (text == "64") {
        level = WepLevel::Wep64;
    } else if (text == "128") {
        level = WepLevel::Wep128;
    } else {
        return false;
    }
    return true;
}

std::string_view FailCallsName(FailCalls calls) {
    switch (calls) {
    case FailCalls::Both:
        return "both";
    case FailCalls::Get:
        return "get";
    case FailCalls::Set:
        return "set";
    }
    return "";
}

bool ParseFailCalls(std::string_view text, FailCalls& calls) {
    if (EqualsFolded(text, "both")) {
        calls = FailCalls::Both;
    } else if (EqualsFolded(text, "get")) {
        calls = FailCalls::Get;
    } else if (EqualsFolded(text, "set")) {
        calls = FailCalls::Set;
    } else {
        return false;
    }
    return true;
}

} // namespace cardsim
