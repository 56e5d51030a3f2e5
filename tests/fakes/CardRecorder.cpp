#include "tests/fakes/CardRecorder.h"

#include "cardshared/Files.h"
#include "cardshared/ProfileStore.h"
#include "cardshared/SurveyBuffer.h"
#include "cardshared/Text.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
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
void SetName(CardCall& call, const char* name) {
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
    std::string pattern = (std::filesystem::temp_directory_path() / "skerrin-card-XXXXXX").string();
    parent_ = mkdtemp(pattern.data());
    folder_ = parent_ + "/home";
    std::filesystem::create_directory(folder_);
    SetWorld(world);
    setenv("TAVL_SIM_HOME", folder_.c_str(), 1);
    setenv("TAVL_SIM_JOURNAL", (parent_ + "/journal").c_str(), 1);
}

CardRecorder::~CardRecorder() {
    unsetenv("TAVL_SIM_JOURNAL");
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

void CardRecorder::Fail(std::uint32_t bits, int calls, cardsim::FailCalls which) {
    EditWorld([&](cardsim::World& w) {
        w.fail.mask = bits;
        w.fail.count = calls;
        w.fail.calls = which;
        ++w.fail.serial;
    });
}

void CardRecorder::FailEverything(bool fail) {
    EditWorld([&](cardsim::World& w) {
        w.fail.mask = fail ? 0xFFFFFFFF : 0;
        w.fail.count = -1;
        w.fail.calls = cardsim::FailCalls::Both;
        w.fail.query = w.fail.detect = fail;
        ++w.fail.serial;
    });
    Set(failProfiles_, fail);
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
    if (const auto host = Get(host_)) {
        return *host;
    }
    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_FULL_READ;
    TAVL_GetWLANConfig(&mask, &host);
    return host;
}

void CardRecorder::SetSurveyEntries(const std::vector<TavlSurveyEntry>& entries,
                                    std::int32_t result) {
    std::vector<std::uint8_t> bytes(TAVL_SURVEY_HEADER_SIZE + entries.size() * sizeof entries[0]);
    cardsim::WriteSurvey(entries, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    std::lock_guard lock(mutex_);
    survey_ = std::move(bytes);
    surveyResult_ = result;
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

CardCall CardRecorder::Begin(const char* name) {
    if (const auto observer = Get(observer_)) {
        observer(name);
    }
    CardCall call;
    call.name = name;
    return call;
}

void CardRecorder::Record(CardCall& call) {
    // One readable line: the name, the arguments that matter, the result.
    call.text = call.name;
    if (!call.textArg.empty() || call.nullText) {
        call.text += call.nullText ? " (null)" : " \"" + call.textArg + "\"";
    }
    if (call.maskIn != 0) {
        call.text +=
            " mask=" + cardsim::HexWord(call.maskIn) + "->" + cardsim::HexWord(call.maskOut);
    } else if (call.number != 0) {
        call.text += " " + std::to_string(call.number);
    }
    for (const WepKeyArg& key : call.wepKeys) {
        call.text += " key" + std::to_string(key.slot) + "=" + key.Hex();
    }
    call.text += " -> " + std::to_string(call.result);
    call.thread = std::this_thread::get_id();
    std::lock_guard lock(mutex_);
    if (terminated_) {
        ++callsAfterTerminate_;
    }
    if (recording_) {
        calls_.push_back(call);
    }
}

// ---- The calls: forwarded to the simulated card ------------------------------

std::int32_t CardRecorder::Init(const char* identity, std::int32_t reserved) {
    CardCall call = Begin("Init");
    SetName(call, identity);
    call.number = reserved;
    return Finish(call, TAVL_Init(identity, reserved));
}

std::int32_t CardRecorder::Terminate() {
    CardCall call = Begin("Terminate");
    const std::int32_t result = Finish(call, TAVL_Terminate());
    Set(terminated_, true);
    return result;
}

std::int32_t CardRecorder::Detect(std::uint8_t* info) {
    CardCall call = Begin("Detect");
    const DetectHook hook = Get(detectHook_);
    return Finish(call, hook ? hook(info) : TAVL_Detect(info));
}

std::int32_t CardRecorder::SetProfileRoot(const char* root) {
    CardCall call = Begin("SetProfileRoot");
    SetName(call, root);
    return Finish(call, Get(failProfiles_) ? -1 : TAVL_SetProfileRoot(root));
}

std::int32_t CardRecorder::GetActiveProfileByType(char* name, std::int32_t type) {
    CardCall call = Begin("GetActiveProfileByType");
    const std::int32_t result = Get(failProfiles_) ? -1 : TAVL_GetActiveProfileByType(name, type);
    if (result == 0) {
        call.textArg = name;
    }
    return Finish(call, result);
}

std::int32_t CardRecorder::SetActiveProfileByType(const char* name, std::int32_t type) {
    CardCall call = Begin("SetActiveProfileByType");
    SetName(call, name);
    return Finish(call, Get(failProfiles_) ? -1 : TAVL_SetActiveProfileByType(name, type));
}

std::int32_t CardRecorder::EnumProfilesByType(std::int32_t index, char* name, std::int32_t type) {
    CardCall call = Begin("EnumProfilesByType");
    call.number = index;
    const std::int32_t result =
        Get(failProfiles_) ? -1 : TAVL_EnumProfilesByType(index, name, type);
    if (result == 0) {
        call.textArg = name;
    }
    return Finish(call, result);
}

std::int32_t CardRecorder::DeleteProfileByType(const char* name, std::int32_t type) {
    CardCall call = Begin("DeleteProfileByType");
    SetName(call, name);
    return Finish(call, Get(failProfiles_) ? -1 : TAVL_DeleteProfileByType(name, type));
}

std::int32_t CardRecorder::GetProfileWireless(const char* name, WirelessReg* reg) {
    CardCall call = Begin("GetProfileWireless");
    SetName(call, name);
    const std::int32_t result = Get(failProfiles_) ? -1 : TAVL_GetProfileWireless(name, reg);
    if (result == 0) {
        call.reg = *reg;
    }
    return Finish(call, result);
}

std::int32_t CardRecorder::SetProfileWireless(const char* name, const WirelessReg* reg) {
    CardCall call = Begin("SetProfileWireless");
    SetName(call, name);
    if (reg != nullptr) {
        call.reg = *reg;
    }
    return Finish(call, Get(failProfiles_) ? -1 : TAVL_SetProfileWireless(name, reg));
}

std::int32_t CardRecorder::SetDriverReg(const WirelessReg* reg) {
    CardCall call = Begin("SetDriverReg");
    if (reg != nullptr) {
        call.reg = *reg;
    }
    return Finish(call, Get(failProfiles_) ? -1 : TAVL_SetDriverReg(reg));
}

std::int32_t CardRecorder::GetWLANConfig(std::uint32_t* mask, HostInfo* host) {
    CardCall call = Begin("GetWLANConfig");
    call.maskIn = mask != nullptr ? *mask : 0;
    const std::int32_t result = TAVL_GetWLANConfig(mask, host);
    if (mask != nullptr && host != nullptr) {
        if (const auto scripted = Get(host_)) {
            for (const HostPart& part : kHostParts) {
                if ((call.maskIn & ~*mask & part.bit) != 0) {
                    std::memcpy(reinterpret_cast<char*>(host) + part.offset,
                                reinterpret_cast<const char*>(&*scripted) + part.offset, part.size);
                }
            }
        }
        call.maskOut = *mask;
        call.host = *host;
    }
    return Finish(call, result);
}

std::int32_t CardRecorder::SetWLANConfig(std::uint32_t* mask, const HostInfo* host) {
    CardCall call = Begin("SetWLANConfig");
    if (mask != nullptr && host != nullptr) {
        call.maskIn = *mask;
        call.host = *host;
        // The key blocks belong to the caller and live only during the
        // call: decode them now.
        for (int i = 0; i < 4; ++i) {
            const WepKeyBuffer* block = TavlGetWepKey(host, i);
            if ((*mask & (TAVL_MASK_WEP_KEY1 << i)) != 0 && block != nullptr) {
                const std::uint32_t n =
                    std::min<std::uint32_t>(block->keyLength, sizeof block->keyMaterial);
                call.wepKeys.push_back({i,
                                        block->keyIndex,
                                        block->keyLength,
                                        {block->keyMaterial, block->keyMaterial + n},
                                        (block->keyIndex & TAVL_WEP_TRANSMIT_KEY) != 0});
            }
        }
    }
    const std::int32_t result = TAVL_SetWLANConfig(mask, host);
    call.maskOut = mask != nullptr ? *mask : 0;
    return Finish(call, result);
}

std::int32_t CardRecorder::SetSSID(const SsidText* ssid) {
    CardCall call = Begin("SetSSID");
    if (ssid != nullptr) {
        call.ssid = *ssid;
    }
    return Finish(call, TAVL_SetSSID(ssid));
}

std::int32_t CardRecorder::QueryOID(std::uint32_t oid, void* buffer, std::uint32_t length,
                                    std::uint32_t* written) {
    CardCall call = Begin("QueryOID");
    call.number = oid;
    std::uint32_t localWritten = 0;
    std::uint32_t* out = written != nullptr ? written : &localWritten;
    if (const QueryHook hook = Get(queryHook_)) {
        return Finish(call, hook(oid, buffer, length, out));
    }
    std::optional<std::int32_t> failed;
    {
        std::lock_guard lock(mutex_);
        if (failQuery_.first > 0) {
            --failQuery_.first;
            failed = failQuery_.second;
        }
    }
    if (failed) {
        *out = 0;
        return Finish(call, *failed);
    }
    const std::int32_t result = TAVL_QueryOID(oid, buffer, length, out);
    std::optional<std::uint32_t> value;
    {
        std::lock_guard lock(mutex_);
        if (oid == TAVL_OID_GEN_MEDIA_CONNECT_STATUS) {
            value = media_;
        } else if (counters_ && (oid == TAVL_OID_GEN_XMIT_OK || oid == TAVL_OID_GEN_RCV_OK)) {
            value = oid == TAVL_OID_GEN_XMIT_OK ? counters_->first : counters_->second;
        }
    }
    if (result == 0 && value) {
        std::memcpy(buffer, &*value, sizeof *value);
    }
    return Finish(call, result);
}

std::uint32_t CardRecorder::ChannelToFrequency(std::uint32_t channel) {
    CardCall call = Begin("ChannelToFrequency");
    call.number = channel;
    return Finish(call, TAVL_ChannelToFrequency(channel));
}

std::uint32_t CardRecorder::FrequencyToChannel(std::uint32_t khz) {
    CardCall call = Begin("FrequencyToChannel");
    call.number = khz;
    return Finish(call, TAVL_FrequencyToChannel(khz));
}

std::int32_t CardRecorder::SetWLDomain(std::int32_t domain) {
    CardCall call = Begin("SetWLDomain");
    call.number = domain;
    return Finish(call, TAVL_SetWLDomain(domain));
}

std::int32_t CardRecorder::SetChannel(const std::uint32_t* channel) {
    CardCall call = Begin("SetChannel");
    call.number = channel != nullptr ? *channel : -1;
    return Finish(call, TAVL_SetChannel(channel));
}

std::int32_t CardRecorder::SetOperatingMode(const std::uint32_t* mode) {
    CardCall call = Begin("SetOperatingMode");
    call.number = mode != nullptr ? *mode : -1;
    return Finish(call, TAVL_SetOperatingMode(mode));
}

std::int32_t CardRecorder::SiteSurveyTrigger() {
    CardCall call = Begin("SiteSurveyTrigger");
    return Finish(call, TAVL_SiteSurveyTrigger());
}

std::int32_t CardRecorder::SiteSurveyGet(std::uint8_t* buffer, std::uint32_t* size) {
    CardCall call = Begin("SiteSurveyGet");
    call.number = size != nullptr ? *size : -1;
    std::unique_lock lock(mutex_);
    if (!survey_) {
        lock.unlock();
        return Finish(call, TAVL_SiteSurveyGet(buffer, size));
    }
    // The count, then as many whole entries as fit.
    std::size_t n = std::min<std::size_t>(size != nullptr ? *size : 0, survey_->size());
    if (n >= TAVL_SURVEY_HEADER_SIZE) {
        n -= (n - TAVL_SURVEY_HEADER_SIZE) % TAVL_SURVEY_ENTRY_SIZE;
    }
    if (buffer != nullptr) {
        std::copy_n(survey_->begin(), n, buffer);
    }
    const std::int32_t result = buffer != nullptr ? surveyResult_ : 0;
    lock.unlock();
    return Finish(call, result);
}

std::int32_t CardRecorder::Get_XPWZC(std::uint32_t* state) {
    CardCall call = Begin("Get_XPWZC");
    return Finish(call, TAVL_Get_XPWZC(state));
}

std::int32_t CardRecorder::WinXPWZC_Disabled() {
    CardCall call = Begin("WinXPWZC_Disabled");
    return Finish(call, TAVL_WinXPWZC_Disabled());
}

std::int32_t CardRecorder::GetWLANDriverPath(char* path) {
    CardCall call = Begin("GetWLANDriverPath");
    const auto scripted = Get(driverPath_);
    std::int32_t result = 0;
    if (!scripted) {
        result = TAVL_GetWLANDriverPath(path);
    } else if (path != nullptr) {
        const std::size_t n =
            std::min<std::size_t>(scripted->first.size(), TAVL_PATH_BUFFER_SIZE - 1);
        std::memcpy(path, scripted->first.data(), n);
        path[n] = '\0';
        result = scripted->second;
    }
    if (result == 1) {
        call.textArg = path;
    }
    return Finish(call, result);
}
