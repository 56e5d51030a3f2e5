#include "tools/tavlsim/WorldEdit.h"

#include "cardshared/Files.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tavlsim {

using namespace cardsim;

std::string WorldFolder() {
    return WorldFolderFromEnvironment();
}

bool LoadWorld(World& world, std::string& error) {
    const std::string path = WorldFolder() + "/" + kWorldFileName;
    std::string text;
    if (!ReadWholeFile(path, text, 1u << 20)) {
        if (access(path.c_str(), F_OK) != 0 && errno == ENOENT) {
            world = DefaultWorld();
            return true;
        }
        error = "cannot read the world file " + path;
        return false;
    }
    std::string why;
    if (!ParseWorld(text, world, why)) {
        error = "the world file " + path + " is corrupt (" + why + "); fix it or remove it";
        return false;
    }
    return true;
}

bool SaveWorld(const World& world, std::string& error) {
    const std::string folder = WorldFolder();
    if (!MakeFolders(folder, 0700) ||
        !WriteFileAtomically(folder + "/" + kWorldFileName, FormatWorld(world), 0600, true)) {
        error = "cannot write the world file in " + folder;
        return false;
    }
    return true;
}

bool ApplyNetworkArguments(Network& network, const std::vector<std::string>& arguments,
                           bool positional, std::string& error) {
    static constexpr const char* kPositions[] = {"ssid",   "bssid", "channel",
                                                 "signal", "mode",  "wep"};
    std::size_t position = 0;
    for (const std::string& argument : arguments) {
        const std::size_t equals = argument.find('=');
        const bool named = equals != std::string::npos;
        if (!named && (!positional || position >= std::size(kPositions))) {
            error = "expected key=value, got '" + argument + "'";
            return false;
        }
        positional = positional && !named;
        const std::string key =
            named ? FoldCase(argument.substr(0, equals)) : kPositions[position++];
        if (!SetNetworkField(network, key, named ? argument.substr(equals + 1) : argument, error)) {
            return false;
        }
    }
    FitNetworkKeys(network);
    return CheckNetwork(network, error);
}

std::vector<std::size_t> SelectNetworks(const World& world, const std::string& selector) {
    std::vector<std::size_t> selected;
    Mac bssid{};
    const bool byBssid = ParseMac(selector, bssid);
    for (std::size_t i = 0; i < world.networks.size(); ++i) {
        const Network& network = world.networks[i];
        if (byBssid ? network.bssid == bssid : network.ssid == selector) {
            selected.push_back(i);
        }
    }
    return selected;
}

Mac FreshBssid(const World& world) {
    for (std::uint32_t n = 1;; ++n) {
        const Mac candidate{0x00,
                            0x0C,
                            0x2B,
                            0x5E,
                            static_cast<std::uint8_t>(n >> 8),
                            static_cast<std::uint8_t>(n & 0xFF)};
        bool used = false;
        for (const Network& network : world.networks) {
            used = used || network.bssid == candidate;
        }
        if (!used) {
            return candidate;
        }
    }
}

} // namespace tavlsim
