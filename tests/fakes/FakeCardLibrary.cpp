#include "tests/fakes/FakeCardLibrary.h"

#include "tests/fakes/FakeFormat.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr std::size_t kProfileNameMax = TAVL_PROFILE_NAME_MAX;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

HostInfo DefaultCardHost() {
    HostInfo host{};
    const std::uint8_t bssid[6] = {0x00, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E};
    std::memcpy(host.bssid, bssid, sizeof bssid);
    host.rssi = -60;
    host.infrastructureMode = 1;
    host.configuration.length = 32;
    host.configuration.beaconPeriod = 100;
    host.configuration.dsConfig = 2437000;
    host.configuration.fhLength = 16;
    host.wepStatus = 1;
    std::snprintf(host.firmwareVersion, sizeof host.firmwareVersion, "1.2.3");
    host.channelMask = 0x3FFF;
    return host;
}

} // namespace

std::string FakeWepKey::Hex() const {
    std::string out;
    for (std::uint8_t b : bytes) {
        out += fake::Format("%02X", b);
    }
    return out;
}

const FakeWepKey* CardCall::Key(int slot) const {
    for (const FakeWepKey& key : wepKeys) {
        if (key.slot == slot) {
            return &key;
        }
    }
    return nullptr;
}

FakeCardLibrary::FakeCardLibrary() : card_(DefaultCardHost()) {}

// ---- Script -------------------------------------------------------------

void FakeCardLibrary::SetPresent(bool present) {
    std::lock_guard lock(mutex_);
    present_ = present;
}

void FakeCardLibrary::SetMediaStatus(std::uint32_t status) {
    std::lock_guard lock(mutex_);
    mediaStatus_ = status;
}

void FakeCardLibrary::SetCounters(std::uint32_t xmitOk, std::uint32_t rcvOk) {
    std::lock_guard lock(mutex_);
    xmitOk_ = xmitOk;
    rcvOk_ = rcvOk;
}

void FakeCardLibrary::SetCardHost(const HostInfo& host) {
    std::lock_guard lock(mutex_);
    card_ = host;
}

HostInfo FakeCardLibrary::CardHost() const {
    std::lock_guard lock(mutex_);
    return card_;
}

std::optional<FakeWepKey> FakeCardLibrary::CardKey(int slot) const {
    std::lock_guard lock(mutex_);
    if (slot < 0 || slot > 3) {
        return std::nullopt;
    }
    return cardKeys_[slot];
}

void FakeCardLibrary::SetZeroConfigState(std::uint32_t state) {
    std::lock_guard lock(mutex_);
    zeroConfigState_ = state;
}

void FakeCardLibrary::SetZeroConfigServiceDisabled(std::int32_t answer) {
    std::lock_guard lock(mutex_);
    zeroConfigDisabled_ = answer;
}

void FakeCardLibrary::SetDriverPath(std::string path, std::int32_t result) {
    std::lock_guard lock(mutex_);
    driverPath_ = std::move(path);
    driverPathResult_ = result;
}

void FakeCardLibrary::SetSurveyEntries(const std::vector<TavlSurveyEntry>& entries,
                                       std::int32_t result) {
    std::vector<std::uint8_t> bytes(TAVL_SURVEY_HEADER_SIZE + entries.size() * sizeof entries[0]);
    const auto count = static_cast<std::uint32_t>(entries.size());
    std::memcpy(bytes.data(), &count, sizeof count);
    if (!entries.empty()) {
        std::memcpy(bytes.data() + TAVL_SURVEY_HEADER_SIZE, entries.data(),
                    entries.size() * sizeof entries[0]);
    }
    std::lock_guard lock(mutex_);
    survey_ = std::move(bytes);
    surveyWholeEntries_ = true;
    surveyResult_ = result;
}

void FakeCardLibrary::SetSurveyBytes(std::vector<std::uint8_t> bytes, std::int32_t result) {
    std::lock_guard lock(mutex_);
    survey_ = std::move(bytes);
    surveyWholeEntries_ = false;
    surveyResult_ = result;
}

std::int32_t FakeCardLibrary::Domain() const {
    std::lock_guard lock(mutex_);
    return domain_;
}

std::optional<WirelessReg> FakeCardLibrary::DriverReg() const {
    std::lock_guard lock(mutex_);
    return driverReg_;
}

void FakeCardLibrary::StoreProfile(const std::string& name, const WirelessReg& reg) {
    std::lock_guard lock(mutex_);
    auto found = FindProfile(name);
    if (found != profiles_.end()) {
        found->reg = reg;
    } else {
        profiles_.push_back({name.substr(0, kProfileNameMax), reg});
    }
}

std::optional<WirelessReg> FakeCardLibrary::Profile(const std::string& name) const {
    std::lock_guard lock(mutex_);
    auto found = FindProfile(name);
    if (found == profiles_.end()) {
        return std::nullopt;
    }
    return found->reg;
}

std::vector<std::string> FakeCardLibrary::ProfileNames() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    for (const StoredProfile& profile : profiles_) {
        names.push_back(profile.name);
    }
    return names;
}

void FakeCardLibrary::SetActiveProfile(std::optional<std::string> name) {
    std::lock_guard lock(mutex_);
    active_ = std::move(name);
}

std::optional<std::string> FakeCardLibrary::ActiveProfile() const {
    std::lock_guard lock(mutex_);
    return active_;
}

void FakeCardLibrary::FailSetBits(std::uint32_t bits, int calls) {
    std::lock_guard lock(mutex_);
    failSetBits_ = bits;
    failSetCalls_ = calls;
}

void FakeCardLibrary::FailGetBits(std::uint32_t bits, int calls) {
    std::lock_guard lock(mutex_);
    failGetBits_ = bits;
    failGetCalls_ = calls;
}

void FakeCardLibrary::FailQueryOID(int calls, std::int32_t result) {
    std::lock_guard lock(mutex_);
    failQueryCalls_ = calls;
    failQueryResult_ = result;
}

void FakeCardLibrary::FailEverything(bool fail) {
    std::lock_guard lock(mutex_);
    failEverything_ = fail;
}

void FakeCardLibrary::OnDetect(DetectHook hook) {
    std::lock_guard lock(mutex_);
    detectHook_ = std::move(hook);
}

void FakeCardLibrary::OnGetWLANConfig(GetHook hook) {
    std::lock_guard lock(mutex_);
    getHook_ = std::move(hook);
}

void FakeCardLibrary::OnSetWLANConfig(SetHook hook) {
    std::lock_guard lock(mutex_);
    setHook_ = std::move(hook);
}

void FakeCardLibrary::OnQueryOID(QueryHook hook) {
    std::lock_guard lock(mutex_);
    queryHook_ = std::move(hook);
}

void FakeCardLibrary::OnCall(std::function<void(std::string_view)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

// ---- The record ---------------------------------------------------------

std::vector<CardCall> FakeCardLibrary::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<CardCall> FakeCardLibrary::CallsNamed(std::string_view name) const {
    std::lock_guard lock(mutex_);
    std::vector<CardCall> out;
    for (const CardCall& call : calls_) {
        if (call.name == name) {
            out.push_back(call);
        }
    }
    return out;
}

std::vector<std::string> FakeCardLibrary::CallNames() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const CardCall& call : calls_) {
        out.push_back(call.name);
    }
    return out;
}

std::size_t FakeCardLibrary::CountOf(std::string_view name) const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count_if(
        calls_.begin(), calls_.end(), [&](const CardCall& call) { return call.name == name; }));
}

std::optional<CardCall> FakeCardLibrary::LastCall(std::string_view name) const {
    std::lock_guard lock(mutex_);
    for (auto it = calls_.rbegin(); it != calls_.rend(); ++it) {
        if (it->name == name) {
            return *it;
        }
    }
    return std::nullopt;
}

std::string FakeCardLibrary::Log() const {
    std::lock_guard lock(mutex_);
    std::string out;
    for (const CardCall& call : calls_) {
        out += call.text;
        out += '\n';
    }
    return out;
}

void FakeCardLibrary::ClearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

void FakeCardLibrary::SetRecording(bool on) {
    std::lock_guard lock(mutex_);
    recording_ = on;
}

std::size_t FakeCardLibrary::CallsAfterTerminate() const {
    std::lock_guard lock(mutex_);
    return callsAfterTerminate_;
}

void FakeCardLibrary::Observe(std::string_view name) {
    std::function<void(std::string_view)> observer;
    {
        std::lock_guard lock(mutex_);
        observer = observer_;
    }
    if (observer) {
        observer(name);
    }
}

void FakeCardLibrary::Record(CardCall call) {
    call.thread = std::this_thread::get_id();
    std::lock_guard lock(mutex_);
    if (terminated_) {
        ++callsAfterTerminate_;
    }
    if (recording_) {
        calls_.push_back(std::move(call));
    }
}

std::vector<FakeCardLibrary::StoredProfile>::iterator
FakeCardLibrary::FindProfile(const std::string& name) {
    const std::string key = Lower(name.substr(0, kProfileNameMax));
    return std::find_if(profiles_.begin(), profiles_.end(),
                        [&](const StoredProfile& p) { return Lower(p.name) == key; });
}

std::vector<FakeCardLibrary::StoredProfile>::const_iterator
FakeCardLibrary::FindProfile(const std::string& name) const {
    const std::string key = Lower(name.substr(0, kProfileNameMax));
    return std::find_if(profiles_.begin(), profiles_.end(),
                        [&](const StoredProfile& p) { return Lower(p.name) == key; });
}

std::uint32_t FakeCardLibrary::TakeFailure(std::uint32_t& bits, int& calls, std::uint32_t asked) {
    if (calls <= 0) {
        return 0;
    }
    --calls;
    return bits & asked;
}

void FakeCardLibrary::ReadFields(std::uint32_t mask, HostInfo& host) const {
    if (mask & TAVL_MASK_BSSID) {
        std::memcpy(host.bssid, card_.bssid, sizeof host.bssid);
    }
    if (mask & TAVL_MASK_SSID) {
        host.ssidLength = card_.ssidLength;
        std::memcpy(host.ssid, card_.ssid, sizeof host.ssid);
    }
    if (mask & TAVL_MASK_POWER_MODE) {
        host.powerMode = card_.powerMode;
    }
    if (mask & TAVL_MASK_RSSI) {
        host.rssi = card_.rssi;
    }
    if (mask & TAVL_MASK_INFRASTRUCTURE) {
        host.infrastructureMode = card_.infrastructureMode;
    }
    if (mask & TAVL_MASK_FRAG_THRESHOLD) {
        host.fragThreshold = card_.fragThreshold;
    }
    if (mask & TAVL_MASK_RTS_THRESHOLD) {
        host.rtsThreshold = card_.rtsThreshold;
    }
    if (mask & TAVL_MASK_SUPPORTED_RATES) {
        std::memcpy(host.supportedRates, card_.supportedRates, sizeof host.supportedRates);
    }
    if (mask & TAVL_MASK_CONFIGURATION) {
        host.configuration = card_.configuration;
    }
    if (mask & TAVL_MASK_WEP_STATUS) {
        host.wepStatus = card_.wepStatus;
    }
    if (mask & TAVL_MASK_AUTH_MODE) {
        host.authMode = card_.authMode;
    }
    if (mask & TAVL_MASK_PREAMBLE) {
        host.preambleType = card_.preambleType;
    }
    if (mask & TAVL_MASK_FIRMWARE_VERSION) {
        std::memcpy(host.firmwareVersion, card_.firmwareVersion, sizeof host.firmwareVersion);
    }
    if (mask & TAVL_MASK_CHANNEL_MASK) {
        host.channelMask = card_.channelMask;
    }
}

// The card reports bssid, signal, firmware and channel mask; it does not
// take them from the host. GMode travels with every write.
void FakeCardLibrary::WriteFields(std::uint32_t mask, const HostInfo& host) {
    if (mask & TAVL_MASK_SSID) {
        card_.ssidLength = host.ssidLength;
        std::memcpy(card_.ssid, host.ssid, sizeof card_.ssid);
    }
    if (mask & TAVL_MASK_POWER_MODE) {
        card_.powerMode = host.powerMode;
    }
    if (mask & TAVL_MASK_INFRASTRUCTURE) {
        card_.infrastructureMode = host.infrastructureMode;
    }
    if (mask & TAVL_MASK_FRAG_THRESHOLD) {
        card_.fragThreshold = host.fragThreshold;
    }
    if (mask & TAVL_MASK_RTS_THRESHOLD) {
        card_.rtsThreshold = host.rtsThreshold;
    }
    if (mask & TAVL_MASK_SUPPORTED_RATES) {
        std::memcpy(card_.supportedRates, host.supportedRates, sizeof card_.supportedRates);
    }
    if (mask & TAVL_MASK_CONFIGURATION) {
        card_.configuration = host.configuration;
    }
    if (mask & TAVL_MASK_WEP_STATUS) {
        card_.wepStatus = host.wepStatus;
    }
    if (mask & TAVL_MASK_AUTH_MODE) {
        card_.authMode = host.authMode;
    }
    if (mask & TAVL_MASK_PREAMBLE) {
        card_.preambleType = host.preambleType;
    }
    card_.GMode = host.GMode;
}
