#include "tools/tavlsim/StatusReport.h"

#include "cardlib/CardState.h"
#include "cardshared/Channels.h"
#include "cardshared/Files.h"
#include "cardshared/ProfileStore.h"
#include "tools/tavlsim/WorldEdit.h"

#include <iomanip>

namespace tavlsim {

using namespace cardsim;

namespace {

constexpr const char* kDomainNames[kDomainCount] = {"FCC", "ETSI", "SPAIN", "FRANCE", "MKK"};

const char* OnOff(bool value) {
    return value ? "on" : "off";
}

// The card's state as the library last wrote it; false when it has not
// written one yet.
bool ReadCardState(CardState& state) {
    std::string text;
    std::string error;
    return ReadWholeFile(WorldFolder() + "/" + kStatusFileName, text, 64 * 1024) &&
           ParseStatus(text, state, error);
}

std::string Rates(const CardSettings& settings) {
    std::string text;
    for (const std::uint8_t rate : settings.supportedRates) {
        if (rate != 0) {
            text += (text.empty() ? "" : ",") + std::to_string(rate & 0x7F);
        }
    }
    return text;
}

void PrintCard(std::ostream& out, const World& world, const CardState& state) {
    const Association& a = state.association;
    const CardSettings& s = state.settings;
    const std::uint64_t now = WallClockMs();
    if (!a.connected) {
        out << "Association: not connected\n";
    } else {
        out << "Association: connected to " << QuoteText(a.ssid) << " " << FormatMac(a.bssid.data())
            << ", channel " << a.channel << ", " << NetModeName(a.mode);
        if (a.ownCell) {
            out << " (own cell)";
        }
        for (const Network& network : world.networks) {
            if (!a.ownCell && network.bssid == a.bssid && network.ssid == a.ssid) {
                out << ", signal " << network.signal << " dBm";
                break;
            }
        }
        out << "\n";
    }
    out << "Frames: sent " << TxFrames(state, now) << ", received " << RxFrames(state, now) << "\n";
    out << "Settings: mode " << (s.infrastructureMode == 1 ? "infrastructure" : "adhoc")
        << ", SSID " << QuoteText(s.Ssid()) << ", channel " << s.Channel() << ", WEP "
        << (s.wepStatus == 0 ? "on" : "off") << ", transmit key " << s.transmitKey + 1 << "\n";
    out << "          keys";
    for (const WepKey& key : s.keys) {
        out << " " << (key.length == 0 ? "-" : HexBytes(key.bytes.data(), key.length));
    }
    out << "\n          auth " << s.authMode << ", power " << s.powerMode << ", frag "
        << s.fragThreshold << ", rts " << s.rtsThreshold << ", preamble " << s.preambleType
        << ", GMode " << s.gMode << ", rates " << Rates(s) << ", domain " << s.domain << " ("
        << kDomainNames[s.domain] << ")\n";
}

void PrintProfiles(std::ostream& out, const CardState& state) {
    ProfileStore store;
    store.SetWorldFolder(WorldFolder());
    if (!state.profileRoot.empty()) {
        store.SetRoot(state.profileRoot.c_str());
    }
    std::string active;
    const bool haveActive = store.GetActive(active) == 0;
    out << "Profiles (" << store.Root() << "): active "
        << (haveActive ? QuoteText(active) : std::string("none")) << "\n";
    for (const std::string& name : store.Names()) {
        out << "  " << QuoteText(name) << "\n";
    }
}

} // namespace

void PrintFailure(std::ostream& out, const World& world) {
    const FailureSetting& fail = world.fail;
    CardState state;
    const bool known = ReadCardState(state) && state.failSerial == fail.serial;
    out << "Failure injection: mask " << HexWord(fail.mask) << ", count " << fail.count << " (used "
        << (known ? state.failUsed : 0) << "), calls " << FailCallsName(fail.calls) << ", query "
        << OnOff(fail.query) << ", detect " << OnOff(fail.detect) << "\n";
}

void PrintStatus(std::ostream& out, const World& world) {
    out << "World folder: " << WorldFolder() << "\n";
    out << "Card: " << (world.present ? "present" : "removed") << ", suspended "
        << OnOff(world.suspended) << ", network service " << OnOff(world.netservice) << "\n";
    const auto& v = world.driverVersion;
    out << "Firmware: " << world.firmware << ", driver " << v[0] << "." << v[1] << "." << v[2]
        << "." << v[3] << ", MAC " << FormatMac(world.mac.data()) << "\n";
    CardState state;
    if (ReadCardState(state)) {
        PrintCard(out, world, state);
    } else {
        out << "Association: the card library has not run here yet\n";
    }
    PrintFailure(out, world);
    PrintProfiles(out, state);
    out << "Networks in the air: " << world.networks.size() << "\n";
    for (const Network& network : world.networks) {
        out << "  " << std::left << std::setw(36) << QuoteText(network.ssid) << " "
            << FormatMac(network.bssid.data()) << "  ch " << std::setw(2) << network.channel << "  "
            << std::setw(4) << network.signal << " dBm  " << std::setw(14)
            << NetModeName(network.mode) << " WEP " << WepLevelName(network.wep)
            << (network.hidden ? " hidden" : "") << "\n";
    }
}

} // namespace tavlsim
