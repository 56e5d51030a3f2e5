#include "tests/fakes/CardRecorder.h"

#include "cardshared/Files.h"
#include "cardshared/ProfileStore.h"
#include "cardshared/SurveyBuffer.h"
#include "cardshared/Text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>

namespace {

cardsim::World QuickWorld() {
    cardsim::World world = cardsim::DefaultWorld();
    world.scanMs = 0;
    return world;
}

cardsim::ProfileStore StoreIn(const std::string& folder) {
    cardsim::ProfileStore store;
    store.SetWorldFolder(folder);
    return store;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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

// The name argument of a call, as recorded.
void Name(CardCall& call, const char* name) {
    call.textArg = name != nullptr ? name : "";
    call.nullText = name == nullptr;
}

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

CardRecorder::CardRecorder() : CardRecorder(QuickWorld()) {}

CardRecorder::CardRecorder(const cardsim::World& world) {
    std::string pattern = (std::filesystem::temp_directory_path() / "skerrin-card-XXXXXX");
    parent_ = mkdtemp(pattern.data());
    folder_ = parent_ + "/home";
    std::filesystem::create_directory(folder_);
    SetWorld(world);
    for (const char* name : {"TAVL_SIM_HOME", "TAVL_SIM_JOURNAL"}) {
        const char* value = std::getenv(name);
        saved_.emplace_back(name,
                            value != nullptr ? std::optional<std::string>(value) : std::nullopt);
    }
    setenv("TAVL_SIM_HOME", folder_.c_str(), 1);
    setenv("TAVL_SIM_JOURNAL", (parent_ + "/journal").c_str(), 1);
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
    cardsim::WriteFileAtomically(folder_ + "/" + cardsim::kWorldFileName,
                                 cardsim::FormatWorld(world), 0600, false);
}

void CardRecorder::EditWorld(const std::function<void(cardsim::World&)>& edit) {
    cardsim::World world = World();
    edit(world);
    SetWorld(world);
}

void CardRecorder::Fail(std::uint32_t bits, int calls, cardsim::FailCalls which, bool all) {
    EditWorld(
        [&](cardsim::World& w) { w.fail = {bits, calls, which, all, all, w.fail.serial + 1}; });
    Set(failStore_, all);
}

void CardRecorder::StoreProfile(const std::string& name, const WirelessReg& reg) {
    StoreIn(folder_).Store(name.c_str(), reg);
}

std::optional<WirelessReg> CardRecorder::Profile(const std::string& name) const {
    WirelessReg reg{};
    return StoreIn(folder_).Load(name, reg) == 0 ? std::optional(reg) : std::nullopt;
}

void CardRecorder::SetActiveProfile(std::optional<std::string> name) {
    cardsim::ProfileStore store = StoreIn(folder_);
    if (name) {
        store.SetActive(*name);
    } else {
        std::filesystem::remove(store.Folder() + "/" + cardsim::kActiveFileName);
    }
}

std::optional<std::string> CardRecorder::ActiveProfile() const {
    std::string name;
    return StoreIn(folder_).GetActive(name) == 0 ? std::optional(name) : std::nullopt;
}

std::optional<WirelessReg> CardRecorder::DriverReg() const {
    const std::string bytes = ReadAll(folder_ + "/" + cardsim::kDriverSettingsFileName);
    WirelessReg reg{};
    if (bytes.size() != sizeof reg) {
        return std::nullopt;
    }
    std::memcpy(&reg, bytes.data(), sizeof reg);
    return reg;
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

std::string CardRecorder::Log() const {
    std::string out;
    for (const CardCall& call : Calls()) {
        out += call.text + '\n';
    }
    return out;
}

void CardRecorder::ClearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
    std::ofstream(parent_ + "/journal", std::ios::trunc);
}

std::vector<std::string> CardRecorder::Journal(std::string_view call) const {
    std::istringstream in(ReadAll(parent_ + "/journal"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        line.erase(0, line.find(' ') + 1);
        if (call.empty() || line.starts_with(std::string(call) + ' ')) {
            lines.push_back(line);
        }
    }
    return lines;
}

void CardRecorder::Record(CardCall& call) {
    // One readable line: the name, the name argument, the result.
    call.text = call.name + (call.nullText ? " (null)" : " \"" + call.textArg + "\"");
    call.text += " -> " + std::to_string(call.result);
    std::lock_guard lock(mutex_);
    if (recording_) {
        calls_.push_back(call);
    }
}

// ---- The calls: forwarded to the simulated card ------------------------------

std::int32_t CardRecorder::Init(const char* identity, std::int32_t reserved) {
    return Run("Init", [&](CardCall& c) {
        Name(c, identity);
        return TAVL_Init(identity, reserved);
    });
}

std::int32_t CardRecorder::Terminate() {
    return Run("Terminate", [](CardCall&) { return TAVL_Terminate(); });
}

std::int32_t CardRecorder::Detect(std::uint8_t* info) {
    return Run("Detect", [&](CardCall&) { return TAVL_Detect(info); });
}

// The profile calls and SetDriverReg fail without reaching the store while
// every call fails.
std::int32_t CardRecorder::SetProfileRoot(const char* root) {
    return Run("SetProfileRoot", [&](CardCall& c) {
        Name(c, root);
        return Get(failStore_) ? -1 : TAVL_SetProfileRoot(root);
    });
}

std::int32_t CardRecorder::GetActiveProfileByType(char* name, std::int32_t type) {
    return Run("GetActiveProfileByType", [&](CardCall& c) {
        const std::int32_t result = Get(failStore_) ? -1 : TAVL_GetActiveProfileByType(name, type);
        Name(c, result == 0 ? name : "");
        return result;
    });
}

std::int32_t CardRecorder::SetActiveProfileByType(const char* name, std::int32_t type) {
    return Run("SetActiveProfileByType", [&](CardCall& c) {
        Name(c, name);
        return Get(failStore_) ? -1 : TAVL_SetActiveProfileByType(name, type);
    });
}

std::int32_t CardRecorder::EnumProfilesByType(std::int32_t index, char* name, std::int32_t type) {
    return Run("EnumProfilesByType", [&](CardCall& c) {
        const std::int32_t result =
            Get(failStore_) ? -1 : TAVL_EnumProfilesByType(index, name, type);
        Name(c, result == 0 ? name : "");
        return result;
    });
}

std::int32_t CardRecorder::DeleteProfileByType(const char* name, std::int32_t type) {
    return Run("DeleteProfileByType", [&](CardCall& c) {
        Name(c, name);
        return Get(failStore_) ? -1 : TAVL_DeleteProfileByType(name, type);
    });
}

std::int32_t CardRecorder::GetProfileWireless(const char* name, WirelessReg* reg) {
    return Run("GetProfileWireless", [&](CardCall& c) {
        Name(c, name);
        const std::int32_t result = Get(failStore_) ? -1 : TAVL_GetProfileWireless(name, reg);
        if (result == 0) {
            c.reg = *reg;
        }
        return result;
    });
}

std::int32_t CardRecorder::SetProfileWireless(const char* name, const WirelessReg* reg) {
    return Run("SetProfileWireless", [&](CardCall& c) {
        Name(c, name);
        c.reg = reg != nullptr ? std::optional(*reg) : std::nullopt;
        return Get(failStore_) ? -1 : TAVL_SetProfileWireless(name, reg);
    });
}

std::int32_t CardRecorder::SetDriverReg(const WirelessReg* reg) {
    return Run("SetDriverReg", [&](CardCall& c) {
        c.reg = reg != nullptr ? std::optional(*reg) : std::nullopt;
        return Get(failStore_) ? -1 : TAVL_SetDriverReg(reg);
    });
}

std::int32_t CardRecorder::GetWLANConfig(std::uint32_t* mask, HostInfo* host) {
    const std::optional<HostInfo> scripted = Get(host_);
    return Run("GetWLANConfig", [&](CardCall& c) {
        c.maskIn = mask != nullptr ? *mask : 0;
        const std::int32_t result = TAVL_GetWLANConfig(mask, host);
        if (mask == nullptr || host == nullptr) {
            return result;
        }
        for (const HostPart& part : scripted ? kHostParts : std::span<const HostPart>{}) {
            if ((c.maskIn & ~*mask & part.bit) != 0) {
                std::memcpy(reinterpret_cast<char*>(host) + part.offset,
                            reinterpret_cast<const char*>(&*scripted) + part.offset, part.size);
            }
        }
        c.host = *host;
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
        const std::int32_t result = TAVL_SetWLANConfig(mask, host);
        return result;
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
    std::optional<std::int32_t> failed;
    std::optional<std::uint32_t> value;
    {
        std::lock_guard lock(mutex_);
        if (failQuery_.first > 0) {
            --failQuery_.first;
            failed = failQuery_.second;
        } else if (oid == TAVL_OID_GEN_MEDIA_CONNECT_STATUS) {
            value = media_;
        } else if (counters_ && (oid == TAVL_OID_GEN_XMIT_OK || oid == TAVL_OID_GEN_RCV_OK)) {
            value = oid == TAVL_OID_GEN_XMIT_OK ? counters_->first : counters_->second;
        }
    }
    return Run("QueryOID", [&](CardCall&) {
        std::uint32_t none = 0;
        std::uint32_t* out = written != nullptr ? written : &none;
        if (hook || failed) {
            *out = 0;
            return hook ? hook(oid, buffer, length, out) : *failed;
        }
        const std::int32_t result = TAVL_QueryOID(oid, buffer, length, out);
        if (result == 0 && value) {
            std::memcpy(buffer, &*value, sizeof *value);
        }
        return result;
    });
}

std::uint32_t CardRecorder::ChannelToFrequency(std::uint32_t channel) {
    return Run("ChannelToFrequency", [&](CardCall&) { return TAVL_ChannelToFrequency(channel); });
}

std::uint32_t CardRecorder::FrequencyToChannel(std::uint32_t khz) {
    return Run("FrequencyToChannel", [&](CardCall&) { return TAVL_FrequencyToChannel(khz); });
}

std::int32_t CardRecorder::SetWLDomain(std::int32_t domain) {
    return Run("SetWLDomain", [&](CardCall&) { return TAVL_SetWLDomain(domain); });
}

std::int32_t CardRecorder::SetChannel(const std::uint32_t* channel) {
    return Run("SetChannel", [&](CardCall&) { return TAVL_SetChannel(channel); });
}

std::int32_t CardRecorder::SetOperatingMode(const std::uint32_t* mode) {
    return Run("SetOperatingMode", [&](CardCall&) { return TAVL_SetOperatingMode(mode); });
}

std::int32_t CardRecorder::SiteSurveyTrigger() {
    return Run("SiteSurveyTrigger", [](CardCall&) { return TAVL_SiteSurveyTrigger(); });
}

std::int32_t CardRecorder::SiteSurveyGet(std::uint8_t* buffer, std::uint32_t* size) {
    const auto scripted = Get(survey_);
    return Run("SiteSurveyGet", [&](CardCall&) {
        if (!scripted) {
            return TAVL_SiteSurveyGet(buffer, size);
        }
        const bool written = buffer != nullptr && size != nullptr &&
                             cardsim::WriteSurvey(scripted->first, buffer, *size);
        return written ? scripted->second : 0;
    });
}

std::int32_t CardRecorder::Get_XPWZC(std::uint32_t* state) {
    return Run("Get_XPWZC", [&](CardCall&) { return TAVL_Get_XPWZC(state); });
}

std::int32_t CardRecorder::WinXPWZC_Disabled() {
    return Run("WinXPWZC_Disabled", [](CardCall&) { return TAVL_WinXPWZC_Disabled(); });
}

std::int32_t CardRecorder::GetWLANDriverPath(char* path) {
    const auto scripted = Get(driverPath_);
    return Run("GetWLANDriverPath", [&](CardCall& c) {
        if (scripted && path != nullptr) {
            std::snprintf(path, TAVL_PATH_BUFFER_SIZE, "%s", scripted->first.c_str());
        }
        const std::int32_t result = !scripted         ? TAVL_GetWLANDriverPath(path)
                                    : path != nullptr ? scripted->second
                                                      : 0;
        Name(c, result == 1 ? path : "");
        return result;
    });
}
