// The card's radio calls on a real interface: detection, live
// configuration, status objects, channels and domain, survey and the
// network service.
#pragma GCC visibility push(default)
#include "device/tavl.h"
#pragma GCC visibility pop

#include "cardshared/Channels.h"
#include "cardshared/Results.h"
#include "cardshared/SurveyBuffer.h"
#include "realcard/Card.h"
#include "realcard/Interface.h"

#include <cstring>

using namespace cardsim;
using realcard::Card;

namespace {

// Offset of the MAC address in the TAVL_Detect buffer; the identity text
// starts at 0.
constexpr std::size_t kDetectMacOffset = 260;

using Lock = std::lock_guard<std::mutex>;

// The settings calls share one shape: remember, join again.
std::int32_t Rejoin(Card& card) {
    if (!card.Present()) {
        return kCardAbsent;
    }
    return card.Reconnect() ? kOk : kStorageError;
}

} // namespace

extern "C" {

uint32_t TAVL_GetInterfaceVersion(void) {
    return TAVL_INTERFACE_VERSION;
}

int32_t TAVL_Init(const char* identity, int32_t) {
    return identity != nullptr ? 1 : 0;
}

int32_t TAVL_Terminate(void) {
    Lock lock(Card::Instance().Mutex());
    Card::Instance().Close();
    return 1;
}

int32_t TAVL_Detect(uint8_t* info) {
    if (info == nullptr) {
        return kInvalidArgument;
    }
    Card& card = Card::Instance();
    Lock lock(card.Mutex());
    std::memset(info, 0, TAVL_DETECT_INFO_SIZE);
    if (!card.Present()) {
        return 0;
    }
    const std::string identity = realcard::IdentityString(card.InterfaceName());
    std::memcpy(info, identity.data(),
                std::min<std::size_t>(identity.size(), kDetectMacOffset - 1));
    std::array<std::uint8_t, 6> mac{};
    if (realcard::InterfaceMac(card.InterfaceName(), mac)) {
        std::memcpy(info + kDetectMacOffset, mac.data(), mac.size());
    }
    return 1;
}

int32_t TAVL_GetWLANConfig(uint32_t* mask, HostInfo* host) {
    if (mask == nullptr || host == nullptr) {
        return kInvalidArgument;
    }
    Card& card = Card::Instance();
    Lock lock(card.Mutex());
    if (!card.Present()) {
        return kCardAbsent;
    }
    *mask = card.Read(*mask, *host);
    return *mask == 0 ? kOk : kInvalidArgument;
}

int32_t TAVL_SetWLANConfig(uint32_t* mask, const HostInfo* host) {
    if (mask == nullptr || host == nullptr) {
        return kInvalidArgument;
    }
    Card& card = Card::Instance();
    Lock lock(card.Mutex());
    if (!card.Present()) {
        return kCardAbsent;
    }
    *mask = card.Write(*mask, *host);
    return *mask == 0 ? kOk : kInvalidArgument;
}

int32_t TAVL_SetSSID(const SsidText* ssid) {
    if (ssid == nullptr || ssid->length > TAVL_SSID_MAX) {
        return kInvalidArgument;
    }
    Card& card = Card::Instance();
    Lock lock(card.Mutex());
    card.Want().ssid.assign(reinterpret_cast<const char*>(ssid->ssid), ssid->length);
    return Rejoin(card);
}

int32_t TAVL_QueryOID(uint32_t oid, void* buffer, uint32_t length, uint32_t* written) {
    if (buffer == nullptr || written == nullptr) {
        return kInvalidArgument;
    }
    Card& card = Card::Instance();
    Lock lock(card.Mutex());
    if (!card.Present()) {
        return kCardAbsent;
    }
    std::uint64_t value = 0;
    switch (oid) {
    case TAVL_OID_GEN_MEDIA_CONNECT_STATUS: {
        const realcard::Live live = card.ReadLive();
        if (!live.read) {
            return kStorageError;
        }
        value = live.connected ? 0 : 1;
        break;
    }
    case TAVL_OID_GEN_XMIT_OK:
    case TAVL_OID_GEN_RCV_OK:
        if (!realcard::FrameCounter(card.InterfaceName(),
                                    oid == TAVL_OID_GEN_XMIT_OK ? "tx_packets" : "rx_packets",
                                    value)) {
            return kStorageError;
        }
        break;
    default:
        return kUnknownObject;
    }
    if (length < 4) {
        return kBufferTooShort;
    }
    const std::uint32_t word = static_cast<std::uint32_t>(value); // the counters wrap as NDIS's do
    std::memcpy(buffer, &word, sizeof word);
    *written = sizeof word;
    return kOk;
}

uint32_t TAVL_ChannelToFrequency(uint32_t channel) {
    return ChannelToKhz(channel);
}

uint32_t TAVL_FrequencyToChannel(uint32_t khz) {
    return KhzToChannel(khz);
}

int32_t TAVL_SetWLDomain(int32_t domain) {
    if (domain < 0 || domain >= kDomainCount) {
        return kInvalidArgument;
    }
    Lock lock(Card::Instance().Mutex());
    // The library limits channels and the survey to the domain itself; the
    // system's own regulatory setting stays as its administrator chose.
    Card::Instance().Want().domain = domain;
    return kOk;
}

int32_t TAVL_SetChannel(const uint32_t* channel) {
    if (channel == nullptr || ChannelToKhz(*channel) == 0) {
        return kInvalidArgument;
    }
    Card& card = Card::Instance();
    Lock lock(card.Mutex());
    card.Want().channel = *channel;
    return Rejoin(card);
}

int32_t TAVL_SetOperatingMode(const uint32_t* mode) {
    if (mode == nullptr || *mode > 1) {
        return kInvalidArgument;
    }
    Card& card = Card::Instance();
    Lock lock(card.Mutex());
    card.Want().infrastructure = *mode;
    return Rejoin(card);
}

int32_t TAVL_SiteSurveyTrigger(void) {
    Card& card = Card::Instance();
    Lock lock(card.Mutex());
    if (!card.Present()) {
        return kCardAbsent;
    }
    return card.StartScan() ? kOk : kStorageError;
}

int32_t TAVL_SiteSurveyGet(uint8_t* buffer, uint32_t* size) {
    if (buffer == nullptr || size == nullptr) {
        return kInvalidArgument;
    }
    Card& card = Card::Instance();
    Lock lock(card.Mutex());
    if (!card.Present()) {
        return kCardAbsent;
    }
    return WriteSurvey(card.Survey(), buffer, *size) ? 1 : kInvalidArgument;
}

int32_t TAVL_Get_XPWZC(uint32_t* state) {
    if (state == nullptr) {
        return kInvalidArgument;
    }
    Card& card = Card::Instance();
    Lock lock(card.Mutex());
    *state = card.Present() && card.NetServiceActive() ? 1 : 0;
    return kOk;
}

int32_t TAVL_WinXPWZC_Disabled(void) {
    Card& card = Card::Instance();
    Lock lock(card.Mutex());
    return card.Present() && card.NetServiceActive() ? 0 : 1;
}

// A real interface's driver is a kernel module without the version stamp
// the About page reads: there is no driver file to name.
int32_t TAVL_GetWLANDriverPath(char*) {
    return 0;
}

} // extern "C"
