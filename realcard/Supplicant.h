// The interface's wpa_supplicant, reached through its control socket
// (/run/wpa_supplicant/<interface>, or the folder in $TAVL_WPA_CTRL_DIR)
// as a member of its control group. Every change of the radio goes
// through here. The library adds at most one network of its own to the
// supplicant, marked id_str "skerrin", and never touches the others beyond
// what selecting its own does (the supplicant disables the rest while it
// is selected).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct wpa_ctrl;

namespace realcard {

enum class Reach { Reachable, Refused, Missing };

// What the library asks the supplicant to join.
struct JoinRequest {
    std::string ssid;
    bool adhoc = false;
    std::uint32_t freqMhz = 0; // the cell's frequency in ad hoc mode
    bool wep = false;
    std::array<std::vector<std::uint8_t>, 4> keys; // 5 or 13 bytes, empty when unset
    std::uint32_t txKey = 0;
    std::uint32_t auth = 0; // 0 open, 1 shared key, 2 either
    bool operator==(const JoinRequest&) const = default;
};

// The supplicant commands of a join, in order, for the network `id`.
std::vector<std::string> JoinCommands(const std::string& id, const JoinRequest& join);

class Supplicant {
public:
    ~Supplicant() { Close(); }

    // Opens the control socket of `interfaceName` when it is not open yet
    // (or another interface's is); tells whether the supplicant answers.
    Reach Connect(const std::string& interfaceName);
    void Close();

    // Sends one command; false when it cannot be sent or the answer is
    // "FAIL..." (or not "OK" where `wantOk`).
    bool Command(const std::string& command, std::string* reply = nullptr, bool wantOk = true);

    // Starts a scan of the given frequencies (MHz, separated by commas;
    // empty: all) with the event subscription opened first, so the end of
    // the scan cannot be missed.
    bool StartScan(const std::string& frequencies);
    // True once the supplicant reported the end of the scan StartScan began
    // (results or failure), or at once when no subscription could be made.
    bool ScanFinished();

    // Replaces the library's own network with one for `join` and selects
    // it. False when any command fails; the supplicant is then left without
    // the library's network.
    bool Join(const JoinRequest& join);
    // Removes the library's network and, when there was one, lets the
    // supplicant choose among its own networks again.
    bool Release();
    bool Disconnect() { return Command("DISCONNECT"); }

private:
    bool RemoveOwnNetworks(int* removed = nullptr);

    std::string interface_;
    wpa_ctrl* control_ = nullptr;
    wpa_ctrl* monitor_ = nullptr;
    bool scanning_ = false;
    bool haveJoin_ = false;
    JoinRequest lastJoin_;
    std::string lastId_;
};

} // namespace realcard
