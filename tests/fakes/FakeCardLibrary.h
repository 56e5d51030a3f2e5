// FakeCardLibrary: a scripted, well-mannered card for tests. Detection
// answers a settable presence; configuration reads and writes succeed on
// every field and keep the card's live HostInfo; an in-memory profile store
// answers with the library's codes (-27 no active profile, 3 past the last,
// names compared without regard to case). Every call is recorded in order
// as a CardCall. Thread-safe; hooks and the OnCall observer run without the
// fake's lock held, so they may call its setters.
#pragma once

#include "device/CardLibrary.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

// One WEP key block as a SetWLANConfig call referred to it.
struct FakeWepKey {
    int slot = 0;                    // 0..3: wepKey[slot] of the HostInfo
    std::uint32_t length = 0;        // the block's length field
    std::uint32_t keyIndex = 0;      // with the transmit bit, as sent
    bool transmit = false;           // bit 31 of keyIndex
    std::uint32_t keyLength = 0;     // the block's keyLength field
    std::vector<std::uint8_t> bytes; // keyLength bytes (at most 16 are read)

    // The key bytes as uppercase hexadecimal digits, "3A9C17E05B".
    std::string Hex() const;
};

// One recorded call.
struct CardCall {
    std::string name; // the call without its prefix: "SetWLANConfig"
    std::string text; // one readable line with arguments and result
    std::int32_t result = 0;
    std::thread::id thread;

    // GetWLANConfig / SetWLANConfig: mask on entry and on return.
    std::uint32_t maskIn = 0;
    std::uint32_t maskOut = 0;
    // SetWLANConfig: the record as passed; GetWLANConfig: as returned.
    std::optional<HostInfo> host;
    // SetWLANConfig: the key blocks of the slots whose mask bit was set and
    // whose handle was not null, in slot order.
    std::vector<FakeWepKey> wepKeys;
    // SetProfileWireless / SetDriverReg: as passed; GetProfileWireless: as
    // returned.
    std::optional<WirelessReg> reg;
    // SetSSID: as passed.
    std::optional<SsidText> ssid;
    // Text argument: identity, root, profile name, driver path as returned;
    // `nullText` when the caller passed a null name.
    std::string textArg;
    bool nullText = false;
    // Main number argument: oid, domain, index, channel, mode, frequency.
    std::int64_t number = 0;
    // Profile type of the profile calls.
    std::int32_t type = 0;

    // Mask bit of key slot i was set and its block is recorded.
    const FakeWepKey* Key(int slot) const;
};

class FakeCardLibrary final : public CardLibrary {
public:
    FakeCardLibrary();

    // ---- The card's state ------------------------------------------------

    // What TAVL_Detect answers (1 present, 0 absent). Starts present.
    void SetPresent(bool present) { Set(present_, present); }
    // Media connect status answered for 0x00010114: 0 connected, 1 not.
    // Starts 0.
    void SetMediaStatus(std::uint32_t status) { Set(mediaStatus_, status); }
    // Frame counters answered for 0x00020101 and 0x00020102.
    void SetCounters(std::uint32_t xmitOk, std::uint32_t rcvOk) {
        Set(counters_, std::pair{xmitOk, rcvOk});
    }
    // The card's live configuration: GetWLANConfig copies the fields its
    // mask names from here; SetWLANConfig writes the fields it names here.
    void SetCardHost(const HostInfo& host) { Set(card_, host); }
    HostInfo CardHost() const { return Get(card_); }
    // Get_XPWZC's state (starts 0) and WinXPWZC_Disabled's answer (starts
    // 1: the network service is off).
    void SetZeroConfigState(std::uint32_t state) { Set(zeroConfigState_, state); }
    void SetZeroConfigServiceDisabled(std::int32_t answer) { Set(zeroConfigDisabled_, answer); }
    // GetWLANDriverPath: the path written and the result (starts 1).
    void SetDriverPath(std::string path, std::int32_t result = 1) {
        Set(driverPath_, std::pair{std::move(path), result});
    }
    // SiteSurveyGet: the result built from these entries (a count, then as
    // many whole entries as fit the caller's buffer) and its result code.
    void SetSurveyEntries(const std::vector<TavlSurveyEntry>& entries, std::int32_t result = 1);
    // The last domain set with SetWLDomain (-1 before any).
    std::int32_t Domain() const { return Get(domain_); }
    // The record last written with SetDriverReg.
    std::optional<WirelessReg> DriverReg() const { return Get(driverReg_); }

    // ---- The profile store -----------------------------------------------

    // Stores a profile (creating it, or replacing the record of the one
    // whose name matches without regard to case).
    void StoreProfile(const std::string& name, const WirelessReg& reg);
    std::optional<WirelessReg> Profile(const std::string& name) const;
    // The active profile's name; empty optional when none is active.
    void SetActiveProfile(std::optional<std::string> name) { Set(active_, std::move(name)); }
    std::optional<std::string> ActiveProfile() const { return Get(active_); }

    // ---- Scripted failures and hooks --------------------------------------

    // The next `calls` SetWLANConfig calls report the bits of `bits` that
    // they were asked for as failed (the other bits succeed).
    void FailSetBits(std::uint32_t bits, int calls = 1) { Set(failSet_, Failure{bits, calls}); }
    // The same for GetWLANConfig.
    void FailGetBits(std::uint32_t bits, int calls = 1) { Set(failGet_, Failure{bits, calls}); }
    // The next `calls` QueryOID calls return `result` with 0 bytes written.
    void FailQueryOID(int calls = 1, std::int32_t result = 1) {
        Set(failQuery_, std::pair{calls, result});
    }
    // Every call fails: Detect answers 0, configuration calls leave the
    // whole mask failed, QueryOID writes nothing, profile calls return -1
    // (EnumProfilesByType too, never 3), conversions answer 0.
    void FailEverything(bool fail) { Set(failEverything_, fail); }

    using DetectHook = std::function<std::int32_t(std::uint8_t* info)>;
    using QueryHook = std::function<std::int32_t(std::uint32_t oid, void* buffer,
                                                 std::uint32_t length, std::uint32_t* written)>;
    // A hook takes the call over completely (the call is still recorded);
    // pass an empty function to restore the default behaviour.
    void OnDetect(DetectHook hook) { Set(detectHook_, std::move(hook)); }
    void OnQueryOID(QueryHook hook) { Set(queryHook_, std::move(hook)); }
    // Runs before every call with the call's name; may change the script,
    // the host state or raise flags at a precise point of a sequence.
    void OnCall(std::function<void(std::string_view name)> observer) {
        Set(observer_, std::move(observer));
    }

    // ---- The record of calls ------------------------------------------------

    std::vector<CardCall> Calls() const { return Get(calls_); }
    std::vector<CardCall> CallsNamed(std::string_view name) const;
    std::vector<std::string> CallNames() const;
    std::size_t CountOf(std::string_view name) const;
    std::optional<CardCall> LastCall(std::string_view name) const;
    // Every call's text, one per line.
    std::string Log() const;
    void ClearCalls() { Set(calls_, std::vector<CardCall>{}); }
    // With recording off calls are not kept (benchmarks and long runs);
    // calls after Terminate are still counted.
    void SetRecording(bool on) { Set(recording_, on); }
    // Calls made after Terminate (there should be none).
    std::size_t CallsAfterTerminate() const { return Get(callsAfterTerminate_); }

    // ---- CardLibrary ------------------------------------------------------

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
    struct StoredProfile {
        std::string name;
        WirelessReg reg;
    };

    // Runs `body` with the fake's lock held and returns what it returns.
    template <class F> auto Locked(F body) const -> decltype(body()) {
        std::lock_guard lock(mutex_);
        return body();
    }
    // One member set or read with the lock held.
    template <class T, class V> void Set(T& member, V&& value) {
        std::lock_guard lock(mutex_);
        member = std::forward<V>(value);
    }
    template <class T> T Get(const T& member) const {
        std::lock_guard lock(mutex_);
        return member;
    }
    // `body`'s answer with the lock held, or `failed` while every call fails.
    template <class F> std::int32_t Unless(F body, std::int32_t failed = -1) {
        std::lock_guard lock(mutex_);
        return failEverything_ ? failed : body();
    }
    // Runs the OnCall observer (outside the lock) and starts the record of
    // the call `name`.
    CardCall Begin(const char* name);
    // Gives `call` its text, records it and returns its result.
    std::int32_t Finish(CardCall& call);
    // Creates the profile `name` or replaces the record of the one whose
    // name matches; the lock is held.
    void StoreLocked(const std::string& name, const WirelessReg& reg);
    std::vector<StoredProfile>::iterator FindProfile(const std::string& name);
    std::vector<StoredProfile>::const_iterator FindProfile(const std::string& name) const;
    // Mask bits still to fail, for how many more calls.
    struct Failure {
        std::uint32_t bits = 0;
        int calls = 0;
    };
    // The bits of `asked` that `failure` fails in this call.
    static std::uint32_t TakeFailure(Failure& failure, std::uint32_t asked);
    void ReadFields(std::uint32_t mask, HostInfo& host) const;
    void WriteFields(std::uint32_t mask, const HostInfo& host);

    mutable std::mutex mutex_;
    std::vector<CardCall> calls_;
    bool recording_ = true;
    bool terminated_ = false;
    std::size_t callsAfterTerminate_ = 0;

    bool present_ = true;
    bool failEverything_ = false;
    std::uint32_t mediaStatus_ = 0;
    std::pair<std::uint32_t, std::uint32_t> counters_{0, 0}; // frames sent, received
    HostInfo card_{};
    std::uint32_t zeroConfigState_ = 0;
    std::int32_t zeroConfigDisabled_ = 1;
    std::pair<std::string, std::int32_t> driverPath_{"drivers/lk2093.sys", 1};
    std::vector<std::uint8_t> survey_;
    std::int32_t surveyResult_ = 1;
    std::int32_t domain_ = -1;
    std::optional<WirelessReg> driverReg_;

    std::vector<StoredProfile> profiles_;
    std::optional<std::string> active_;

    Failure failSet_, failGet_;
    std::pair<int, std::int32_t> failQuery_{0, 1}; // calls, result

    DetectHook detectHook_;
    QueryHook queryHook_;
    std::function<void(std::string_view)> observer_;
};
