// The profile store's calls and the driver's settings: the same store and
// files as the simulated card's, below the same folder.
#pragma GCC visibility push(default)
#include "device/tavl.h"
#pragma GCC visibility pop

#include "cardshared/DriverFile.h"
#include "cardshared/Results.h"
#include "realcard/Card.h"


using namespace cardsim;
using realcard::Card;

extern "C" {

int32_t TAVL_SetProfileRoot(const char* root) {
    std::lock_guard lock(Card::Instance().Mutex());
    return Card::Instance().Profiles().SetRoot(root);
}

int32_t TAVL_GetActiveProfileByType(char* name, int32_t type) {
    if (name == nullptr || type != TAVL_PROFILE_TYPE) {
        return kInvalidArgument;
    }
    std::lock_guard lock(Card::Instance().Mutex());
    std::string active;
    const std::int32_t result = Card::Instance().Profiles().GetActive(active);
    CopyProfileName(name, result == kOk ? active : std::string());
    return result;
}

int32_t TAVL_SetActiveProfileByType(const char* name, int32_t type) {
    if (name == nullptr || type != TAVL_PROFILE_TYPE) {
        return kInvalidArgument;
    }
    std::lock_guard lock(Card::Instance().Mutex());
    return Card::Instance().Profiles().SetActive(name);
}

int32_t TAVL_EnumProfilesByType(int32_t index, char* name, int32_t type) {
    if (name == nullptr || type != TAVL_PROFILE_TYPE) {
        return kInvalidArgument;
    }
    std::lock_guard lock(Card::Instance().Mutex());
    std::string found;
    const std::int32_t result = Card::Instance().Profiles().Enumerate(index, found);
    if (result == kOk) {
        CopyProfileName(name, found);
    }
    return result;
}

int32_t TAVL_DeleteProfileByType(const char* name, int32_t type) {
    if (name == nullptr || type != TAVL_PROFILE_TYPE) {
        return kInvalidArgument;
    }
    std::lock_guard lock(Card::Instance().Mutex());
    return Card::Instance().Profiles().Delete(name);
}

int32_t TAVL_GetProfileWireless(const char* name, WirelessReg* reg) {
    if (name == nullptr || reg == nullptr) {
        return kInvalidArgument;
    }
    std::lock_guard lock(Card::Instance().Mutex());
    return Card::Instance().Profiles().Load(name, *reg);
}

int32_t TAVL_SetProfileWireless(const char* name, const WirelessReg* reg) {
    if (reg == nullptr) {
        return kInvalidArgument;
    }
    std::lock_guard lock(Card::Instance().Mutex());
    return Card::Instance().Profiles().Store(name, *reg);
}

int32_t TAVL_SetDriverReg(const WirelessReg* reg) {
    if (reg == nullptr) {
        return kInvalidArgument;
    }
    std::lock_guard lock(Card::Instance().Mutex());
    return WriteDriverSettings(Card::Instance().Folder(), *reg) ? kOk : kStorageError;
}

} // extern "C"
