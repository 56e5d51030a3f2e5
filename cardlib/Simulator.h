// The simulated card as one object: its world folder, the world read from
// it, the card's state, the profile store, the journal and the survey.
// Every exported call holds the one mutex while it works on it.
#pragma once

#include "cardlib/CardState.h"
#include "cardlib/HostInfoFields.h"
#include "cardlib/Journal.h"
#include "cardlib/World.h"
#include "cardshared/ProfileStore.h"
#include "device/tavl.h"

#include <chrono>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace cardsim {

class Simulator {
public:
    static Simulator& Instance();

    std::mutex& Mutex() { return mutex_; }

    // Follows a change of the world folder (TAVL_SIM_HOME and the other
    // variables) and of the world file, cheaply: one stat when nothing
    // changed. Called at the start of every call.
    void Refresh();
    // Writes the status file when the card's state changed. Called at the
    // end of every call.
    void Finish();

    const World& GetWorld() const { return world_; }
    CardState& State() { return state_; }
    const std::string& Folder() const { return folder_; }
    ProfileStore& Profiles() { return profiles_; }
    Journal& GetJournal() { return journal_; }

    // The card is in its slot and the machine is awake.
    bool CardAnswers() const { return world_.present && !world_.suspended; }
    void Changed() { dirty_ = true; }
    // Runs the association again after a change of settings or of the air.
    void Reassociate();
    // Bits of `requested` the world's failure setting makes fail in this
    // call, counting the call when there are any.
    std::uint32_t InjectedBits(std::uint32_t requested, bool setCall);

    LiveCard Live() const;
    std::uint64_t TxFrames() const;
    std::uint64_t RxFrames() const;

    void StartScan();
    const std::vector<TavlSurveyEntry>& ScanResult();

    // The driver file's path, written first when needed; empty on failure.
    std::string DriverFile();

private:
    Simulator() = default;
    void ChangeFolder(const std::string& folder);
    void CheckWorldFile();
    void WorldChanged();

    std::mutex mutex_;
    std::string folder_;
    std::string worldPath_;
    std::string statusPath_;
    bool worldFileKnown_ = false;
    bool usingFallback_ = false;
    struct stat worldFileInfo_ {};
    World world_;
    CardState state_;
    bool dirty_ = false;
    ProfileStore profiles_;
    Journal journal_;
    bool scanPending_ = false;
    std::chrono::steady_clock::time_point scanDue_{};
    std::vector<TavlSurveyEntry> scan_;
};

} // namespace cardsim
