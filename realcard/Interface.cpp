#include "realcard/Interface.h"

#include "cardshared/Files.h"
#include "cardshared/Ini.h"
#include "cardshared/Text.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <linux/ethtool.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace realcard {

namespace {

const std::string kNetFolder = "/sys/class/net/";

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

std::string ReadTrimmed(const std::string& path) {
    std::string text;
    if (!cardsim::ReadWholeFile(path, text, 4096)) {
        return {};
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

bool IsWireless(const std::string& name) {
    return Exists(kNetFolder + name + "/phy80211") || Exists(kNetFolder + name + "/wireless");
}

// A valid interface name: what if_nametoindex would accept, never a path.
bool PlainName(const std::string& name) {
    return !name.empty() && name.size() < IFNAMSIZ && name != "." && name != ".." &&
           name.find('/') == std::string::npos;
}

std::string SettingsFilePath() {
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) {
        return {};
    }
    std::string path(exe, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot > slash) {
        path.erase(dot);
    }
    return path + ".bin";
}

unsigned long Hex(const std::string& text) {
    return std::strtoul(text.c_str(), nullptr, 16);
}

std::string Basename(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LinkTarget(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

} // namespace

std::string InterfaceEntry(const std::string& iniText) {
    cardsim::IniDocument document;
    std::string error;
    if (!cardsim::ParseIni(iniText, document, error)) {
        return {};
    }
    for (const cardsim::IniSection& section : document.sections) {
        if (cardsim::EqualsFolded(section.name, "INI")) {
            if (const cardsim::IniEntry* entry = section.Find("Interface")) {
                return PlainName(entry->value) ? entry->value : std::string();
            }
        }
    }
    return {};
}

std::string ChooseInterface() {
    if (const char* named = std::getenv("TAVL_INTERFACE"); named != nullptr && *named != '\0') {
        return PlainName(named) ? named : std::string();
    }
    std::string settings;
    if (cardsim::ReadWholeFile(SettingsFilePath(), settings, 65536)) {
        if (std::string named = InterfaceEntry(settings); !named.empty()) {
            return named;
        }
    }
    std::vector<std::string> names;
    if (DIR* dir = opendir(kNetFolder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (PlainName(name) && IsWireless(name)) {
                names.push_back(name);
            }
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names.empty() ? std::string() : names.front();
}

bool InterfaceUsable(const std::string& name) {
    if (!PlainName(name) || !IsWireless(name)) {
        return false;
    }
    const std::string phy = kNetFolder + name + "/phy80211/";
    bool blocked = false;
    if (DIR* dir = opendir(phy.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (std::strncmp(entry->d_name, "rfkill", 6) == 0) {
                const std::string base = phy + entry->d_name;
                blocked = blocked || ReadTrimmed(base + "/soft") == "1" ||
                          ReadTrimmed(base + "/hard") == "1";
            }
        }
        closedir(dir);
    }
    return !blocked;
}

std::uint32_t InterfaceIndex(const std::string& name) {
    return PlainName(name) ? if_nametoindex(name.c_str()) : 0;
}

std::string IdentityString(const std::string& name) {
    const std::string device = kNetFolder + name + "/device/";
    const std::string vendor = ReadTrimmed(device + "vendor");
    const std::string product = ReadTrimmed(device + "device");
    const std::string bus = Basename(LinkTarget(device + "subsystem"));
    if (bus == "pci" && !vendor.empty() && !product.empty()) {
        char text[96];
        std::snprintf(text, sizeof text, "PCI\\VEN_%04lX&DEV_%04lX&SUBSYS_%04lX%04lX&REV_%02lX\\",
                      Hex(vendor), Hex(product), Hex(ReadTrimmed(device + "subsystem_device")),
                      Hex(ReadTrimmed(device + "subsystem_vendor")),
                      Hex(ReadTrimmed(device + "revision")));
        return text + name;
    }
    std::string upper = bus.empty() ? std::string("NET") : bus;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const std::string driver = Basename(LinkTarget(device + "driver"));
    return upper + "\\" + (driver.empty() ? std::string() : driver + "\\") + name;
}

bool InterfaceMac(const std::string& name, std::array<std::uint8_t, 6>& mac) {
    cardsim::Mac parsed{};
    if (!PlainName(name) ||
        !cardsim::ParseMac(ReadTrimmed(kNetFolder + name + "/address"), parsed)) {
        return false;
    }
    std::copy(parsed.begin(), parsed.end(), mac.begin());
    return true;
}

bool FrameCounter(const std::string& name, const char* which, std::uint64_t& value) {
    if (!PlainName(name)) {
        return false;
    }
    const std::string text = ReadTrimmed(kNetFolder + name + "/statistics/" + which);
    return !text.empty() && cardsim::ParseUnsigned(text, UINT64_MAX, value);
}

std::string FirmwareText(const std::string& name) {
    if (!PlainName(name)) {
        return {};
    }
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return {};
    }
    ethtool_drvinfo info{};
    info.cmd = ETHTOOL_GDRVINFO;
    ifreq request{};
    std::memcpy(request.ifr_name, name.c_str(), name.size());
    request.ifr_data = reinterpret_cast<char*>(&info);
    const bool ok = ioctl(fd, SIOCETHTOOL, &request) == 0;
    close(fd);
    if (!ok) {
        return {};
    }
    const std::string firmware(cardsim::BoundedText(info.fw_version, sizeof info.fw_version));
    if (!firmware.empty() && firmware != "N/A") {
        return firmware;
    }
    return std::string(cardsim::BoundedText(info.version, sizeof info.version));
}

} // namespace realcard
