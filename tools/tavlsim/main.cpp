// tavlsim: drives the simulated card's world (cardlib/README.md) and sends
// the matching device and power messages to a running utility.
#include "cardlib/World.h"
#include "support/MessageChannel.h"
#include "tools/tavlsim/StatusReport.h"
#include "tools/tavlsim/WorldEdit.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace cardsim;
using tavlsim::LoadWorld;
using tavlsim::SaveWorld;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: tavlsim COMMAND\n"
    "  status                          the card, its association, profiles, networks\n"
    "  card insert|remove              put the card in or take it out\n"
    "  net add ssid=S [bssid=B] [channel=N] [signal=DBM] [mode=infrastructure|adhoc]\n"
    "          [wep=off|64|128] [key1..key4=HEX] [hidden=0|1]\n"
    "  net add SSID [BSSID [CHANNEL [SIGNAL [MODE [WEP]]]]] [key=value...]\n"
    "  net remove BSSID|SSID           take networks out of the air\n"
    "  net set BSSID|SSID key=value... change networks (keys as for net add)\n"
    "  netservice on|off               the desktop's network service takes the card\n"
    "  power suspend|resume            the machine sleeps or wakes\n"
    "  fail set MASK COUNT [get|set|both]  fail those mask bits in the next COUNT\n"
    "                                  calls naming them (-1: every call)\n"
    "  fail clear | fail get           end or show failure injection\n"
    "  fail query on|off               status queries (TAVL_QueryOID) fail\n"
    "  fail detect on|off              detection (TAVL_Detect) finds no card\n"
    "  journal                         print the journal named by TAVL_SIM_JOURNAL\n"
    "The world lives in $TAVL_SIM_HOME (else $XDG_CONFIG_HOME/Corvane).\n";

int Usage(const std::string& why) {
    std::cerr << "tavlsim: " << why << "\n" << kUsage;
    return kExitUsage;
}

int Failure(const std::string& why) {
    std::cerr << "tavlsim: " << why << "\n";
    return kExitFailure;
}

// Delivers messages to a running utility; says so quietly when none runs.
void Tell(const std::vector<ChannelMessage>& messages) {
    for (const ChannelMessage& message : messages) {
        if (!SendChannelLine(FormatChannelLine(message))) {
            std::cout << "(no utility is listening; only the world changed)\n";
            return;
        }
    }
}

ChannelMessage Device(std::uint32_t code) {
    ChannelMessage message;
    message.kind = ChannelMessage::Kind::DeviceChange;
    message.code = code;
    if (code != kDbtDevNodesChanged) {
        message.identifier = kCardInstanceId;
    }
    return message;
}

ChannelMessage Power(std::uint32_t code) {
    ChannelMessage message;
    message.kind = ChannelMessage::Kind::Power;
    message.code = code;
    return message;
}

// Loads the world, lets `edit` change it and saves it.
template <typename Edit> int EditWorld(Edit edit) {
    World world;
    std::string error;
    if (!LoadWorld(world, error)) {
        return Failure(error);
    }
    if (const int status = edit(world); status != 0) {
        return status;
    }
    return SaveWorld(world, error) ? 0 : Failure(error);
}

bool OnOff(const std::string& word, bool& value) {
    if (word == "on" || word == "off") {
        value = word == "on";
        return true;
    }
    return false;
}

int Card(const std::vector<std::string>& args) {
    if (args.size() != 2 || (args[1] != "insert" && args[1] != "remove")) {
        return Usage("card insert|remove");
    }
    const bool insert = args[1] == "insert";
    if (const int status = EditWorld([insert](World& world) {
            world.present = insert;
            return 0;
        });
        status != 0) {
        return status;
    }
    if (insert) {
        Tell({Device(kDbtDeviceArrival), Device(kDbtDevNodesChanged)});
    } else {
        Tell({Device(kDbtDeviceRemoveComplete)});
    }
    return 0;
}

int Net(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        return Usage("net add|remove|set");
    }
    const std::string& verb = args[1];
    if (verb == "add") {
        return EditWorld([&](World& world) {
            if (world.networks.size() >= kMaxNetworks) {
                return Failure("the air is full");
            }
            Network network;
            network.bssid = tavlsim::FreshBssid(world);
            network.ssid.clear();
            std::string error;
            if (!tavlsim::ApplyNetworkArguments(network, {args.begin() + 2, args.end()}, true,
                                                error)) {
                return Usage(error);
            }
            world.networks.push_back(std::move(network));
            return 0;
        });
    }
    if ((verb != "remove" && verb != "set") || args.size() < 3 ||
        (verb == "remove" && args.size() != 3)) {
        return Usage("net remove BSSID|SSID, or net set BSSID|SSID key=value...");
    }
    return EditWorld([&](World& world) {
        const std::vector<std::size_t> selected = tavlsim::SelectNetworks(world, args[2]);
        if (selected.empty()) {
            return Failure("no network " + args[2] + " in the air");
        }
        for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
            if (verb == "remove") {
                world.networks.erase(world.networks.begin() + static_cast<std::ptrdiff_t>(*it));
                continue;
            }
            std::string error;
            if (!tavlsim::ApplyNetworkArguments(world.networks[*it], {args.begin() + 3, args.end()},
                                                false, error)) {
                return Usage(error);
            }
        }
        return 0;
    });
}

int NetService(const std::vector<std::string>& args) {
    bool on = false;
    if (args.size() != 2 || !OnOff(args[1], on)) {
        return Usage("netservice on|off");
    }
    if (const int status = EditWorld([on](World& world) {
            world.netservice = on;
            return 0;
        });
        status != 0) {
        return status;
    }
    Tell({Device(kDbtDevNodesChanged)});
    return 0;
}

int PowerCommand(const std::vector<std::string>& args) {
    if (args.size() != 2 || (args[1] != "suspend" && args[1] != "resume")) {
        return Usage("power suspend|resume");
    }
    const bool suspend = args[1] == "suspend";
    if (const int status = EditWorld([suspend](World& world) {
            world.suspended = suspend;
            return 0;
        });
        status != 0) {
        return status;
    }
    // Query suspend before sleeping; resume suspend and resume automatic after.
    if (suspend) {
        Tell({Power(0)});
    } else {
        Tell({Power(7), Power(18)});
    }
    return 0;
}

int Fail(const std::vector<std::string>& args) {
    const std::string verb = args.size() > 1 ? args[1] : "";
    if (verb == "get" && args.size() == 2) {
        World world;
        std::string error;
        if (!LoadWorld(world, error)) {
            return Failure(error);
        }
        tavlsim::PrintFailure(std::cout, world);
        return 0;
    }
    if (verb == "clear" && args.size() == 2) {
        return EditWorld([](World& world) {
            const std::uint64_t serial = world.fail.serial + 1;
            world.fail = FailureSetting{};
            world.fail.serial = serial;
            return 0;
        });
    }
    if (verb == "set" && (args.size() == 4 || args.size() == 5)) {
        std::uint64_t mask = 0;
        std::int64_t count = 0;
        FailCalls calls = FailCalls::Both;
        if (!ParseUnsigned(args[2], 0xFFFFFFFFu, mask) ||
            !ParseSigned(args[3], -1, 1000000000, count) ||
            (args.size() == 5 && !ParseFailCalls(args[4], calls))) {
            return Usage("fail set MASK COUNT [get|set|both]");
        }
        return EditWorld([&](World& world) {
            world.fail.mask = static_cast<std::uint32_t>(mask);
            world.fail.count = count;
            world.fail.calls = calls;
            ++world.fail.serial; // a new setting: its count starts afresh
            return 0;
        });
    }
    bool on = false;
    if ((verb == "query" || verb == "detect") && args.size() == 3 && OnOff(args[2], on)) {
        return EditWorld([&](World& world) {
            (verb == "query" ? world.fail.query : world.fail.detect) = on;
            return 0;
        });
    }
    return Usage("fail set|clear|get|query|detect");
}

int PrintJournal(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Usage("journal takes no arguments");
    }
    const char* path = std::getenv("TAVL_SIM_JOURNAL");
    if (path == nullptr || *path == '\0') {
        return Failure("TAVL_SIM_JOURNAL names no journal");
    }
    std::ifstream in(path);
    if (!in) {
        return Failure(std::string("cannot read the journal ") + path);
    }
    std::cout << in.rdbuf();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return Usage("no command");
    }
    const std::string& command = args[0];
    if (command == "status" && args.size() == 1) {
        World world;
        std::string error;
        if (!LoadWorld(world, error)) {
            return Failure(error);
        }
        tavlsim::PrintStatus(std::cout, world);
        return 0;
    }
    if (command == "card") {
        return Card(args);
    }
    if (command == "net") {
        return Net(args);
    }
    if (command == "netservice") {
        return NetService(args);
    }
    if (command == "power") {
        return PowerCommand(args);
    }
    if (command == "fail") {
        return Fail(args);
    }
    if (command == "journal") {
        return PrintJournal(args);
    }
    if (command == "help" || command == "--help" || command == "-h") {
        std::cout << kUsage;
        return 0;
    }
    return Usage("unknown command '" + command + "'");
}
