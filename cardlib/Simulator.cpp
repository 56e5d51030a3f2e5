#include "cardlib/Simulator.h"

#include "cardlib/Association.h"
#include "cardlib/Survey.h"
#include "cardshared/DriverFile.h"
#include "cardshared/Files.h"

#include <cerrno>
#include <cstdio>

namespace cardsim {

namespace {

constexpr std::size_t kStatusFileMax = 64 * 1024;

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

bool SameAssociation(const Association& a, const Association& b) {
    return a.connected == b.connected && a.ownCell == b.ownCell && a.bssid == b.bssid &&
           a.ssid == b.ssid && a.channel == b.channel && a.mode == b.mode && a.sinceMs == b.sinceMs;
}

} // namespace

Simulator& Simulator::Instance() {
    // Destroyed when the library is unloaded (or the process ends); the
    // utility makes no call after TAVL_Terminate, and unloads only then.
    static Simulator simulator;
    return simulator;
}

void Simulator::Refresh() {
    const std::string folder = WorldFolderFromEnvironment();
    if (folder != folder_) {
        ChangeFolder(folder);
        return;
    }
    CheckWorldFile();
}

void Simulator::ChangeFolder(const std::string& folder) {
    folder_ = folder;
    worldPath_ = folder + "/" + kWorldFileName;
    statusPath_ = folder + "/" + kStatusFileName;
    worldFileKnown_ = false;
    usingFallback_ = false;
    profiles_.SetWorldFolder(folder);
    scanPending_ = false;
    scan_.clear();
    state_ = CardState{};
    std::string text;
    std::string error;
    if (ReadWholeFile(statusPath_, text, kStatusFileMax) && !ParseStatus(text, state_, error)) {
        std::fprintf(stderr,
                     "libtavl3: the card status %s is unreadable (%s); the card starts afresh\n",
                     statusPath_.c_str(), error.c_str());
        state_ = CardState{};
    }
    state_.profileRoot = profiles_.Root();
    dirty_ = true;
    CheckWorldFile();
}

void Simulator::CheckWorldFile() {
    struct stat info {};
    if (stat(worldPath_.c_str(), &info) != 0) {
        if (errno == ENOENT && MakeFolders(folder_, 0700) &&
            CreateFileOnce(worldPath_, FormatWorld(DefaultWorld()), 0600) &&
            stat(worldPath_.c_str(), &info) == 0) {
            // Read below like any other world file.
        } else {
            // No world file and none can be made (a read-only folder): the
            // default world, kept in memory.
            if (!usingFallback_) {
                usingFallback_ = true;
                worldFileKnown_ = false;
                world_ = DefaultWorld();
                WorldChanged();
            }
            return;
        }
    }
    if (worldFileKnown_ && SameFile(info, worldFileInfo_)) {
        return;
    }
    worldFileKnown_ = true;
    usingFallback_ = false;
    worldFileInfo_ = info;
    std::string text;
    std::string error = "unreadable";
    World parsed;
    if (ReadWholeFile(worldPath_, text, 1u << 20) && ParseWorld(text, parsed, error)) {
        world_ = std::move(parsed);
    } else {
        std::fprintf(stderr,
                     "libtavl3: the world file %s is corrupt (%s); using the default world\n",
                     worldPath_.c_str(), error.c_str());
        world_ = DefaultWorld();
    }
    WorldChanged();
}

void Simulator::WorldChanged() {
    if (world_.fail.serial != state_.failSerial) {
        state_.failSerial = world_.fail.serial;
        state_.failUsed = 0;
        dirty_ = true;
    }
    if (!CardAnswers()) {
        scanPending_ = false;
    }
    Reassociate();
}

void Simulator::Reassociate() {
    const std::uint64_t now = WallClockMs();
    const Association& current = state_.association;
    Association next =
        CardAnswers() ? ChooseAssociation(state_.settings, world_, current, now) : Association{};
    if (SameAssociation(next, current)) {
        return;
    }
    const bool kept = next.connected && current.connected && next.sinceMs == current.sinceMs &&
                      next.bssid == current.bssid;
    if (!kept) {
        Disconnect(state_, now);
    }
    state_.association = std::move(next);
    dirty_ = true;
}

void Simulator::Finish() {
    if (!dirty_ || folder_.empty()) {
        return;
    }
    dirty_ = false;
    state_.profileRoot = profiles_.Root();
    WriteFileAtomically(statusPath_, FormatStatus(state_, WallClockMs()), 0600, false);
}

std::uint32_t Simulator::InjectedBits(std::uint32_t requested, bool setCall) {
    const FailureSetting& fail = world_.fail;
    const std::uint32_t bits = fail.mask & requested;
    if (bits == 0 || (fail.calls == FailCalls::Get && setCall) ||
        (fail.calls == FailCalls::Set && !setCall) ||
        (fail.count >= 0 && state_.failUsed >= fail.count)) {
        return 0;
    }
    ++state_.failUsed;
    dirty_ = true;
    return bits;
}

LiveCard Simulator::Live() const {
    return LiveCard{state_.settings, state_.association,
                    AssociatedNetwork(world_, state_.association), world_};
}

std::uint64_t Simulator::TxFrames() const {
    return cardsim::TxFrames(state_, WallClockMs());
}

std::uint64_t Simulator::RxFrames() const {
    return cardsim::RxFrames(state_, WallClockMs());
}

void Simulator::StartScan() {
    scanPending_ = true;
    scanDue_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(world_.scanMs);
}

const std::vector<TavlSurveyEntry>& Simulator::ScanResult() {
    if (scanPending_ && std::chrono::steady_clock::now() >= scanDue_) {
        scan_ = ScanAir(world_, state_.settings.domain);
        scanPending_ = false;
    }
    return scan_;
}

std::string Simulator::DriverFile() {
    const std::string path = folder_ + "/" + kDriverFileName;
    return EnsureDriverFile(path, world_.driverVersion) ? path : std::string();
}

} // namespace cardsim
