// tavlprobe: loads a card library by path and makes the calls the utility
// makes, one check per run, printing one result line per check.
//
//   tavlprobe LIBRARY detect
//   tavlprobe LIBRARY survey [wait=MS] [domain=0..4]
//   tavlprobe LIBRARY join ssid=TEXT [mode=infra|adhoc] [channel=N] [wep=off|64|128]
//                          [passphrase=TEXT | key=HEX] [keyid=1..4] [auth=open|shared|auto]
//                          [domain=0..4] [power=0|1]
//   tavlprobe LIBRARY status [wait=MS]
//   tavlprobe LIBRARY oid
//   tavlprobe LIBRARY set [rts=N] [frag=N] [preamble=N]
//   tavlprobe LIBRARY service
//
// Every check prints "<check> ok ..." or "<check> fail ..." with key=value
// fields (texts in double quotes, MACs as 00:11:22:33:44:55); survey also
// prints one "network ..." line per network before its own line. Exit
// status: 0 ok, 1 the check failed, 2 a usage error or a library that
// cannot be loaded. domain=N, given to any check, is sent with
// TAVL_SetWLDomain first.
//
//   detect   TAVL_Detect: present=0|1 identity="..." mac=...
//   survey   TAVL_SiteSurveyTrigger, a pause of `wait` ms (3000, as the
//            Site Survey page), TAVL_SiteSurveyGet of 7444 bytes:
//            network bssid= ssid="" channel= privacy=0|1 mode=infra|adhoc
//            signal=DBM; then count=N
//   join     the utility's full apply of a record made from the arguments
//            (domain first), then its change apply, whose result counts:
//            mask=0x... (the fields refused)
//   status   waits up to `wait` ms (0) for the media state connected, then
//            the Link Info page's query: connected=0|1 bssid= ssid=""
//            channel= rate=MBPS signal=DBM
//   oid      the three objects: media=0|1 tx=N rx=N
//   set      one TAVL_SetWLANConfig of just the named fields: mask=0x...
//   service  TAVL_Get_XPWZC and TAVL_WinXPWZC_Disabled: active=0|1 disabled=0|1
#include "device/Apply.h"
#include "device/CardLibraryLoader.h"
#include "device/HostState.h"
#include "device/LinkStatus.h"
#include "device/PassphraseKeys.h"
#include "device/Records.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using Args = std::map<std::string, std::string>;

std::string Mac(const std::uint8_t* mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Hex32(std::uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

long Number(const Args& args, const std::string& key, long fallback) {
    const auto it = args.find(key);
    return it == args.end() ? fallback : std::strtol(it->second.c_str(), nullptr, 0);
}

std::string Text(const Args& args, const std::string& key, const std::string& fallback = {}) {
    const auto it = args.find(key);
    return it == args.end() ? fallback : it->second;
}

int Report(const std::string& check, bool ok, const std::string& fields) {
    std::printf("%s %s%s%s\n", check.c_str(), ok ? "ok" : "fail", fields.empty() ? "" : " ",
                fields.c_str());
    std::fflush(stdout);
    return ok ? 0 : 1;
}

void Pause(long ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int Detect(CardLibrary& card) {
    std::uint8_t info[TAVL_DETECT_INFO_SIZE] = {};
    const bool present = card.Detect(info) == 1;
    return Report("detect", present,
                  "present=" + std::to_string(present ? 1 : 0) + " identity=" +
                      Quote(std::string_view(reinterpret_cast<const char*>(info),
                                             strnlen(reinterpret_cast<const char*>(info), 259))) +
                      " mac=" + Mac(info + 260));
}

int Survey(CardLibrary& card, const Args& args) {
    if (card.SiteSurveyTrigger() != 0) {
        return Report("survey", false, "trigger=failed");
    }
    Pause(Number(args, "wait", 3000));
    std::vector<std::uint8_t> buffer(TAVL_SURVEY_BUFFER_SIZE);
    std::uint32_t size = TAVL_SURVEY_BUFFER_SIZE;
    if (card.SiteSurveyGet(buffer.data(), &size) != 1) {
        return Report("survey", false, "get=failed");
    }
    std::uint32_t count = 0;
    std::memcpy(&count, buffer.data(), 4);
    const std::uint32_t fit =
        (TAVL_SURVEY_BUFFER_SIZE - TAVL_SURVEY_HEADER_SIZE) / TAVL_SURVEY_ENTRY_SIZE;
    for (std::uint32_t i = 0; i < count && i < fit; ++i) {
        TavlSurveyEntry e{};
        std::memcpy(&e, buffer.data() + TAVL_SURVEY_HEADER_SIZE + i * TAVL_SURVEY_ENTRY_SIZE,
                    sizeof e);
        const std::size_t ssidLength = e.ssidLength < 32 ? e.ssidLength : 32;
        std::printf("network bssid=%s ssid=%s channel=%u privacy=%u mode=%s signal=%d\n",
                    Mac(e.bssid).c_str(),
                    Quote({reinterpret_cast<const char*>(e.ssid), ssidLength}).c_str(),
                    card.FrequencyToChannel(e.dsConfig), e.privacy,
                    e.infrastructureMode == 1 ? "infra" : "adhoc", e.rssi);
    }
    return Report("survey", true, "count=" + std::to_string(count));
}

bool MakeRecord(const Args& args, WirelessReg& reg) {
    reg = DefaultWirelessReg();
    SetFieldText(reg.profileName, "probe");
    SetFieldText(reg.ssid, Text(args, "ssid"));
    reg.opMode = Text(args, "mode", "infra") == "adhoc" ? 0 : 1;
    reg.channel = static_cast<std::uint32_t>(Number(args, "channel", 6));
    reg.powerSaveMode = static_cast<std::uint32_t>(Number(args, "power", 0));
    const std::string wep = Text(args, "wep", "off");
    reg.encryptionLevel = wep == "64" ? 1 : wep == "128" ? 2 : 0;
    if (wep != "off" && reg.encryptionLevel == 0) {
        return false;
    }
    const std::string auth = Text(args, "auth", "open");
    reg.authType = auth == "shared" ? 1 : auth == "auto" ? 2 : 0;
    reg.defaultKeyId = static_cast<std::int32_t>(Number(args, "keyid", 1) - 1);
    if (reg.encryptionLevel != 0) {
        const std::size_t bytes = reg.encryptionLevel == 1 ? kWepKeyBytes64 : kWepKeyBytes128;
        WepKeyTexts keys;
        if (args.count("passphrase") != 0) {
            keys = MakePassphraseKeys(Text(args, "passphrase"), bytes);
        } else {
            keys.fill(Text(args, "key"));
        }
        for (std::size_t i = 0; i < 4; ++i) {
            if (keys[i].size() != bytes * 2) {
                return false;
            }
            SetFieldText(reg.keyText[i], keys[i]);
        }
    }
    return true;
}

int Join(CardLibrary& card, const Args& args) {
    WirelessReg reg{};
    if (!MakeRecord(args, reg)) {
        std::fprintf(stderr,
                     "tavlprobe: join needs wep=off|64|128 and a key of the right length\n");
        return 2;
    }
    gDomain = static_cast<std::int32_t>(Number(args, "domain", 0));
    ApplyConfiguration(card, reg);
    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_CONFIGURATION;
    card.GetWLANConfig(&mask, &host);
    host.configuration.beaconPeriod = kBeaconPeriod;
    host.configuration.dsConfig =
        FrequencyForChannel(card, reg.channel, host.configuration.dsConfig);
    const auto rates = RatesForCode(reg.txRate);
    std::memcpy(host.supportedRates, rates.data(), rates.size());
    host.GMode = reg.GMode;
    host.infrastructureMode = reg.opMode;
    CopySsid(reg, host);
    host.powerMode = reg.powerSaveMode;
    HostInfo sent = host;
    const bool ok = ApplyHostInfo(card, reg, sent);
    // ApplyHostInfo reports only success; ask once more for the fields that
    // still fail, so the line names them.
    std::uint32_t failed = 0;
    if (!ok) {
        failed = kChangeApplyMask;
        card.SetWLANConfig(&failed, &host);
    }
    return Report("join", ok, "mask=" + Hex32(failed));
}

int Status(CardLibrary& card, const Args& args) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(Number(args, "wait", 0));
    HostInfo host{};
    bool read = false;
    for (;;) {
        host = HostInfo{};
        host.infrastructureMode = 1;
        read = QueryLinkStatus(card, host, 0);
        if ((read && host.mediaConnectStatus == 0) ||
            std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        Pause(500);
    }
    const bool connected = read && host.mediaConnectStatus == 0;
    return Report("status", read,
                  "connected=" + std::to_string(connected ? 1 : 0) + " bssid=" + Mac(host.bssid) +
                      " ssid=" + Quote(LinkSsidText(host)) + " channel=" +
                      std::to_string(card.FrequencyToChannel(host.configuration.dsConfig)) +
                      " rate=" + std::to_string(LinkRateMbps(host)) +
                      " signal=" + std::to_string(static_cast<std::int16_t>(host.rssi)));
}

int Oid(CardLibrary& card) {
    std::uint32_t values[3] = {};
    const std::uint32_t oids[3] = {TAVL_OID_GEN_MEDIA_CONNECT_STATUS, TAVL_OID_GEN_XMIT_OK,
                                   TAVL_OID_GEN_RCV_OK};
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
        std::uint32_t written = 0;
        ok = card.QueryOID(oids[i], &values[i], 4, &written) == 0 && written == 4 && ok;
    }
    return Report("oid", ok,
                  "media=" + std::to_string(values[0]) + " tx=" + std::to_string(values[1]) +
                      " rx=" + std::to_string(values[2]));
}

int Set(CardLibrary& card, const Args& args) {
    HostInfo host{};
    std::uint32_t mask = 0;
    const std::pair<const char*, std::pair<std::uint32_t, std::uint32_t*>> fields[] = {
        {"rts", {TAVL_MASK_RTS_THRESHOLD, &host.rtsThreshold}},
        {"frag", {TAVL_MASK_FRAG_THRESHOLD, &host.fragThreshold}},
        {"preamble", {TAVL_MASK_PREAMBLE, &host.preambleType}},
    };
    for (const auto& [key, field] : fields) {
        if (args.count(key) != 0) {
            mask |= field.first;
            *field.second = static_cast<std::uint32_t>(Number(args, key, 0));
        }
    }
    const std::int32_t result = card.SetWLANConfig(&mask, &host);
    return Report("set", result == 0 && mask == 0, "mask=" + Hex32(mask));
}

int Service(CardLibrary& card) {
    std::uint32_t state = 0;
    const bool ok = card.Get_XPWZC(&state) == 0;
    return Report("service", ok,
                  "active=" + std::to_string(state != 0 ? 1 : 0) +
                      " disabled=" + std::to_string(card.WinXPWZC_Disabled() != 0 ? 1 : 0));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tavlprobe LIBRARY detect|survey|join|status|oid|set|service "
                             "[key=value...]\n");
        return 2;
    }
    Args args;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::size_t eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::fprintf(stderr, "tavlprobe: not key=value: %s\n", arg.c_str());
            return 2;
        }
        args[arg.substr(0, eq)] = arg.substr(eq + 1);
    }
    std::string error;
    std::unique_ptr<CardLibrary> card = LoadCardLibrary(argv[1], error);
    if (!error.empty()) {
        std::fprintf(stderr, "tavlprobe: %s\n", error.c_str());
        return 2;
    }
    card->Init("Pelkor", 0);
    card->SetProfileRoot("Corvane\\Profile");
    if (args.count("domain") != 0) {
        card->SetWLDomain(static_cast<std::int32_t>(Number(args, "domain", 0)));
    }
    const std::string check = argv[2];
    int status = 2;
    if (check == "detect") {
        status = Detect(*card);
    } else if (check == "survey") {
        status = Survey(*card, args);
    } else if (check == "join") {
        status = Join(*card, args);
    } else if (check == "status") {
        status = Status(*card, args);
    } else if (check == "oid") {
        status = Oid(*card);
    } else if (check == "set") {
        status = Set(*card, args);
    } else if (check == "service") {
        status = Service(*card);
    } else {
        std::fprintf(stderr, "tavlprobe: unknown check %s\n", check.c_str());
    }
    card->Terminate();
    return status;
}
