// The card's radio calls: detection, live configuration, status objects,
// channels and domain, survey, network service and driver file.
#pragma GCC visibility push(default)
#include "device/tavl.h"
#pragma GCC visibility pop

#include "cardlib/ExportCall.h"
#include "cardlib/HostInfoFields.h"
#include "cardlib/JournalFormat.h"
#include "cardlib/Survey.h"
#include "cardshared/Channels.h"
#include "cardshared/DriverFile.h"
#include "cardshared/Results.h"
#include "cardshared/SurveyBuffer.h"

#include <cstring>

using namespace cardsim;

namespace {

// Offset of the card's MAC address in the TAVL_Detect buffer; the instance
// identifier text starts at 0.
constexpr std::size_t kDetectMacOffset = 260;

void NoteAssociation(ExportCall& call) {
    if (!call.Journaling()) {
        return;
    }
    const Association& a = call.Sim().State().association;
    call.Line().Result("connected", a.connected ? 1 : 0);
    call.Line().Result("bssid", FormatMac(a.bssid.data()));
}

// Settings calls share one shape: validate, store, associate again.
template <typename Change>
std::int32_t ChangeSettings(ExportCall& call, bool valid, Change change) {
    if (!valid) {
        return call.Return(kInvalidArgument);
    }
    if (!call.Sim().CardAnswers()) {
        return call.Return(kCardAbsent);
    }
    change(call.Sim().State().settings);
    call.Sim().Changed();
    call.Sim().Reassociate();
    NoteAssociation(call);
    return call.Return(kOk);
}

} // namespace

extern "C" {

uint32_t TAVL_GetInterfaceVersion(void) {
    ExportCall call("TAVL_GetInterfaceVersion");
    return call.Return(TAVL_INTERFACE_VERSION);
}

int32_t TAVL_Init(const char* identity, int32_t reserved) {
    ExportCall call("TAVL_Init");
    if (call.Journaling()) {
        call.Line().Arg("identity", ExportCall::Text(identity));
        call.Line().Arg("reserved", reserved);
    }
    return call.Return(identity != nullptr ? 1 : 0);
}

int32_t TAVL_Terminate(void) {
    ExportCall call("TAVL_Terminate");
    return call.Return(1);
}

int32_t TAVL_Detect(uint8_t* info) {
    ExportCall call("TAVL_Detect");
    if (info == nullptr) {
        return call.Return(kInvalidArgument);
    }
    std::memset(info, 0, TAVL_DETECT_INFO_SIZE);
    const World& world = call.Sim().GetWorld();
    const bool seen = call.Sim().CardAnswers() && !world.fail.detect;
    if (seen) {
        std::memcpy(info, kCardInstanceId, std::strlen(kCardInstanceId));
        std::memcpy(info + kDetectMacOffset, world.mac.data(), world.mac.size());
    }
    return call.Return(seen ? 1 : 0);
}

int32_t TAVL_GetWLANConfig(uint32_t* mask, HostInfo* host) {
    ExportCall call("TAVL_GetWLANConfig");
    if (mask == nullptr) {
        return call.Return(kInvalidArgument);
    }
    const std::uint32_t requested = *mask;
    if (call.Journaling()) {
        call.Line().Arg("mask", HexWord(requested));
    }
    std::int32_t result = kInvalidArgument;
    std::uint32_t failed = requested;
    if (host != nullptr && !call.Sim().CardAnswers()) {
        result = kCardAbsent;
    } else if (host != nullptr) {
        const std::uint32_t injected = call.Sim().InjectedBits(requested, false);
        failed = FillHostInfo(requested & ~injected, call.Sim().Live(), *host) | injected;
        result = failed == 0 ? kOk : injected != 0 ? kInjectedFailure : kInvalidArgument;
    }
    *mask = failed;
    if (call.Journaling()) {
        call.Line().Result("mask", HexWord(failed));
    }
    return call.Return(result);
}

int32_t TAVL_SetWLANConfig(uint32_t* mask, const HostInfo* host) {
    ExportCall call("TAVL_SetWLANConfig");
    if (mask == nullptr) {
        return call.Return(kInvalidArgument);
    }
    const std::uint32_t requested = *mask;
    if (call.Journaling()) {
        call.Line().Arg("mask", HexWord(requested));
        if (host != nullptr) {
            call.Line().RawArgs(HostFields(*host, requested));
        }
    }
    std::int32_t result = kInvalidArgument;
    std::uint32_t failed = requested;
    if (host != nullptr && !call.Sim().CardAnswers()) {
        result = kCardAbsent;
    } else if (host != nullptr) {
        Simulator& sim = call.Sim();
        const std::uint32_t injected = sim.InjectedBits(requested, true);
        failed = StoreHostInfo(*host, requested & ~injected, sim.State().settings) | injected;
        if ((requested & ~failed) != 0) {
            sim.Changed();
            sim.Reassociate();
        }
        result = failed == 0 ? kOk : injected != 0 ? kInjectedFailure : kInvalidArgument;
    }
    *mask = failed;
    if (call.Journaling()) {
        call.Line().Result("mask", HexWord(failed));
        NoteAssociation(call);
    }
    return call.Return(result);
}

int32_t TAVL_SetSSID(const SsidText* ssid) {
    ExportCall call("TAVL_SetSSID");
    const bool valid = ssid != nullptr && ssid->length <= TAVL_SSID_MAX;
    if (call.Journaling() && ssid != nullptr) {
        call.Line().Arg("length", ssid->length);
        const std::size_t shown = ssid->length < 32 ? ssid->length : 32;
        call.Line().Arg("ssid", JournalText({reinterpret_cast<const char*>(ssid->ssid), shown}));
    }
    return ChangeSettings(call, valid, [ssid](CardSettings& settings) {
        settings.ssid.fill(0);
        std::memcpy(settings.ssid.data(), ssid->ssid, ssid->length);
        settings.ssidLength = ssid->length;
    });
}

int32_t TAVL_QueryOID(uint32_t oid, void* buffer, uint32_t length, uint32_t* written) {
    ExportCall call("TAVL_QueryOID");
    if (call.Journaling()) {
        call.Line().Arg("oid", HexWord(oid));
        call.Line().Arg("length", length);
    }
    if (written != nullptr) {
        *written = 0;
    }
    if (buffer == nullptr || written == nullptr) {
        return call.Return(kInvalidArgument);
    }
    Simulator& sim = call.Sim();
    if (!sim.CardAnswers()) {
        return call.Return(kCardAbsent);
    }
    if (sim.GetWorld().fail.query) {
        return call.Return(kInjectedFailure);
    }
    std::uint32_t value = 0;
    switch (oid) {
    case TAVL_OID_GEN_MEDIA_CONNECT_STATUS:
        value = sim.State().association.connected ? 0 : 1;
        break;
    case TAVL_OID_GEN_XMIT_OK:
        value = static_cast<std::uint32_t>(sim.TxFrames());
        break;
    case TAVL_OID_GEN_RCV_OK:
        value = static_cast<std::uint32_t>(sim.RxFrames());
        break;
    default:
        return call.Return(kUnknownObject);
    }
    if (length < sizeof value) {
        return call.Return(kBufferTooShort);
    }
    std::memcpy(buffer, &value, sizeof value);
    *written = sizeof value;
    if (call.Journaling()) {
        call.Line().Result("value", value);
        call.Line().Result("written", *written);
    }
    return call.Return(kOk);
}

uint32_t TAVL_ChannelToFrequency(uint32_t channel) {
    ExportCall call("TAVL_ChannelToFrequency");
    if (call.Journaling()) {
        call.Line().Arg("channel", channel);
    }
    return call.Return(ChannelToKhz(channel));
}

uint32_t TAVL_FrequencyToChannel(uint32_t khz) {
    ExportCall call("TAVL_FrequencyToChannel");
    if (call.Journaling()) {
        call.Line().Arg("khz", khz);
    }
    return call.Return(KhzToChannel(khz));
}

int32_t TAVL_SetWLDomain(int32_t domain) {
    ExportCall call("TAVL_SetWLDomain");
    if (call.Journaling()) {
        call.Line().Arg("domain", domain);
    }
    return ChangeSettings(call, domain >= 0 && domain < kDomainCount,
                          [domain](CardSettings& settings) { settings.domain = domain; });
}

int32_t TAVL_SetChannel(const uint32_t* channel) {
    ExportCall call("TAVL_SetChannel");
    const std::uint32_t khz = channel != nullptr ? ChannelToKhz(*channel) : 0;
    if (call.Journaling()) {
        call.Line().Arg("channel", channel != nullptr ? std::to_string(*channel) : "null");
    }
    return ChangeSettings(call, khz != 0,
                          [khz](CardSettings& settings) { settings.configuration.dsConfig = khz; });
}

int32_t TAVL_SetOperatingMode(const uint32_t* mode) {
    ExportCall call("TAVL_SetOperatingMode");
    if (call.Journaling()) {
        call.Line().Arg("mode", mode != nullptr ? std::to_string(*mode) : "null");
    }
    const bool valid = mode != nullptr && *mode <= 1;
    return ChangeSettings(call, valid,
                          [mode](CardSettings& settings) { settings.infrastructureMode = *mode; });
}

int32_t TAVL_SiteSurveyTrigger(void) {
    ExportCall call("TAVL_SiteSurveyTrigger");
    if (!call.Sim().CardAnswers()) {
        return call.Return(kCardAbsent);
    }
    call.Sim().StartScan();
    return call.Return(kOk);
}

int32_t TAVL_SiteSurveyGet(uint8_t* buffer, uint32_t* size) {
    ExportCall call("TAVL_SiteSurveyGet");
    if (call.Journaling()) {
        call.Line().Arg("size", size != nullptr ? std::to_string(*size) : "null");
    }
    if (buffer == nullptr || size == nullptr) {
        return call.Return(kInvalidArgument);
    }
    if (!call.Sim().CardAnswers()) {
        return call.Return(kCardAbsent);
    }
    const std::vector<TavlSurveyEntry>& entries = call.Sim().ScanResult();
    if (!WriteSurvey(entries, buffer, *size)) {
        return call.Return(kInvalidArgument);
    }
    if (call.Journaling()) {
        const std::size_t fit = (*size - TAVL_SURVEY_HEADER_SIZE) / TAVL_SURVEY_ENTRY_SIZE;
        call.Line().Result("count", static_cast<std::int64_t>(entries.size()));
        call.Line().Result("written",
                           static_cast<std::int64_t>(entries.size() < fit ? entries.size() : fit));
    }
    return call.Return(1);
}

int32_t TAVL_Get_XPWZC(uint32_t* state) {
    ExportCall call("TAVL_Get_XPWZC");
    if (state == nullptr) {
        return call.Return(kInvalidArgument);
    }
    *state = call.Sim().GetWorld().netservice ? 1 : 0;
    if (call.Journaling()) {
        call.Line().Result("state", *state);
    }
    return call.Return(kOk);
}

int32_t TAVL_WinXPWZC_Disabled(void) {
    ExportCall call("TAVL_WinXPWZC_Disabled");
    return call.Return(call.Sim().GetWorld().netservice ? 0 : 1);
}

int32_t TAVL_GetWLANDriverPath(char* path) {
    ExportCall call("TAVL_GetWLANDriverPath");
    if (path == nullptr) {
        return call.Return(0);
    }
    const std::size_t length = strnlen(path, TAVL_PATH_BUFFER_SIZE);
    if (call.Journaling()) {
        call.Line().Arg("folder", JournalText({path, length}));
    }
    if (length == 0 || length == TAVL_PATH_BUFFER_SIZE) {
        return call.Return(0);
    }
    const std::string driver = call.Sim().DriverFile();
    const std::string relative = driver.empty() ? driver : RelativePath(driver, path);
    if (relative.empty() || relative.size() >= TAVL_PATH_BUFFER_SIZE) {
        return call.Return(0);
    }
    std::memcpy(path, relative.c_str(), relative.size() + 1);
    if (call.Journaling()) {
        call.Line().Result("path", JournalText(relative));
    }
    return call.Return(1);
}

} // extern "C"
