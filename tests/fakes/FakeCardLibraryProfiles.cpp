// The profile-store calls of FakeCardLibrary: names are compared without
// regard to case and the spelling of the first store is kept.
#include "tests/fakes/FakeCardLibrary.h"

#include "tests/fakes/FakeFormat.h"

using namespace fake;

namespace {

std::string RegText(const WirelessReg& reg) {
    return Format(" profile=\"%.*s\" ssid=\"%.*s\" channel=%u mode=%u wep=%u",
                  static_cast<int>(strnlen(reg.profileName, sizeof reg.profileName)),
                  reg.profileName, static_cast<int>(strnlen(reg.ssid, sizeof reg.ssid)), reg.ssid,
                  reg.channel, reg.opMode, reg.encryptionLevel);
}

CardCall Named(const char* name) {
    CardCall call;
    call.name = name;
    return call;
}

} // namespace

std::int32_t FakeCardLibrary::SetProfileRoot(const char* root) {
    Observe("SetProfileRoot");
    CardCall call = Named("SetProfileRoot");
    call.textArg = root != nullptr ? root : "";
    call.nullText = root == nullptr;
    {
        std::lock_guard lock(mutex_);
        call.result = failEverything_ ? kFailed : 0;
    }
    call.text = Format("SetProfileRoot root=%s -> %d", NameText(root).c_str(), call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::GetActiveProfileByType(char* name, std::int32_t type) {
    Observe("GetActiveProfileByType");
    CardCall call = Named("GetActiveProfileByType");
    call.type = type;
    {
        std::lock_guard lock(mutex_);
        if (failEverything_ || name == nullptr) {
            call.result = kFailed;
        } else if (!active_) {
            call.result = TAVL_PROFILE_NONE_ACTIVE;
        } else {
            WriteName(name, TAVL_NAME_BUFFER_MIN, *active_);
            call.textArg = name;
            call.result = 0;
        }
    }
    call.text = Format("GetActiveProfileByType type=%d -> \"%s\" result=%d", type,
                       call.textArg.c_str(), call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::SetActiveProfileByType(const char* name, std::int32_t type) {
    Observe("SetActiveProfileByType");
    CardCall call = Named("SetActiveProfileByType");
    call.textArg = name != nullptr ? name : "";
    call.nullText = name == nullptr;
    call.type = type;
    {
        std::lock_guard lock(mutex_);
        if (failEverything_ || name == nullptr) {
            call.result = kFailed;
        } else {
            auto found = FindProfile(name);
            active_ = found != profiles_.end() ? found->name
                                               : std::string(name).substr(0, TAVL_PROFILE_NAME_MAX);
            call.result = 0;
        }
    }
    call.text = Format("SetActiveProfileByType name=%s type=%d -> %d", NameText(name).c_str(), type,
                       call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::EnumProfilesByType(std::int32_t index, char* name,
                                                 std::int32_t type) {
    Observe("EnumProfilesByType");
    CardCall call = Named("EnumProfilesByType");
    call.number = index;
    call.type = type;
    {
        std::lock_guard lock(mutex_);
        if (failEverything_ || name == nullptr) {
            call.result = kFailed;
        } else if (index < 0 || static_cast<std::size_t>(index) >= profiles_.size()) {
            call.result = TAVL_PROFILE_ENUM_END;
        } else {
            WriteName(name, TAVL_NAME_BUFFER_MIN, profiles_[static_cast<std::size_t>(index)].name);
            call.textArg = name;
            call.result = 0;
        }
    }
    call.text = Format("EnumProfilesByType index=%d type=%d -> \"%s\" result=%d", index, type,
                       call.textArg.c_str(), call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::DeleteProfileByType(const char* name, std::int32_t type) {
    Observe("DeleteProfileByType");
    CardCall call = Named("DeleteProfileByType");
    call.textArg = name != nullptr ? name : "";
    call.nullText = name == nullptr;
    call.type = type;
    {
        std::lock_guard lock(mutex_);
        auto found = name != nullptr ? FindProfile(name) : profiles_.end();
        if (failEverything_ || found == profiles_.end()) {
            call.result = kFailed;
        } else {
            if (active_ && FindProfile(*active_) == found) {
                active_.reset();
            }
            profiles_.erase(found);
            call.result = 0;
        }
    }
    call.text = Format("DeleteProfileByType name=%s type=%d -> %d", NameText(name).c_str(), type,
                       call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::GetProfileWireless(const char* name, WirelessReg* reg) {
    Observe("GetProfileWireless");
    CardCall call = Named("GetProfileWireless");
    call.textArg = name != nullptr ? name : "";
    call.nullText = name == nullptr;
    {
        std::lock_guard lock(mutex_);
        auto found = name != nullptr ? FindProfile(name) : profiles_.end();
        if (failEverything_ || reg == nullptr || found == profiles_.end()) {
            call.result = kFailed;
        } else {
            *reg = found->reg;
            call.reg = *reg;
            call.result = 0;
        }
    }
    call.text = Format("GetProfileWireless name=%s%s -> %d", NameText(name).c_str(),
                       call.reg ? RegText(*call.reg).c_str() : "", call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::SetProfileWireless(const char* name, const WirelessReg* reg) {
    Observe("SetProfileWireless");
    CardCall call = Named("SetProfileWireless");
    call.textArg = name != nullptr ? name : "";
    call.nullText = name == nullptr;
    if (reg != nullptr) {
        call.reg = *reg;
    }
    {
        std::lock_guard lock(mutex_);
        if (failEverything_ || reg == nullptr) {
            call.result = kFailed;
        } else if (name == nullptr && !active_) {
            call.result = TAVL_PROFILE_NONE_ACTIVE;
        } else {
            const std::string target = name != nullptr ? std::string(name) : *active_;
            auto found = FindProfile(target);
            if (found != profiles_.end()) {
                found->reg = *reg;
            } else {
                profiles_.push_back({target.substr(0, TAVL_PROFILE_NAME_MAX), *reg});
            }
            call.result = 0;
        }
    }
    call.text = Format("SetProfileWireless name=%s%s -> %d", NameText(name).c_str(),
                       call.reg ? RegText(*call.reg).c_str() : "", call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::SetDriverReg(const WirelessReg* reg) {
    Observe("SetDriverReg");
    CardCall call = Named("SetDriverReg");
    if (reg != nullptr) {
        call.reg = *reg;
    }
    {
        std::lock_guard lock(mutex_);
        if (failEverything_ || reg == nullptr) {
            call.result = kFailed;
        } else {
            driverReg_ = *reg;
            call.result = 0;
        }
    }
    call.text =
        Format("SetDriverReg%s -> %d", call.reg ? RegText(*call.reg).c_str() : "", call.result);
    Record(call);
    return call.result;
}
