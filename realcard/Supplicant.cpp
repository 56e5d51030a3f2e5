#include "realcard/Supplicant.h"

#include "cardshared/Text.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <wpa_ctrl.h>

namespace realcard {

namespace {

constexpr const char* kOwnMark = "skerrin";

std::string ControlPath(const std::string& interfaceName) {
    if (const char* dir = std::getenv("TAVL_WPA_CTRL_DIR"); dir != nullptr && *dir != '\0') {
        return std::string(dir) + "/" + interfaceName;
    }
    for (const char* dir : {"/run/wpa_supplicant", "/var/run/wpa_supplicant"}) {
        const std::string path = std::string(dir) + "/" + interfaceName;
        if (access(path.c_str(), F_OK) == 0) {
            return path;
        }
    }
    return std::string("/run/wpa_supplicant/") + interfaceName;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

std::vector<std::string> JoinCommands(const std::string& id, const JoinRequest& join) {
    const std::string set = "SET_NETWORK " + id + " ";
    std::vector<std::string> commands;
    // The SSID in hexadecimal: any byte of it reaches the supplicant as is.
    commands.push_back(set + "ssid " +
                       cardsim::HexBytes(reinterpret_cast<const std::uint8_t*>(join.ssid.data()),
                                         join.ssid.size()));
    commands.push_back(set + "key_mgmt NONE");
    if (join.adhoc) {
        commands.push_back(set + "mode 1");
        commands.push_back(set + "frequency " + std::to_string(join.freqMhz));
    }
    if (join.wep) {
        for (std::size_t i = 0; i < join.keys.size(); ++i) {
            if (!join.keys[i].empty()) {
                commands.push_back(set + "wep_key" + std::to_string(i) + " " +
                                   cardsim::HexBytes(join.keys[i].data(), join.keys[i].size()));
            }
        }
        commands.push_back(set + "wep_tx_keyidx " + std::to_string(join.txKey));
        commands.push_back(set + "auth_alg " +
                           (join.auth == 0   ? "OPEN"
                            : join.auth == 1 ? "SHARED"
                                             : "OPEN SHARED"));
    }
    commands.push_back(set + "id_str " + Quoted(kOwnMark));
    commands.push_back("SELECT_NETWORK " + id);
    return commands;
}

Reach Supplicant::Connect(const std::string& interfaceName) {
    if (control_ != nullptr && interface_ == interfaceName) {
        std::string pong;
        if (Command("PING", &pong, false) && pong == "PONG") {
            return Reach::Reachable;
        }
    }
    Close();
    const std::string path = ControlPath(interfaceName);
    struct stat info {};
    if (interfaceName.empty()) {
        return Reach::Missing;
    }
    if (stat(path.c_str(), &info) != 0) {
        // A control folder the user may not enter still tells that a
        // supplicant owns the interface.
        return errno == EACCES ? Reach::Refused : Reach::Missing;
    }
    control_ = wpa_ctrl_open(path.c_str());
    if (control_ == nullptr) {
        return Reach::Refused;
    }
    interface_ = interfaceName;
    std::string pong;
    if (!Command("PING", &pong, false) || pong != "PONG") {
        Close();
        return Reach::Refused;
    }
    return Reach::Reachable;
}

void Supplicant::Close() {
    if (monitor_ != nullptr) {
        wpa_ctrl_detach(monitor_);
        wpa_ctrl_close(monitor_);
        monitor_ = nullptr;
    }
    if (control_ != nullptr) {
        wpa_ctrl_close(control_);
        control_ = nullptr;
    }
    scanning_ = false;
    haveJoin_ = false;
    interface_.clear();
}

bool Supplicant::Command(const std::string& command, std::string* reply, bool wantOk) {
    if (control_ == nullptr) {
        return false;
    }
    char buffer[4096];
    std::size_t length = sizeof buffer - 1;
    if (wpa_ctrl_request(control_, command.c_str(), command.size(), buffer, &length, nullptr) !=
        0) {
        return false;
    }
    const std::string answer = Trimmed(std::string(buffer, length));
    if (reply != nullptr) {
        *reply = answer;
    }
    if (answer.rfind("FAIL", 0) == 0 || answer.rfind("UNKNOWN COMMAND", 0) == 0) {
        return false;
    }
    return !wantOk || answer == "OK";
}

bool Supplicant::StartScan(const std::string& frequencies) {
    if (control_ == nullptr) {
        return false;
    }
    if (monitor_ == nullptr) {
        monitor_ = wpa_ctrl_open(ControlPath(interface_).c_str());
        if (monitor_ != nullptr && wpa_ctrl_attach(monitor_) != 0) {
            wpa_ctrl_close(monitor_);
            monitor_ = nullptr;
        }
    }
    // Events of an earlier scan must not end this one.
    while (monitor_ != nullptr && wpa_ctrl_pending(monitor_) > 0) {
        char event[1024];
        std::size_t length = sizeof event - 1;
        if (wpa_ctrl_recv(monitor_, event, &length) != 0) {
            break;
        }
    }
    std::string reply;
    // A scan already running answers FAIL-BUSY: its results serve as well.
    const bool started =
        Command(frequencies.empty() ? std::string("SCAN") : "SCAN freq=" + frequencies, &reply) ||
        reply == "FAIL-BUSY";
    scanning_ = started;
    return started;
}

bool Supplicant::ScanFinished() {
    if (!scanning_) {
        return true;
    }
    if (monitor_ == nullptr) {
        scanning_ = false;
        return true;
    }
    while (wpa_ctrl_pending(monitor_) > 0) {
        char event[1024];
        std::size_t length = sizeof event - 1;
        if (wpa_ctrl_recv(monitor_, event, &length) != 0) {
            break;
        }
        const std::string text(event, length);
        if (text.find(WPA_EVENT_SCAN_RESULTS) != std::string::npos ||
            text.find(WPA_EVENT_SCAN_FAILED) != std::string::npos) {
            scanning_ = false;
        }
    }
    return !scanning_;
}

bool Supplicant::RemoveOwnNetworks(int* removed) {
    std::string list;
    if (!Command("LIST_NETWORKS", &list, false)) {
        return false;
    }
    std::istringstream lines(list);
    std::string line;
    std::getline(lines, line); // the header
    bool ok = true;
    while (std::getline(lines, line)) {
        const std::string id = line.substr(0, line.find('\t'));
        std::string mark;
        if (!id.empty() && Command("GET_NETWORK " + id + " id_str", &mark, false) &&
            (mark == kOwnMark || mark == Quoted(kOwnMark))) {
            ok = Command("REMOVE_NETWORK " + id) && ok;
            if (removed != nullptr) {
                ++*removed;
            }
        }
    }
    return ok;
}

bool Supplicant::Join(const JoinRequest& join) {
    std::string state;
    // The same network again while the supplicant still holds it: nothing
    // to change, and no needless reassociation.
    if (haveJoin_ && join == lastJoin_ &&
        Command("GET_NETWORK " + lastId_ + " id_str", &state, false) && state == Quoted(kOwnMark)) {
        return true;
    }
    haveJoin_ = false;
    std::string id;
    if (!RemoveOwnNetworks() || !Command("ADD_NETWORK", &id, false) || id.empty() ||
        id.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    for (const std::string& command : JoinCommands(id, join)) {
        if (!Command(command)) {
            Command("REMOVE_NETWORK " + id);
            return false;
        }
    }
    haveJoin_ = true;
    lastJoin_ = join;
    lastId_ = id;
    return true;
}

bool Supplicant::Release() {
    haveJoin_ = false;
    int removed = 0;
    if (!RemoveOwnNetworks(&removed)) {
        return false;
    }
    // Only when the library's network had the interface do the others
    // need enabling again; otherwise the supplicant goes on undisturbed.
    return removed == 0 || (Command("ENABLE_NETWORK all") && Command("REASSOCIATE"));
}

} // namespace realcard
