#include "device/CardLibraryLoader.h"

#include "device/TavlCalls.h"

#include <dlfcn.h>

namespace {

// Every call of a library that could not be loaded fails; no card is seen.
class AbsentCardLibrary final : public CardLibrary {
public:
    std::int32_t Init(const char*, std::int32_t) override { return 0; }
    std::int32_t Terminate() override { return 0; }
    std::int32_t Detect(std::uint8_t*) override { return 0; }
    std::int32_t SetProfileRoot(const char*) override { return -1; }
    std::int32_t GetActiveProfileByType(char* name, std::int32_t) override {
        if (name != nullptr) {
            name[0] = '\0';
        }
        return TAVL_PROFILE_NONE_ACTIVE;
    }
    std::int32_t SetActiveProfileByType(const char*, std::int32_t) override { return -1; }
    std::int32_t EnumProfilesByType(std::int32_t, char*, std::int32_t) override {
        return TAVL_PROFILE_ENUM_END;
    }
    std::int32_t DeleteProfileByType(const char*, std::int32_t) override { return -1; }
    std::int32_t GetProfileWireless(const char*, WirelessReg*) override { return -1; }
    std::int32_t SetProfileWireless(const char*, const WirelessReg*) override { return -1; }
    std::int32_t SetDriverReg(const WirelessReg*) override { return -1; }
    std::int32_t GetWLANConfig(std::uint32_t*, HostInfo*) override { return -1; }
    std::int32_t SetWLANConfig(std::uint32_t*, const HostInfo*) override { return -1; }
    std::int32_t SetSSID(const SsidText*) override { return -1; }
    std::int32_t QueryOID(std::uint32_t, void*, std::uint32_t, std::uint32_t* written) override {
        if (written != nullptr) {
            *written = 0;
        }
        return -1;
    }
    std::uint32_t ChannelToFrequency(std::uint32_t) override { return 0; }
    std::uint32_t FrequencyToChannel(std::uint32_t) override { return 0; }
    std::int32_t SetWLDomain(std::int32_t) override { return -1; }
    std::int32_t SetChannel(const std::uint32_t*) override { return -1; }
    std::int32_t SetOperatingMode(const std::uint32_t*) override { return -1; }
    std::int32_t SiteSurveyTrigger() override { return -1; }
    std::int32_t SiteSurveyGet(std::uint8_t*, std::uint32_t*) override { return 0; }
    std::int32_t Get_XPWZC(std::uint32_t* state) override {
        if (state != nullptr) {
            *state = 0;
        }
        return -1;
    }
    std::int32_t WinXPWZC_Disabled() override { return 1; }
    std::int32_t GetWLANDriverPath(char*) override { return 0; }
};

// The calls of a loaded library file, bound by name.
class DlopenCardLibrary final : public CardLibrary {
public:
    explicit DlopenCardLibrary(void* handle) : handle_(handle) {}
    ~DlopenCardLibrary() override { dlclose(handle_); }
    DlopenCardLibrary(const DlopenCardLibrary&) = delete;
    DlopenCardLibrary& operator=(const DlopenCardLibrary&) = delete;

    // Binds every symbol; returns the name of the first one missing.
    const char* Bind() {
#define SKERRIN_BIND(name)                                                                         \
    name##_ = reinterpret_cast<decltype(&TAVL_##name)>(dlsym(handle_, "TAVL_" #name));             \
    if (name##_ == nullptr) {                                                                      \
        return "TAVL_" #name;                                                                      \
    }
        TAVL_CALLS(SKERRIN_BIND)
#undef SKERRIN_BIND
        return nullptr;
    }

    std::int32_t Init(const char* identity, std::int32_t reserved) override {
        return Init_(identity, reserved);
    }
    std::int32_t Terminate() override {
        return Terminate_();
    }
    std::int32_t Detect(std::uint8_t* info) override {
        return Detect_(info);
    }
    std::int32_t SetProfileRoot(const char* root) override {
        return SetProfileRoot_(root);
    }
    std::int32_t GetActiveProfileByType(char* name, std::int32_t type) override {
        return GetActiveProfileByType_(name, type);
    }
    std::int32_t SetActiveProfileByType(const char* name, std::int32_t type) override {
        return SetActiveProfileByType_(name, type);
    }
    std::int32_t EnumProfilesByType(std::int32_t index, char* name, std::int32_t type) override {
        return EnumProfilesByType_(index, name, type);
    }
    std::int32_t DeleteProfileByType(const char* name, std::int32_t type) override {
        return DeleteProfileByType_(name, type);
    }
    std::int32_t GetProfileWireless(const char* name, WirelessReg* reg) override {
        return GetProfileWireless_(name, reg);
    }
    std::int32_t SetProfileWireless(const char* name, const WirelessReg* reg) override {
        return SetProfileWireless_(name, reg);
    }
    std::int32_t SetDriverReg(const WirelessReg* reg) override {
        return SetDriverReg_(reg);
    }
    std::int32_t GetWLANConfig(std::uint32_t* mask, HostInfo* host) override {
        return GetWLANConfig_(mask, host);
    }
    std::int32_t SetWLANConfig(std::uint32_t* mask, const HostInfo* host) override {
        return SetWLANConfig_(mask, host);
    }
    std::int32_t SetSSID(const SsidText* ssid) override {
        return SetSSID_(ssid);
    }
    std::int32_t QueryOID(std::uint32_t oid, void* buffer, std::uint32_t length,
                          std::uint32_t* written) override {
        return QueryOID_(oid, buffer, length, written);
    }
    std::uint32_t ChannelToFrequency(std::uint32_t channel) override {
        return ChannelToFrequency_(channel);
    }
    std::uint32_t FrequencyToChannel(std::uint32_t khz) override {
        return FrequencyToChannel_(khz);
    }
    std::int32_t SetWLDomain(std::int32_t domain) override {
        return SetWLDomain_(domain);
    }
    std::int32_t SetChannel(const std::uint32_t* channel) override {
        return SetChannel_(channel);
    }
    std::int32_t SetOperatingMode(const std::uint32_t* mode) override {
        return SetOperatingMode_(mode);
    }
    std::int32_t SiteSurveyTrigger() override {
        return SiteSurveyTrigger_();
    }
    std::int32_t SiteSurveyGet(std::uint8_t* buffer, std::uint32_t* size) override {
        return SiteSurveyGet_(buffer, size);
    }
    std::int32_t Get_XPWZC(std::uint32_t* state) override {
        return Get_XPWZC_(state);
    }
    std::int32_t WinXPWZC_Disabled() override {
        return WinXPWZC_Disabled_();
    }
    std::int32_t GetWLANDriverPath(char* path) override {
        return GetWLANDriverPath_(path);
    }

private:
    void* handle_;
#define SKERRIN_POINTER(name) decltype(&TAVL_##name) name##_ = nullptr;
    TAVL_CALLS(SKERRIN_POINTER)
#undef SKERRIN_POINTER
};

} // namespace

std::unique_ptr<CardLibrary> MakeAbsentCardLibrary() {
    return std::make_unique<AbsentCardLibrary>();
}

std::unique_ptr<CardLibrary> LoadCardLibrary(const std::string& path, std::string& error) {
    error.clear();
    // The library stays mapped until the process ends: its own state (and
    // the memory it still holds) outlives the last call, as it did when
    // the library was loaded for the life of the process.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = "cannot load the card library " + path + ": " + (why ? why : "unknown error");
        return MakeAbsentCardLibrary();
    }
    using VersionFn = decltype(&TAVL_GetInterfaceVersion);
    auto version = reinterpret_cast<VersionFn>(dlsym(handle, "TAVL_GetInterfaceVersion"));
    if (version == nullptr) {
        error = "the card library " + path + " lacks the symbol TAVL_GetInterfaceVersion";
        dlclose(handle);
        return MakeAbsentCardLibrary();
    }
    if (std::uint32_t found = version(); found != TAVL_INTERFACE_VERSION) {
        error = "the card library " + path + " has interface version " + std::to_string(found) +
                ", expected " + std::to_string(TAVL_INTERFACE_VERSION);
        dlclose(handle);
        return MakeAbsentCardLibrary();
    }
    auto library = std::make_unique<DlopenCardLibrary>(handle);
    if (const char* missing = library->Bind()) {
        error = "the card library " + path + " lacks the symbol " + missing;
        return MakeAbsentCardLibrary();
    }
    return library;
}
