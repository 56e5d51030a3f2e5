// The profile-store calls of FakeCardLibrary: names are compared without
// regard to case and the spelling of the first store is kept.
#include "tests/fakes/FakeCardLibrary.h"

#include "tests/fakes/FakeFormat.h"

using namespace fake;

namespace {

std::string RegText(const std::optional<WirelessReg>& reg) {
    if (!reg) {
        return "";
    }
    return Format(" profile=\"%.*s\" ssid=\"%.*s\" channel=%u mode=%u wep=%u",
                  static_cast<int>(strnlen(reg->profileName, sizeof reg->profileName)),
                  reg->profileName, static_cast<int>(strnlen(reg->ssid, sizeof reg->ssid)),
                  reg->ssid, reg->channel, reg->opMode, reg->encryptionLevel);
}

// The name argument of a profile call, as recorded.
void SetName(CardCall& call, const char* name) {
    call.textArg = name != nullptr ? name : "";
    call.nullText = name == nullptr;
}

} // namespace

std::int32_t FakeCardLibrary::SetProfileRoot(const char* root) {
    CardCall call = Begin("SetProfileRoot");
    SetName(call, root);
    call.result = Locked([&] { return failEverything_ ? kFailed : 0; });
    return Finish(call,
                  Format("SetProfileRoot root=%s -> %d", NameText(root).c_str(), call.result));
}

std::int32_t FakeCardLibrary::GetActiveProfileByType(char* name, std::int32_t type) {
    CardCall call = Begin("GetActiveProfileByType");
    call.type = type;
    call.result = Locked([&] {
        if (failEverything_ || name == nullptr) {
            return kFailed;
        }
        if (!active_) {
            return TAVL_PROFILE_NONE_ACTIVE;
        }
        WriteName(name, TAVL_NAME_BUFFER_MIN, *active_);
        call.textArg = name;
        return 0;
    });
    return Finish(call, Format("GetActiveProfileByType type=%d -> \"%s\" result=%d", type,
                               call.textArg.c_str(), call.result));
}

std::int32_t FakeCardLibrary::SetActiveProfileByType(const char* name, std::int32_t type) {
    CardCall call = Begin("SetActiveProfileByType");
    SetName(call, name);
    call.type = type;
    call.result = Locked([&] {
        if (failEverything_ || name == nullptr) {
            return kFailed;
        }
        auto found = FindProfile(name);
        active_ = found != profiles_.end() ? found->name
                                           : std::string(name).substr(0, TAVL_PROFILE_NAME_MAX);
        return 0;
    });
    return Finish(call, Format("SetActiveProfileByType name=%s type=%d -> %d",
                               NameText(name).c_str(), type, call.result));
}

std::int32_t FakeCardLibrary::EnumProfilesByType(std::int32_t index, char* name,
                                                 std::int32_t type) {
    CardCall call = Begin("EnumProfilesByType");
    call.number = index;
    call.type = type;
    call.result = Locked([&] {
        if (failEverything_ || name == nullptr) {
            return kFailed;
        }
        if (index < 0 || static_cast<std::size_t>(index) >= profiles_.size()) {
            return TAVL_PROFILE_ENUM_END;
        }
        WriteName(name, TAVL_NAME_BUFFER_MIN, profiles_[static_cast<std::size_t>(index)].name);
        call.textArg = name;
        return 0;
    });
    return Finish(call, Format("EnumProfilesByType index=%d type=%d -> \"%s\" result=%d", index,
                               type, call.textArg.c_str(), call.result));
}

std::int32_t FakeCardLibrary::DeleteProfileByType(const char* name, std::int32_t type) {
    CardCall call = Begin("DeleteProfileByType");
    SetName(call, name);
    call.type = type;
    call.result = Locked([&] {
        auto found = name != nullptr ? FindProfile(name) : profiles_.end();
        if (failEverything_ || found == profiles_.end()) {
            return kFailed;
        }
        if (active_ && FindProfile(*active_) == found) {
            active_.reset();
        }
        profiles_.erase(found);
        return 0;
    });
    return Finish(call, Format("DeleteProfileByType name=%s type=%d -> %d", NameText(name).c_str(),
                               type, call.result));
}

std::int32_t FakeCardLibrary::GetProfileWireless(const char* name, WirelessReg* reg) {
    CardCall call = Begin("GetProfileWireless");
    SetName(call, name);
    call.result = Locked([&] {
        auto found = name != nullptr ? FindProfile(name) : profiles_.end();
        if (failEverything_ || reg == nullptr || found == profiles_.end()) {
            return kFailed;
        }
        *reg = found->reg;
        call.reg = *reg;
        return 0;
    });
    return Finish(call, Format("GetProfileWireless name=%s%s -> %d", NameText(name).c_str(),
                               RegText(call.reg).c_str(), call.result));
}

std::int32_t FakeCardLibrary::SetProfileWireless(const char* name, const WirelessReg* reg) {
    CardCall call = Begin("SetProfileWireless");
    SetName(call, name);
    if (reg != nullptr) {
        call.reg = *reg;
    }
    call.result = Locked([&] {
        if (failEverything_ || reg == nullptr) {
            return kFailed;
        }
        if (name == nullptr && !active_) {
            return TAVL_PROFILE_NONE_ACTIVE;
        }
        const std::string target = name != nullptr ? std::string(name) : *active_;
        auto found = FindProfile(target);
        if (found != profiles_.end()) {
            found->reg = *reg;
        } else {
            profiles_.push_back({target.substr(0, TAVL_PROFILE_NAME_MAX), *reg});
        }
        return 0;
    });
    return Finish(call, Format("SetProfileWireless name=%s%s -> %d", NameText(name).c_str(),
                               RegText(call.reg).c_str(), call.result));
}

std::int32_t FakeCardLibrary::SetDriverReg(const WirelessReg* reg) {
    CardCall call = Begin("SetDriverReg");
    if (reg != nullptr) {
        call.reg = *reg;
    }
    call.result = Locked([&] {
        if (failEverything_ || reg == nullptr) {
            return kFailed;
        }
        driverReg_ = *reg;
        return 0;
    });
    return Finish(call, Format("SetDriverReg%s -> %d", RegText(call.reg).c_str(), call.result));
}
