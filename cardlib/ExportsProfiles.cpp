// The profile store's calls and the driver's settings.
#pragma GCC visibility push(default)
#include "device/tavl.h"
#pragma GCC visibility pop

#include "cardlib/ExportCall.h"
#include "cardlib/JournalFormat.h"
#include "cardshared/DriverFile.h"
#include "cardshared/Results.h"


using namespace cardsim;

namespace {

void NoteNameAndType(ExportCall& call, const char* name, std::int32_t type) {
    if (call.Journaling()) {
        call.Line().Arg("name", ExportCall::Text(name));
        call.Line().Arg("type", type);
    }
}

} // namespace

extern "C" {

int32_t TAVL_SetProfileRoot(const char* root) {
    ExportCall call("TAVL_SetProfileRoot");
    if (call.Journaling()) {
        call.Line().Arg("root", ExportCall::Text(root));
    }
    const std::int32_t result = call.Sim().Profiles().SetRoot(root);
    call.Sim().Changed();
    return call.Return(result);
}

int32_t TAVL_GetActiveProfileByType(char* name, int32_t type) {
    ExportCall call("TAVL_GetActiveProfileByType");
    if (call.Journaling()) {
        call.Line().Arg("type", type);
    }
    if (name == nullptr || type != TAVL_PROFILE_TYPE) {
        return call.Return(kInvalidArgument);
    }
    std::string active;
    const std::int32_t result = call.Sim().Profiles().GetActive(active);
    CopyProfileName(name, result == kOk ? active : std::string());
    if (call.Journaling() && result == kOk) {
        call.Line().Result("name", JournalText(active));
    }
    return call.Return(result);
}

int32_t TAVL_SetActiveProfileByType(const char* name, int32_t type) {
    ExportCall call("TAVL_SetActiveProfileByType");
    NoteNameAndType(call, name, type);
    if (name == nullptr || type != TAVL_PROFILE_TYPE) {
        return call.Return(kInvalidArgument);
    }
    return call.Return(call.Sim().Profiles().SetActive(name));
}

int32_t TAVL_EnumProfilesByType(int32_t index, char* name, int32_t type) {
    ExportCall call("TAVL_EnumProfilesByType");
    if (call.Journaling()) {
        call.Line().Arg("index", index);
        call.Line().Arg("type", type);
    }
    if (name == nullptr || type != TAVL_PROFILE_TYPE) {
        return call.Return(kInvalidArgument);
    }
    std::string found;
    const std::int32_t result = call.Sim().Profiles().Enumerate(index, found);
    if (result == kOk) {
        CopyProfileName(name, found);
        if (call.Journaling()) {
            call.Line().Result("name", JournalText(found));
        }
    }
    return call.Return(result);
}

int32_t TAVL_DeleteProfileByType(const char* name, int32_t type) {
    ExportCall call("TAVL_DeleteProfileByType");
    NoteNameAndType(call, name, type);
    if (name == nullptr || type != TAVL_PROFILE_TYPE) {
        return call.Return(kInvalidArgument);
    }
    return call.Return(call.Sim().Profiles().Delete(name));
}

int32_t TAVL_GetProfileWireless(const char* name, WirelessReg* reg) {
    ExportCall call("TAVL_GetProfileWireless");
    if (call.Journaling()) {
        call.Line().Arg("name", ExportCall::Text(name));
    }
    if (name == nullptr || reg == nullptr) {
        return call.Return(kInvalidArgument);
    }
    const std::int32_t result = call.Sim().Profiles().Load(name, *reg);
    if (call.Journaling() && result == kOk) {
        call.Line().RawResults(RegFields(*reg));
    }
    return call.Return(result);
}

int32_t TAVL_SetProfileWireless(const char* name, const WirelessReg* reg) {
    ExportCall call("TAVL_SetProfileWireless");
    if (call.Journaling()) {
        call.Line().Arg("name", ExportCall::Text(name));
        if (reg != nullptr) {
            call.Line().RawArgs(RegFields(*reg));
        }
    }
    if (reg == nullptr) {
        return call.Return(kInvalidArgument);
    }
    return call.Return(call.Sim().Profiles().Store(name, *reg));
}

int32_t TAVL_SetDriverReg(const WirelessReg* reg) {
    ExportCall call("TAVL_SetDriverReg");
    if (call.Journaling() && reg != nullptr) {
        call.Line().RawArgs(RegFields(*reg));
    }
    if (reg == nullptr) {
        return call.Return(kInvalidArgument);
    }
    const bool written = WriteDriverSettings(call.Sim().Folder(), *reg);
    return call.Return(written ? kOk : kStorageError);
}

} // extern "C"
