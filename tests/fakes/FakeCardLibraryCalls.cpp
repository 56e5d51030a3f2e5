// The CardLibrary calls of FakeCardLibrary: each runs the OnCall observer,
// does its work (or its hook's), and records itself.
#include "tests/fakes/FakeCardLibrary.h"

#include "cardshared/Channels.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::int32_t kFailed = -1;

// Copies `text` into a name buffer of `size` bytes, cut and terminated.
void WriteName(char* buffer, std::size_t size, const std::string& text) {
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

// The name argument of a call, as recorded.
void SetName(CardCall& call, const char* name) {
    call.textArg = name != nullptr ? name : "";
    call.nullText = name == nullptr;
}

} // namespace

std::int32_t FakeCardLibrary::Init(const char* identity, std::int32_t reserved) {
    CardCall call = Begin("Init");
    call.textArg = identity != nullptr ? identity : "";
    call.number = reserved;
    call.result = Unless([] { return 1; }, 0);
    return Finish(call);
}

std::int32_t FakeCardLibrary::Terminate() {
    CardCall call = Begin("Terminate");
    call.result = 1;
    Finish(call);
    Set(terminated_, true);
    return 1;
}

std::int32_t FakeCardLibrary::Detect(std::uint8_t* info) {
    CardCall call = Begin("Detect");
    if (const DetectHook hook = Get(detectHook_)) {
        call.result = hook(info);
        return Finish(call);
    }
    call.result = Unless(
        [&] {
            if (present_ && info != nullptr) {
                std::memset(info, 0, TAVL_DETECT_INFO_SIZE);
                std::memcpy(info, "LK2093", 6);
            }
            return present_ ? 1 : 0;
        },
        0);
    return Finish(call);
}

std::int32_t FakeCardLibrary::GetWLANConfig(std::uint32_t* mask, HostInfo* host) {
    CardCall call = Begin("GetWLANConfig");
    if (mask == nullptr || host == nullptr) {
        call.result = kFailed;
        return Finish(call);
    }
    call.maskIn = *mask;
    call.result = Unless([&] {
        const std::uint32_t failed = TakeFailure(failGet_, *mask);
        ReadFields(*mask & ~failed, *host);
        *mask = failed;
        return failed != 0 ? kFailed : 0;
    });
    call.maskOut = *mask;
    call.host = *host;
    return Finish(call);
}

std::int32_t FakeCardLibrary::SetWLANConfig(std::uint32_t* mask, const HostInfo* host) {
    CardCall call = Begin("SetWLANConfig");
    if (mask == nullptr || host == nullptr) {
        call.result = kFailed;
        return Finish(call);
    }
    call.maskIn = *mask;
    call.host = *host;
    // The key blocks belong to the caller and live only during the call:
    // decode them now.
    for (int i = 0; i < 4; ++i) {
        const WepKeyBuffer* block = TavlGetWepKey(host, i);
        if ((*mask & (TAVL_MASK_WEP_KEY1 << i)) != 0 && block != nullptr) {
            FakeWepKey key{i,
                           block->length,
                           block->keyIndex,
                           (block->keyIndex & TAVL_WEP_TRANSMIT_KEY) != 0,
                           block->keyLength,
                           {}};
            const std::uint32_t n =
                std::min<std::uint32_t>(key.keyLength, sizeof block->keyMaterial);
            key.bytes.assign(block->keyMaterial, block->keyMaterial + n);
            call.wepKeys.push_back(std::move(key));
        }
    }
    call.result = Unless([&] {
        const std::uint32_t failed = TakeFailure(failSet_, *mask);
        WriteFields(*mask & ~failed, *host);
        *mask = failed;
        return failed != 0 ? kFailed : 0;
    });
    call.maskOut = *mask;
    return Finish(call);
}

std::int32_t FakeCardLibrary::SetSSID(const SsidText* ssid) {
    CardCall call = Begin("SetSSID");
    if (ssid == nullptr) {
        call.result = kFailed;
        return Finish(call);
    }
    call.ssid = *ssid;
    call.result = Unless([&] {
        card_.ssidLength = std::min<std::uint32_t>(ssid->length, TAVL_SSID_MAX);
        std::memset(card_.ssid, 0, sizeof card_.ssid);
        std::memcpy(card_.ssid, ssid->ssid, card_.ssidLength);
        return 0;
    });
    return Finish(call);
}

std::int32_t FakeCardLibrary::QueryOID(std::uint32_t oid, void* buffer, std::uint32_t length,
                                       std::uint32_t* written) {
    CardCall call = Begin("QueryOID");
    call.number = oid;
    std::uint32_t localWritten = 0;
    std::uint32_t* out = written != nullptr ? written : &localWritten;
    if (const QueryHook hook = Get(queryHook_)) {
        call.result = hook(oid, buffer, length, out);
        return Finish(call);
    }
    call.result = Locked([&] {
        *out = 0;
        const std::uint32_t* value = oid == TAVL_OID_GEN_MEDIA_CONNECT_STATUS ? &mediaStatus_
                                     : oid == TAVL_OID_GEN_XMIT_OK            ? &counters_.first
                                     : oid == TAVL_OID_GEN_RCV_OK             ? &counters_.second
                                                                              : nullptr;
        if (failQuery_.first > 0) {
            --failQuery_.first;
            return failQuery_.second;
        }
        if (failEverything_ || value == nullptr || buffer == nullptr || length < 4) {
            return kFailed;
        }
        std::memcpy(buffer, value, sizeof *value);
        *out = sizeof *value;
        return 0;
    });
    return Finish(call);
}

std::uint32_t FakeCardLibrary::ChannelToFrequency(std::uint32_t channel) {
    CardCall call = Begin("ChannelToFrequency");
    call.number = channel;
    const std::uint32_t khz = Get(failEverything_) ? 0 : cardsim::ChannelToKhz(channel);
    call.result = static_cast<std::int32_t>(khz);
    Finish(call);
    return khz;
}

std::uint32_t FakeCardLibrary::FrequencyToChannel(std::uint32_t khz) {
    CardCall call = Begin("FrequencyToChannel");
    call.number = khz;
    const std::uint32_t channel = Get(failEverything_) ? 0 : cardsim::KhzToChannel(khz);
    call.result = static_cast<std::int32_t>(channel);
    Finish(call);
    return channel;
}

std::int32_t FakeCardLibrary::SetWLDomain(std::int32_t domain) {
    CardCall call = Begin("SetWLDomain");
    call.number = domain;
    call.result = Unless([&] {
        domain_ = domain;
        return 0;
    });
    return Finish(call);
}

std::int32_t FakeCardLibrary::SetChannel(const std::uint32_t* channel) {
    CardCall call = Begin("SetChannel");
    call.number = channel != nullptr ? *channel : -1;
    call.result = Unless([&] { return channel == nullptr ? kFailed : 0; });
    return Finish(call);
}

std::int32_t FakeCardLibrary::SetOperatingMode(const std::uint32_t* mode) {
    CardCall call = Begin("SetOperatingMode");
    call.number = mode != nullptr ? *mode : -1;
    call.result = Unless([&] {
        if (mode == nullptr) {
            return kFailed;
        }
        card_.infrastructureMode = *mode;
        return 0;
    });
    return Finish(call);
}

std::int32_t FakeCardLibrary::SiteSurveyTrigger() {
    CardCall call = Begin("SiteSurveyTrigger");
    call.result = Unless([] { return 0; });
    return Finish(call);
}

std::int32_t FakeCardLibrary::SiteSurveyGet(std::uint8_t* buffer, std::uint32_t* size) {
    CardCall call = Begin("SiteSurveyGet");
    call.number = size != nullptr ? *size : -1;
    call.result = Unless(
        [&] {
            if (buffer == nullptr || size == nullptr) {
                return 0;
            }
            // The count, then as many whole entries as fit.
            std::size_t n = std::min<std::size_t>(*size, survey_.size());
            if (n >= TAVL_SURVEY_HEADER_SIZE) {
                n -= (n - TAVL_SURVEY_HEADER_SIZE) % TAVL_SURVEY_ENTRY_SIZE;
            }
            std::copy_n(survey_.begin(), n, buffer);
            return surveyResult_;
        },
        0);
    return Finish(call);
}

std::int32_t FakeCardLibrary::Get_XPWZC(std::uint32_t* state) {
    CardCall call = Begin("Get_XPWZC");
    call.result = Unless([&] {
        if (state == nullptr) {
            return kFailed;
        }
        *state = zeroConfigState_;
        return 0;
    });
    return Finish(call);
}

std::int32_t FakeCardLibrary::WinXPWZC_Disabled() {
    CardCall call = Begin("WinXPWZC_Disabled");
    call.result = Unless([&] { return zeroConfigDisabled_; }, 0);
    return Finish(call);
}

std::int32_t FakeCardLibrary::GetWLANDriverPath(char* path) {
    CardCall call = Begin("GetWLANDriverPath");
    call.result = Unless(
        [&] {
            if (path == nullptr) {
                return 0;
            }
            WriteName(path, TAVL_PATH_BUFFER_SIZE, driverPath_.first);
            call.textArg = path;
            return driverPath_.second;
        },
        0);
    return Finish(call);
}

// ---- The profile store: names compared without regard to case, the
// spelling of the first store kept. The profile type is only recorded.

std::int32_t FakeCardLibrary::SetProfileRoot(const char* root) {
    CardCall call = Begin("SetProfileRoot");
    SetName(call, root);
    call.result = Unless([] { return 0; });
    return Finish(call);
}

std::int32_t FakeCardLibrary::GetActiveProfileByType(char* name, std::int32_t type) {
    CardCall call = Begin("GetActiveProfileByType");
    call.type = type;
    call.result = Unless([&] {
        if (name == nullptr) {
            return kFailed;
        }
        if (!active_) {
            return TAVL_PROFILE_NONE_ACTIVE;
        }
        WriteName(name, TAVL_NAME_BUFFER_MIN, *active_);
        call.textArg = name;
        return 0;
    });
    return Finish(call);
}

std::int32_t FakeCardLibrary::SetActiveProfileByType(const char* name, std::int32_t type) {
    CardCall call = Begin("SetActiveProfileByType");
    call.type = type;
    SetName(call, name);
    call.result = Unless([&] {
        if (name == nullptr) {
            return kFailed;
        }
        auto found = FindProfile(name);
        active_ = found != profiles_.end() ? found->name
                                           : std::string(name).substr(0, TAVL_PROFILE_NAME_MAX);
        return 0;
    });
    return Finish(call);
}

std::int32_t FakeCardLibrary::EnumProfilesByType(std::int32_t index, char* name,
                                                 std::int32_t type) {
    CardCall call = Begin("EnumProfilesByType");
    call.type = type;
    call.number = index;
    call.result = Unless([&] {
        if (name == nullptr) {
            return kFailed;
        }
        if (index < 0 || static_cast<std::size_t>(index) >= profiles_.size()) {
            return TAVL_PROFILE_ENUM_END;
        }
        WriteName(name, TAVL_NAME_BUFFER_MIN, profiles_[static_cast<std::size_t>(index)].name);
        call.textArg = name;
        return 0;
    });
    return Finish(call);
}

std::int32_t FakeCardLibrary::DeleteProfileByType(const char* name, std::int32_t type) {
    CardCall call = Begin("DeleteProfileByType");
    call.type = type;
    SetName(call, name);
    call.result = Unless([&] {
        auto found = name != nullptr ? FindProfile(name) : profiles_.end();
        if (found == profiles_.end()) {
            return kFailed;
        }
        if (active_ && FindProfile(*active_) == found) {
            active_.reset();
        }
        profiles_.erase(found);
        return 0;
    });
    return Finish(call);
}

std::int32_t FakeCardLibrary::GetProfileWireless(const char* name, WirelessReg* reg) {
    CardCall call = Begin("GetProfileWireless");
    SetName(call, name);
    call.result = Unless([&] {
        auto found = name != nullptr ? FindProfile(name) : profiles_.end();
        if (reg == nullptr || found == profiles_.end()) {
            return kFailed;
        }
        call.reg = *reg = found->reg;
        return 0;
    });
    return Finish(call);
}

std::int32_t FakeCardLibrary::SetProfileWireless(const char* name, const WirelessReg* reg) {
    CardCall call = Begin("SetProfileWireless");
    SetName(call, name);
    if (reg != nullptr) {
        call.reg = *reg;
    }
    call.result = Unless([&] {
        if (reg == nullptr) {
            return kFailed;
        }
        if (name == nullptr && !active_) {
            return TAVL_PROFILE_NONE_ACTIVE;
        }
        StoreLocked(name != nullptr ? std::string(name) : *active_, *reg);
        return 0;
    });
    return Finish(call);
}

std::int32_t FakeCardLibrary::SetDriverReg(const WirelessReg* reg) {
    CardCall call = Begin("SetDriverReg");
    if (reg != nullptr) {
        call.reg = *reg;
    }
    call.result = Unless([&] {
        if (reg == nullptr) {
            return kFailed;
        }
        driverReg_ = *reg;
        return 0;
    });
    return Finish(call);
}
