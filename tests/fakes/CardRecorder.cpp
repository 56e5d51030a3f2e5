#include "tests/fakes/CardRecorder.h"

#include "cardshared/Files.h"
#include "cardshared/ProfileStore.h"
#include "cardshared/Text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>

namespace {

cardsim::ProfileStore StoreIn(const std::string& folder) {
    cardsim::ProfileStore store;
    store.SetWorldFolder(folder);
    return store;
}

// A part of HostInfo that one mask bit names, for scripted reads.
struct HostPart {
    std::uint32_t bit;
    std::size_t offset;
    std::size_t size;
};
#define PART(bit, field)                                                                           \
    { bit, offsetof(HostInfo, field), sizeof(HostInfo::field) }
constexpr HostPart kHostParts[] = {
    PART(TAVL_MASK_BSSID, bssid),
    PART(TAVL_MASK_SSID, ssidLength),
    PART(TAVL_MASK_SSID, ssid),
    PART(TAVL_MASK_POWER_MODE, powerMode),
    PART(TAVL_MASK_RSSI, rssi),
    PART(TAVL_MASK_INFRASTRUCTURE, infrastructureMode),
    PART(TAVL_MASK_FRAG_THRESHOLD, fragThreshold),
    PART(TAVL_MASK_RTS_THRESHOLD, rtsThreshold),
    PART(TAVL_MASK_SUPPORTED_RATES, supportedRates),
    PART(TAVL_MASK_CONFIGURATION, configuration),
    PART(TAVL_MASK_CONFIGURATION, GMode),
    PART(TAVL_MASK_LINK_STATE, mediaConnectStatus),
    PART(TAVL_MASK_WEP_STATUS, wepStatus),
    PART(TAVL_MASK_AUTH_MODE, authMode),
    PART(TAVL_MASK_PREAMBLE, preambleType),
    PART(TAVL_MASK_FIRMWARE_VERSION, firmwareVersion),
    PART(TAVL_MASK_CHANNEL_MASK, channelMask),
};
#undef PART

} // namespace

std::string WepKeyArg::Hex() const {
    return cardsim::HexBytes(bytes.data(), bytes.size());
}

const WepKeyArg* CardCall::Key(int slot) const {
    for (const WepKeyArg& key : wepKeys) {
        if (key.slot == slot) {
            return &key;
        }
    }
    return nullptr;
}

CardRecorder::CardRecorder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "skerrin-card-XXXXXX");
    parent_ = mkdtemp(pattern.data());
    folder_ = parent_ + "/home";
    std::filesystem::create_directory(folder_);
    EditWorld([](cardsim::World& w) {
        w = cardsim::DefaultWorld();
        w.scanMs = 0;
    });
    for (const char* name : {"TAVL_SIM_HOME", "TAVL_SIM_JOURNAL"}) {
        const char* value = std::getenv(name);
        saved_.emplace_back(name,
                            value != nullptr ? std::optional<std::string>(value) : std::nullopt);
    }
    setenv("TAVL_SIM_HOME", folder_.c_str(), 1);
    setenv("TAVL_SIM_JOURNAL", (parent_ + "/journal").c_str(), 1);
}

void CardRecorder::SetRecording(bool on) {
    Set(recording_, on);
    on ? setenv("TAVL_SIM_JOURNAL", (parent_ + "/journal").c_str(), 1)
       : unsetenv("TAVL_SIM_JOURNAL");
}

CardRecorder::~CardRecorder() {
    // An enclosing recorder's card is the card again.
    for (const auto& [name, value] : saved_) {
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    std::error_code ignored;
    std::filesystem::remove_all(parent_, ignored);
}

// ---- The world and the store ---------------------------------------------

void CardRecorder::SetWorld(const cardsim::World& world) {
    Set(world_, world);
    // Replaced whole, as tavlsim does: the card notices the new file.
    cardsim::WriteFileAtomically(Path(cardsim::kWorldFileName), cardsim::FormatWorld(world), 0600,
                                 false);
}

void CardRecorder::EditWorld(const std::function<void(cardsim::World&)>& edit) {
    cardsim::World world = Get(world_);
    edit(world);
    SetWorld(world);
}

void CardRecorder::Fail(std::uint32_t bits, int calls, cardsim::FailCalls which, bool all) {
    EditWorld(
        [&](cardsim::World& w) { w.fail = {bits, calls, which, all, all, w.fail.serial + 1}; });
    Set(failEnum_, all);
}

void CardRecorder::StoreProfile(const std::string& name, const WirelessReg& reg) {
    StoreIn(folder_).Store(name.c_str(), reg);
}

std::optional<WirelessReg> CardRecorder::Profile(const std::string& name) const {
    WirelessReg reg{};
    return StoreIn(folder_).Load(name, reg) == 0 ? std::optional(reg) : std::nullopt;
}

void CardRecorder::SetActiveProfile(const std::string& name) {
    StoreIn(folder_).SetActive(name);
}

std::optional<std::string> CardRecorder::ActiveProfile() const {
    std::string name;
    return StoreIn(folder_).GetActive(name) == 0 ? std::optional(name) : std::nullopt;
}

std::string CardRecorder::ReadFile(const std::string& relative) const {
    std::ifstream in(Path(relative), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void CardRecorder::WriteFile(const std::string& relative, const std::string& bytes) const {
    std::ofstream(Path(relative), std::ios::binary | std::ios::trunc) << bytes;
}

HostInfo CardRecorder::CardHost() const {
    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_FULL_READ;
    const std::optional<HostInfo> scripted = Get(host_);
    return scripted ? *scripted : (TAVL_GetWLANConfig(&mask, &host), host);
}

// ---- The record ----------------------------------------------------------------

std::vector<CardCall> CardRecorder::CallsNamed(std::string_view name) const {
    std::vector<CardCall> out;
    for (const CardCall& call : Calls()) {
        if (call.name == name) {
            out.push_back(call);
        }
    }
    return out;
}

std::vector<std::string> CardRecorder::CallNames() const {
    std::vector<std::string> out;
    for (const CardCall& call : Calls()) {
        out.push_back(call.name);
    }
    return out;
}

std::optional<CardCall> CardRecorder::LastCall(std::string_view name) const {
    const std::vector<CardCall> calls = CallsNamed(name);
    return calls.empty() ? std::nullopt : std::optional<CardCall>(calls.back());
}

void CardRecorder::ClearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
    std::ofstream(parent_ + "/journal", std::ios::trunc);
}

std::vector<std::string> CardRecorder::Journal(std::string_view call) const {
    std::istringstream in(ReadFile("../journal"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        line.erase(0, line.find(' ') + 1);
        if (call.empty() || line.starts_with(std::string(call) + ' ')) {
            lines.push_back(line);
        }
    }
    return lines;
}

// ---- The calls: forwarded to the simulated card ------------------------------

// The calls the recorder forwards and records by name only.
#define FORWARD(Result, Call, Params, Args)                                                        \
    Result CardRecorder::Call Params {                                                             \
        return Run(#Call, [&](CardCall&) { return TAVL_##Call Args; });                            \
    }
FORWARD(std::int32_t, Init, (const char* identity, std::int32_t reserved), (identity, reserved))
FORWARD(std::int32_t, Terminate, (), ())
FORWARD(std::int32_t, Detect, (std::uint8_t * info), (info))
FORWARD(std::int32_t, SetProfileRoot, (const char* root), (root))
FORWARD(std::int32_t, GetActiveProfileByType, (char* name, std::int32_t type), (name, type))
FORWARD(std::int32_t, SetActiveProfileByType, (const char* name, std::int32_t type), (name, type))
FORWARD(std::int32_t, DeleteProfileByType, (const char* name, std::int32_t type), (name, type))
FORWARD(std::int32_t, GetProfileWireless, (const char* name, WirelessReg* reg), (name, reg))
FORWARD(std::int32_t, SetDriverReg, (const WirelessReg* reg), (reg))
FORWARD(std::uint32_t, ChannelToFrequency, (std::uint32_t channel), (channel))
FORWARD(std::uint32_t, FrequencyToChannel, (std::uint32_t khz), (khz))
FORWARD(std::int32_t, SetWLDomain, (std::int32_t domain), (domain))
FORWARD(std::int32_t, SetChannel, (const std::uint32_t* channel), (channel))
FORWARD(std::int32_t, SetOperatingMode, (const std::uint32_t* mode), (mode))
FORWARD(std::int32_t, SiteSurveyTrigger, (), ())
FORWARD(std::int32_t, SiteSurveyGet, (std::uint8_t * buffer, std::uint32_t* size), (buffer, size))
FORWARD(std::int32_t, Get_XPWZC, (std::uint32_t * state), (state))
FORWARD(std::int32_t, WinXPWZC_Disabled, (), ())
#undef FORWARD

// The store's enumeration cannot fail; a test makes it fail.
std::int32_t CardRecorder::EnumProfilesByType(std::int32_t index, char* name, std::int32_t type) {
    return Run("EnumProfilesByType", [&](CardCall&) {
        return Get(failEnum_) ? -1 : TAVL_EnumProfilesByType(index, name, type);
    });
}

std::int32_t CardRecorder::SetProfileWireless(const char* name, const WirelessReg* reg) {
    return Run("SetProfileWireless", [&](CardCall& c) {
        c.textArg = name != nullptr ? name : "";
        c.nullText = name == nullptr;
        c.reg = reg != nullptr ? std::optional(*reg) : std::nullopt;
        return TAVL_SetProfileWireless(name, reg);
    });
}

std::int32_t CardRecorder::GetWLANConfig(std::uint32_t* mask, HostInfo* host) {
    const std::optional<HostInfo> scripted = Get(host_);
    return Run("GetWLANConfig", [&](CardCall& c) {
        c.maskIn = mask != nullptr ? *mask : 0;
        const std::int32_t result = TAVL_GetWLANConfig(mask, host);
        for (const HostPart& part : scripted&& mask != nullptr && host != nullptr
                                        ? kHostParts
                                        : std::span<const HostPart>{}) {
            if ((c.maskIn & ~*mask & part.bit) != 0) {
                std::memcpy(reinterpret_cast<char*>(host) + part.offset,
                            reinterpret_cast<const char*>(&*scripted) + part.offset, part.size);
            }
        }
        return result;
    });
}

std::int32_t CardRecorder::SetWLANConfig(std::uint32_t* mask, const HostInfo* host) {
    return Run("SetWLANConfig", [&](CardCall& c) {
        // The key blocks live only during the call: decode them now.
        for (int i = 0; i < 4 && mask != nullptr && host != nullptr; ++i) {
            const WepKeyBuffer* block = TavlGetWepKey(host, i);
            if ((*mask & (TAVL_MASK_WEP_KEY1 << i)) != 0 && block != nullptr) {
                const std::uint8_t* key = block->keyMaterial;
                const std::uint32_t n = std::min<std::uint32_t>(block->keyLength, 16);
                c.wepKeys.push_back({i,
                                     block->keyIndex,
                                     {key, key + n},
                                     (block->keyIndex & TAVL_WEP_TRANSMIT_KEY) != 0});
            }
        }
        c.maskIn = mask != nullptr ? *mask : 0;
        c.host = host != nullptr ? std::optional(*host) : std::nullopt;
        return TAVL_SetWLANConfig(mask, host);
    });
}

std::int32_t CardRecorder::SetSSID(const SsidText* ssid) {
    return Run("SetSSID", [&](CardCall& c) {
        c.ssid = ssid != nullptr ? std::optional(*ssid) : std::nullopt;
        return TAVL_SetSSID(ssid);
    });
}

std::int32_t CardRecorder::QueryOID(std::uint32_t oid, void* buffer, std::uint32_t length,
                                    std::uint32_t* written) {
    const QueryHook hook = Get(queryHook_);
    std::optional<std::uint32_t> value;
    {
        std::lock_guard lock(mutex_);
        if (oid == TAVL_OID_GEN_MEDIA_CONNECT_STATUS) {
            value = media_;
        } else if (counters_ && (oid == TAVL_OID_GEN_XMIT_OK || oid == TAVL_OID_GEN_RCV_OK)) {
            value = oid == TAVL_OID_GEN_XMIT_OK ? counters_->first : counters_->second;
        }
    }
    return Run("QueryOID", [&](CardCall&) {
        std::uint32_t none = 0;
        std::uint32_t* out = written != nullptr ? written : &none;
        if (hook) {
            *out = 0;
            return hook(oid, buffer, length, out);
        }
        const std::int32_t result = TAVL_QueryOID(oid, buffer, length, out);
        if (result == 0 && value) {
            std::memcpy(buffer, &*value, sizeof *value);
        }
        return result;
    });
}

std::int32_t CardRecorder::GetWLANDriverPath(char* path) {
    const auto scripted = Get(driverPath_);
    return Run("GetWLANDriverPath", [&](CardCall&) {
        if (!scripted) {
            return TAVL_GetWLANDriverPath(path);
        }
        if (path == nullptr) {
            return 0;
        }
        std::snprintf(path, TAVL_PATH_BUFFER_SIZE, "%s", scripted->first.c_str());
        return scripted->second;
    });
}
