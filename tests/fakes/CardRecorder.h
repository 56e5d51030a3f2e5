// CardRecorder: the simulated card library, linked into the test, with a
// world folder of its own and a record of every call made through it.
//
// Each call is forwarded to the simulated card and recorded as a CardCall;
// the card keeps its journal in the same folder. The card's state is
// changed through its world file (card in the slot, network service,
// networks in the air, failure injection) and its profile store. A few
// answers a test may script instead of the card: a call that blocks (the
// OnCall observer holds it), and reads the card never gives (odd status
// values and record fields, a failing enumeration, a driver path of the
// test's choosing).
//
// TAVL_SIM_HOME is process-wide: the card is the newest recorder's until
// it is destroyed. Thread-safe; hooks and the OnCall observer run without
// the recorder's lock held.
#pragma once

#include "cardlib/World.h"
#include "device/CardLibrary.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One WEP key block as a SetWLANConfig call referred to it.
struct WepKeyArg {
    int slot = 0;                    // 0..3: wepKey[slot] of the HostInfo
    std::uint32_t keyIndex = 0;      // with the transmit bit, as sent
    std::vector<std::uint8_t> bytes; // keyLength bytes (at most 16 are read)
    bool transmit = false;           // bit 31 of keyIndex

    // The key bytes as uppercase hexadecimal digits, "3A9C17E05B".
    std::string Hex() const;
};

// One recorded call: its name without the prefix ("SetWLANConfig") and the
// arguments tests look at.
struct CardCall {
    std::string name;
    std::uint32_t maskIn = 0;     // GetWLANConfig / SetWLANConfig: mask on entry
    std::optional<HostInfo> host; // SetWLANConfig: the record as passed
    // SetWLANConfig: the key blocks of the slots whose mask bit was set and
    // whose handle was not null, in slot order.
    std::vector<WepKeyArg> wepKeys;
    std::optional<WirelessReg> reg; // SetProfileWireless: as passed
    std::optional<SsidText> ssid;   // SetSSID: as passed
    std::string textArg;            // SetProfileWireless: the name ...
    bool nullText = false;          // ... or a null one

    // The key block of slot i, when its mask bit was set; null otherwise.
    const WepKeyArg* Key(int slot) const;
};

class CardRecorder : public CardLibrary {
public:
    // A fresh world folder holding the card's default world, its surveys
    // finishing at once.
    CardRecorder();
    ~CardRecorder() override;
    CardRecorder(const CardRecorder&) = delete;
    CardRecorder& operator=(const CardRecorder&) = delete;

    // ---- The world, the profile store and the driver's settings -------------

    // The world folder, TAVL_SIM_HOME while the recorder lives, and the
    // folder that holds it.
    const std::string& Folder() const { return folder_; }
    const std::string& Parent() const { return parent_; }
    // A file of the world folder: its path, its bytes.
    std::string Path(const std::string& relative) const { return folder_ + "/" + relative; }
    std::string ReadFile(const std::string& relative) const;
    void WriteFile(const std::string& relative, const std::string& bytes) const;
    void SetWorld(const cardsim::World& world);
    void EditWorld(const std::function<void(cardsim::World&)>& edit);
    void SetPresent(bool present) {
        EditWorld([&](cardsim::World& w) { w.present = present; });
    }
    // The network service: Get_XPWZC answers it, WinXPWZC_Disabled its
    // opposite.
    void SetZeroConfigState(std::uint32_t state) {
        EditWorld([&](cardsim::World& w) { w.netservice = state != 0; });
    }
    // The next `calls` GetWLANConfig / SetWLANConfig calls naming one of
    // `bits` report those as failed.
    void FailSetBits(std::uint32_t bits, int calls = 1) {
        Fail(bits, calls, cardsim::FailCalls::Set, false);
    }
    void FailGetBits(std::uint32_t bits, int calls = 1) {
        Fail(bits, calls, cardsim::FailCalls::Get, false);
    }
    // Every call fails: no card is detected, status queries and every
    // configuration bit fail, and the profile enumeration answers -1.
    void FailEverything(bool fail) { Fail(fail ? ~0u : 0, -1, cardsim::FailCalls::Both, fail); }
    // Every QueryOID call fails until cleared (a new bit failure clears it too).
    void FailQuery(bool fail) {
        EditWorld([&](cardsim::World& w) { w.fail.query = fail; });
    }

    void StoreProfile(const std::string& name, const WirelessReg& reg);
    std::optional<WirelessReg> Profile(const std::string& name) const;
    void SetActiveProfile(const std::string& name);
    std::optional<std::string> ActiveProfile() const;

    // ---- Scripted answers ------------------------------------------------------

    using QueryHook = std::function<std::int32_t(std::uint32_t oid, void* buffer,
                                                 std::uint32_t length, std::uint32_t* written)>;
    // A hook answers the call instead of the card (the call is still
    // recorded); an empty function gives the call back to the card.
    void OnQueryOID(QueryHook hook) { Set(queryHook_, std::move(hook)); }
    // Runs before every call with the call's name; the call waits for it.
    void OnCall(std::function<void(std::string_view name)> observer) {
        Set(observer_, std::move(observer));
    }
    // Status objects answered instead of the card's: media connect status
    // (0 connected, 1 not) and the frame counters.
    void SetMediaStatus(std::uint32_t status) { Set(media_, status); }
    void SetCounters(std::uint32_t xmitOk, std::uint32_t rcvOk) {
        Set(counters_, std::pair{xmitOk, rcvOk});
    }
    // GetWLANConfig reports the fields it read from this record instead of
    // the card's. CardHost: this record, or the card's full read.
    void SetCardHost(const HostInfo& host) { Set(host_, host); }
    HostInfo CardHost() const;
    // GetWLANDriverPath writes `path` and returns `result`.
    void SetDriverPath(std::string path, std::int32_t result = 1) {
        Set(driverPath_, std::pair{std::move(path), result});
    }

    // ---- The record ----------------------------------------------------------

    std::vector<CardCall> Calls() const { return Get(calls_); }
    std::vector<CardCall> CallsNamed(std::string_view name) const;
    std::vector<std::string> CallNames() const;
    std::size_t CountOf(std::string_view name) const { return CallsNamed(name).size(); }
    std::optional<CardCall> LastCall(std::string_view name) const;
    // Forgets the calls so far, and the card's journal with them.
    void ClearCalls();
    // The card's journal lines since the last ClearCalls whose call is
    // `call` ("TAVL_SetSSID"; empty: all), sequence numbers cut.
    std::vector<std::string> Journal(std::string_view call = {}) const;
    // With recording off calls are kept neither here nor in the card's
    // journal, as in use, where nobody asks for one (benchmarks, fuzzing).
    void SetRecording(bool on);

    // ---- CardLibrary ---------------------------------------------------------

    std::int32_t Init(const char* identity, std::int32_t reserved) override;
    std::int32_t Terminate() override;
    std::int32_t Detect(std::uint8_t* info) override;

    std::int32_t SetProfileRoot(const char* root) override;
    std::int32_t GetActiveProfileByType(char* name, std::int32_t type) override;
    std::int32_t SetActiveProfileByType(const char* name, std::int32_t type) override;
    std::int32_t EnumProfilesByType(std::int32_t index, char* name, std::int32_t type) override;
    std::int32_t DeleteProfileByType(const char* name, std::int32_t type) override;
    std::int32_t GetProfileWireless(const char* name, WirelessReg* reg) override;
    std::int32_t SetProfileWireless(const char* name, const WirelessReg* reg) override;
    std::int32_t SetDriverReg(const WirelessReg* reg) override;

    std::int32_t GetWLANConfig(std::uint32_t* mask, HostInfo* host) override;
    std::int32_t SetWLANConfig(std::uint32_t* mask, const HostInfo* host) override;
    std::int32_t SetSSID(const SsidText* ssid) override;
    std::int32_t QueryOID(std::uint32_t oid, void* buffer, std::uint32_t length,
                          std::uint32_t* written) override;

    std::uint32_t ChannelToFrequency(std::uint32_t channel) override;
    std::uint32_t FrequencyToChannel(std::uint32_t khz) override;
    std::int32_t SetWLDomain(std::int32_t domain) override;
    std::int32_t SetChannel(const std::uint32_t* channel) override;
    std::int32_t SetOperatingMode(const std::uint32_t* mode) override;

    std::int32_t SiteSurveyTrigger() override;
    std::int32_t SiteSurveyGet(std::uint8_t* buffer, std::uint32_t* size) override;

    std::int32_t Get_XPWZC(std::uint32_t* state) override;
    std::int32_t WinXPWZC_Disabled() override;
    std::int32_t GetWLANDriverPath(char* path) override;

private:
    template <class T, class V> void Set(T& member, V&& value) {
        std::lock_guard lock(mutex_);
        member = std::forward<V>(value);
    }
    template <class T> T Get(const T& member) const {
        std::lock_guard lock(mutex_);
        return member;
    }
    void Fail(std::uint32_t bits, int calls, cardsim::FailCalls which, bool all);
    // Runs the OnCall observer (outside the lock), then `body`, which makes
    // the call and notes its arguments in the CardCall; records the call.
    template <class F> auto Run(const char* name, F body) {
        if (const auto observer = Get(observer_)) {
            observer(name);
        }
        CardCall call;
        call.name = name;
        const auto result = body(call);
        std::lock_guard lock(mutex_);
        if (recording_) {
            calls_.push_back(std::move(call));
        }
        return result;
    }

    std::string parent_;
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_; // the variables before
    std::string folder_;
    mutable std::mutex mutex_;
    cardsim::World world_;
    std::vector<CardCall> calls_;
    bool recording_ = true;
    bool failEnum_ = false;

    QueryHook queryHook_;
    std::function<void(std::string_view)> observer_;
    std::optional<std::uint32_t> media_;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> counters_; // frames sent, received
    std::optional<HostInfo> host_;
    std::optional<std::pair<std::string, std::int32_t>> driverPath_;
};
