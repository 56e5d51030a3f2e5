#include "tests/fakes/FakeCardLibrary.h"

#include "cardshared/Text.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace {

constexpr std::size_t kProfileNameMax = TAVL_PROFILE_NAME_MAX;

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

// A part of HostInfo that one mask bit names. `written`: SetWLANConfig
// stores it on the card; the card reports bssid, signal, firmware and
// channel mask itself and does not take them from the host.
struct HostPart {
    std::uint32_t bit;
    std::size_t offset;
    std::size_t size;
    bool written;
};
#define PART(bit, field, written)                                                                  \
    { bit, offsetof(HostInfo, field), sizeof(HostInfo::field), written }
constexpr HostPart kHostParts[] = {
    PART(TAVL_MASK_BSSID, bssid, false),
    PART(TAVL_MASK_SSID, ssidLength, true),
    PART(TAVL_MASK_SSID, ssid, true),
    PART(TAVL_MASK_POWER_MODE, powerMode, true),
    PART(TAVL_MASK_RSSI, rssi, false),
    PART(TAVL_MASK_INFRASTRUCTURE, infrastructureMode, true),
    PART(TAVL_MASK_FRAG_THRESHOLD, fragThreshold, true),
    PART(TAVL_MASK_RTS_THRESHOLD, rtsThreshold, true),
    PART(TAVL_MASK_SUPPORTED_RATES, supportedRates, true),
    PART(TAVL_MASK_CONFIGURATION, configuration, true),
    PART(TAVL_MASK_WEP_STATUS, wepStatus, true),
    PART(TAVL_MASK_AUTH_MODE, authMode, true),
    PART(TAVL_MASK_PREAMBLE, preambleType, true),
    PART(TAVL_MASK_FIRMWARE_VERSION, firmwareVersion, false),
    PART(TAVL_MASK_CHANNEL_MASK, channelMask, false),
};
#undef PART

// Copies the parts `mask` names (only the written ones when `writing`).
void CopyParts(std::uint32_t mask, bool writing, const HostInfo& from, HostInfo& to) {
    for (const HostPart& part : kHostParts) {
        if ((mask & part.bit) != 0 && (part.written || !writing)) {
            std::memcpy(reinterpret_cast<char*>(&to) + part.offset,
                        reinterpret_cast<const char*>(&from) + part.offset, part.size);
        }
    }
}

} // namespace

std::string FakeWepKey::Hex() const {
    return cardsim::HexBytes(bytes.data(), bytes.size());
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
    surveyResult_ = result;
}

void FakeCardLibrary::StoreProfile(const std::string& name, const WirelessReg& reg) {
    std::lock_guard lock(mutex_);
    StoreLocked(name, reg);
}

void FakeCardLibrary::StoreLocked(const std::string& name, const WirelessReg& reg) {
    auto found = FindProfile(name);
    if (found != profiles_.end()) {
        found->reg = reg;
    } else {
        profiles_.push_back({name.substr(0, kProfileNameMax), reg});
    }
}

std::optional<WirelessReg> FakeCardLibrary::Profile(const std::string& name) const {
    std::lock_guard lock(mutex_);
    const auto found = FindProfile(name);
    return found != profiles_.end() ? std::optional(found->reg) : std::nullopt;
}

// ---- The record ---------------------------------------------------------

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
    std::vector<std::string> out;
    for (const CardCall& call : Calls()) {
        out.push_back(call.name);
    }
    return out;
}

std::size_t FakeCardLibrary::CountOf(std::string_view name) const {
    return CallsNamed(name).size();
}

std::optional<CardCall> FakeCardLibrary::LastCall(std::string_view name) const {
    const std::vector<CardCall> calls = CallsNamed(name);
    return calls.empty() ? std::nullopt : std::optional<CardCall>(calls.back());
}

std::string FakeCardLibrary::Log() const {
    std::string out;
    for (const CardCall& call : Calls()) {
        out += call.text + '\n';
    }
    return out;
}

CardCall FakeCardLibrary::Begin(const char* name) {
    if (const auto observer = Get(observer_)) {
        observer(name);
    }
    CardCall call;
    call.name = name;
    return call;
}

std::int32_t FakeCardLibrary::Finish(CardCall& call) {
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
    for (const FakeWepKey& key : call.wepKeys) {
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
    return call.result;
}

std::vector<FakeCardLibrary::StoredProfile>::iterator
FakeCardLibrary::FindProfile(const std::string& name) {
    const auto found = std::as_const(*this).FindProfile(name);
    return profiles_.begin() + (found - profiles_.cbegin());
}

std::vector<FakeCardLibrary::StoredProfile>::const_iterator
FakeCardLibrary::FindProfile(const std::string& name) const {
    const std::string key = name.substr(0, kProfileNameMax);
    return std::find_if(profiles_.begin(), profiles_.end(),
                        [&](const StoredProfile& p) { return cardsim::EqualsFolded(p.name, key); });
}

std::uint32_t FakeCardLibrary::TakeFailure(Failure& failure, std::uint32_t asked) {
    if (failure.calls <= 0) {
        return 0;
    }
    --failure.calls;
    return failure.bits & asked;
}

void FakeCardLibrary::ReadFields(std::uint32_t mask, HostInfo& host) const {
    CopyParts(mask, false, card_, host);
}

void FakeCardLibrary::WriteFields(std::uint32_t mask, const HostInfo& host) {
    CopyParts(mask, true, host, card_);
    card_.GMode = host.GMode; // travels with every write
}
