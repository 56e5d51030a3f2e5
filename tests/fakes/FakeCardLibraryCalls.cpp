// The CardLibrary calls of FakeCardLibrary: each runs the OnCall observer,
// does its work (or its hook's), and records itself.
#include "tests/fakes/FakeCardLibrary.h"

#include "tests/fakes/FakeFormat.h"

#include <algorithm>
#include <cstring>

using namespace fake;

namespace {

FakeWepKey DecodeKey(int slot, const WepKeyBuffer& block) {
    FakeWepKey key;
    key.slot = slot;
    key.length = block.length;
    key.keyIndex = block.keyIndex;
    key.transmit = (block.keyIndex & TAVL_WEP_TRANSMIT_KEY) != 0;
    key.keyLength = block.keyLength;
    const std::uint32_t n = std::min<std::uint32_t>(block.keyLength, sizeof block.keyMaterial);
    key.bytes.assign(block.keyMaterial, block.keyMaterial + n);
    return key;
}

CardCall Named(const char* name) {
    CardCall call;
    call.name = name;
    return call;
}

} // namespace

std::int32_t FakeCardLibrary::Init(const char* identity, std::int32_t reserved) {
    Observe("Init");
    CardCall call = Named("Init");
    call.textArg = identity != nullptr ? identity : "";
    call.number = reserved;
    {
        std::lock_guard lock(mutex_);
        call.result = failEverything_ ? 0 : 1;
    }
    call.text = Format("Init identity=%s reserved=%d -> %d", NameText(identity).c_str(), reserved,
                       call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::Terminate() {
    Observe("Terminate");
    CardCall call = Named("Terminate");
    call.result = 1;
    call.text = "Terminate -> 1";
    Record(call);
    std::lock_guard lock(mutex_);
    terminated_ = true;
    return 1;
}

std::int32_t FakeCardLibrary::Detect(std::uint8_t* info) {
    Observe("Detect");
    CardCall call = Named("Detect");
    DetectHook hook;
    {
        std::lock_guard lock(mutex_);
        hook = detectHook_;
    }
    if (hook) {
        call.result = hook(info);
    } else {
        std::lock_guard lock(mutex_);
        call.result = (present_ && !failEverything_) ? 1 : 0;
        if (call.result == 1 && info != nullptr) {
            std::memset(info, 0, TAVL_DETECT_INFO_SIZE);
            std::memcpy(info, "LK2093", 6);
        }
    }
    call.text = Format("Detect -> %d", call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::GetWLANConfig(std::uint32_t* mask, HostInfo* host) {
    Observe("GetWLANConfig");
    CardCall call = Named("GetWLANConfig");
    if (mask == nullptr || host == nullptr) {
        call.result = kFailed;
        call.text = "GetWLANConfig (null argument) -> -1";
        Record(call);
        return call.result;
    }
    call.maskIn = *mask;
    GetHook hook;
    {
        std::lock_guard lock(mutex_);
        hook = getHook_;
    }
    if (hook) {
        call.result = hook(mask, host);
    } else {
        std::lock_guard lock(mutex_);
        if (failEverything_) {
            call.result = kFailed;
        } else {
            const std::uint32_t failed = TakeFailure(failGetBits_, failGetCalls_, *mask);
            ReadFields(*mask & ~failed, *host);
            *mask = failed;
            call.result = failed != 0 ? kFailed : 0;
        }
    }
    call.maskOut = *mask;
    call.host = *host;
    call.text = Format("GetWLANConfig mask=0x%08X -> mask=0x%08X result=%d", call.maskIn,
                       call.maskOut, call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::SetWLANConfig(std::uint32_t* mask, const HostInfo* host) {
    Observe("SetWLANConfig");
    CardCall call = Named("SetWLANConfig");
    if (mask == nullptr || host == nullptr) {
        call.result = kFailed;
        call.text = "SetWLANConfig (null argument) -> -1";
        Record(call);
        return call.result;
    }
    call.maskIn = *mask;
    call.host = *host;
    // The key blocks belong to the caller and live only during the call:
    // decode them now.
    for (int i = 0; i < 4; ++i) {
        if ((*mask & (TAVL_MASK_WEP_KEY1 << i)) == 0) {
            continue;
        }
        if (const WepKeyBuffer* block = TavlGetWepKey(host, i)) {
            call.wepKeys.push_back(DecodeKey(i, *block));
        } else {
            call.nullWepSlots.push_back(i);
        }
    }
    SetHook hook;
    {
        std::lock_guard lock(mutex_);
        hook = setHook_;
    }
    if (hook) {
        call.result = hook(mask, host);
    } else {
        std::lock_guard lock(mutex_);
        if (failEverything_) {
            call.result = kFailed;
        } else {
            const std::uint32_t failed = TakeFailure(failSetBits_, failSetCalls_, *mask);
            WriteFields(*mask & ~failed, *host);
            for (const FakeWepKey& key : call.wepKeys) {
                if ((failed & (TAVL_MASK_WEP_KEY1 << key.slot)) == 0) {
                    cardKeys_[key.slot] = key;
                }
            }
            *mask = failed;
            call.result = failed != 0 ? kFailed : 0;
        }
    }
    call.maskOut = *mask;
    call.text = Format("SetWLANConfig mask=0x%08X -> mask=0x%08X result=%d", call.maskIn,
                       call.maskOut, call.result);
    for (const FakeWepKey& key : call.wepKeys) {
        call.text += Format(" key%d{index=0x%08X length=%u keyLength=%u %s}", key.slot,
                            key.keyIndex, key.length, key.keyLength, key.Hex().c_str());
    }
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::SetSSID(const SsidText* ssid) {
    Observe("SetSSID");
    CardCall call = Named("SetSSID");
    if (ssid != nullptr) {
        call.ssid = *ssid;
    }
    {
        std::lock_guard lock(mutex_);
        if (failEverything_ || ssid == nullptr) {
            call.result = kFailed;
        } else {
            card_.ssidLength = std::min<std::uint32_t>(ssid->length, TAVL_SSID_MAX);
            std::memset(card_.ssid, 0, sizeof card_.ssid);
            std::memcpy(card_.ssid, ssid->ssid, card_.ssidLength);
            call.result = 0;
        }
    }
    if (ssid != nullptr) {
        const int shown = static_cast<int>(std::min<std::uint32_t>(ssid->length, TAVL_SSID_MAX));
        call.text = Format("SetSSID length=%u ssid=\"%.*s\" -> %d", ssid->length, shown,
                           reinterpret_cast<const char*>(ssid->ssid), call.result);
    } else {
        call.text = "SetSSID (null) -> -1";
    }
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::QueryOID(std::uint32_t oid, void* buffer, std::uint32_t length,
                                       std::uint32_t* written) {
    Observe("QueryOID");
    CardCall call = Named("QueryOID");
    call.number = oid;
    QueryHook hook;
    {
        std::lock_guard lock(mutex_);
        hook = queryHook_;
    }
    std::uint32_t localWritten = 0;
    std::uint32_t* out = written != nullptr ? written : &localWritten;
    if (hook) {
        call.result = hook(oid, buffer, length, out);
    } else {
        std::lock_guard lock(mutex_);
        *out = 0;
        std::uint32_t value = 0;
        bool known = true;
        switch (oid) {
        case TAVL_OID_GEN_MEDIA_CONNECT_STATUS:
            value = mediaStatus_;
            break;
        case TAVL_OID_GEN_XMIT_OK:
            value = xmitOk_;
            break;
        case TAVL_OID_GEN_RCV_OK:
            value = rcvOk_;
            break;
        default:
            known = false;
        }
        if (failQueryCalls_ > 0) {
            --failQueryCalls_;
            call.result = failQueryResult_;
        } else if (failEverything_ || !known || buffer == nullptr || length < 4) {
            call.result = kFailed;
        } else {
            std::memcpy(buffer, &value, sizeof value);
            *out = sizeof value;
            call.result = 0;
        }
    }
    call.written = *out;
    if (call.written >= 4 && buffer != nullptr) {
        std::memcpy(&call.value, buffer, sizeof call.value);
    }
    call.text = Format("QueryOID oid=0x%08X length=%u -> written=%u value=%u result=%d", oid,
                       length, call.written, call.value, call.result);
    Record(call);
    return call.result;
}

std::uint32_t FakeCardLibrary::ChannelToFrequency(std::uint32_t channel) {
    Observe("ChannelToFrequency");
    CardCall call = Named("ChannelToFrequency");
    call.number = channel;
    std::uint32_t khz = 0;
    {
        std::lock_guard lock(mutex_);
        if (!failEverything_) {
            if (channel >= 1 && channel <= 13) {
                khz = 2412000 + 5000 * (channel - 1);
            } else if (channel == 14) {
                khz = 2484000;
            }
        }
    }
    call.result = static_cast<std::int32_t>(khz);
    call.text = Format("ChannelToFrequency channel=%u -> %u", channel, khz);
    Record(call);
    return khz;
}

std::uint32_t FakeCardLibrary::FrequencyToChannel(std::uint32_t khz) {
    Observe("FrequencyToChannel");
    CardCall call = Named("FrequencyToChannel");
    call.number = khz;
    std::uint32_t channel = 0;
    {
        std::lock_guard lock(mutex_);
        if (!failEverything_) {
            if (khz == 2484000) {
                channel = 14;
            } else if (khz >= 2412000 && khz <= 2472000 && (khz - 2412000) % 5000 == 0) {
                channel = (khz - 2412000) / 5000 + 1;
            }
        }
    }
    call.result = static_cast<std::int32_t>(channel);
    call.text = Format("FrequencyToChannel khz=%u -> %u", khz, channel);
    Record(call);
    return channel;
}

std::int32_t FakeCardLibrary::SetWLDomain(std::int32_t domain) {
    Observe("SetWLDomain");
    CardCall call = Named("SetWLDomain");
    call.number = domain;
    {
        std::lock_guard lock(mutex_);
        if (failEverything_) {
            call.result = kFailed;
        } else {
            domain_ = domain;
            call.result = 0;
        }
    }
    call.text = Format("SetWLDomain domain=%d -> %d", domain, call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::SetChannel(const std::uint32_t* channel) {
    Observe("SetChannel");
    CardCall call = Named("SetChannel");
    call.number = channel != nullptr ? *channel : -1;
    {
        std::lock_guard lock(mutex_);
        call.result = (failEverything_ || channel == nullptr) ? kFailed : 0;
    }
    call.text =
        Format("SetChannel channel=%lld -> %d", static_cast<long long>(call.number), call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::SetOperatingMode(const std::uint32_t* mode) {
    Observe("SetOperatingMode");
    CardCall call = Named("SetOperatingMode");
    call.number = mode != nullptr ? *mode : -1;
    {
        std::lock_guard lock(mutex_);
        if (failEverything_ || mode == nullptr) {
            call.result = kFailed;
        } else {
            card_.infrastructureMode = *mode;
            call.result = 0;
        }
    }
    call.text = Format("SetOperatingMode mode=%lld -> %d", static_cast<long long>(call.number),
                       call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::SiteSurveyTrigger() {
    Observe("SiteSurveyTrigger");
    CardCall call = Named("SiteSurveyTrigger");
    {
        std::lock_guard lock(mutex_);
        call.result = failEverything_ ? kFailed : 0;
    }
    call.text = Format("SiteSurveyTrigger -> %d", call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::SiteSurveyGet(std::uint8_t* buffer, std::uint32_t* size) {
    Observe("SiteSurveyGet");
    CardCall call = Named("SiteSurveyGet");
    call.number = size != nullptr ? *size : -1;
    {
        std::lock_guard lock(mutex_);
        if (failEverything_ || buffer == nullptr || size == nullptr) {
            call.result = 0;
        } else {
            std::size_t n = std::min<std::size_t>(*size, survey_.size());
            if (surveyWholeEntries_ && n >= TAVL_SURVEY_HEADER_SIZE) {
                n = TAVL_SURVEY_HEADER_SIZE +
                    (n - TAVL_SURVEY_HEADER_SIZE) / TAVL_SURVEY_ENTRY_SIZE * TAVL_SURVEY_ENTRY_SIZE;
            }
            if (n > 0) {
                std::memcpy(buffer, survey_.data(), n);
            }
            call.written = static_cast<std::uint32_t>(n);
            call.result = surveyResult_;
        }
    }
    call.text = Format("SiteSurveyGet size=%lld -> bytes=%u result=%d",
                       static_cast<long long>(call.number), call.written, call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::Get_XPWZC(std::uint32_t* state) {
    Observe("Get_XPWZC");
    CardCall call = Named("Get_XPWZC");
    {
        std::lock_guard lock(mutex_);
        if (failEverything_ || state == nullptr) {
            call.result = kFailed;
        } else {
            *state = zeroConfigState_;
            call.value = zeroConfigState_;
            call.result = 0;
        }
    }
    call.text = Format("Get_XPWZC -> state=%u result=%d", call.value, call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::WinXPWZC_Disabled() {
    Observe("WinXPWZC_Disabled");
    CardCall call = Named("WinXPWZC_Disabled");
    {
        std::lock_guard lock(mutex_);
        call.result = failEverything_ ? 0 : zeroConfigDisabled_;
    }
    call.text = Format("WinXPWZC_Disabled -> %d", call.result);
    Record(call);
    return call.result;
}

std::int32_t FakeCardLibrary::GetWLANDriverPath(char* path) {
    Observe("GetWLANDriverPath");
    CardCall call = Named("GetWLANDriverPath");
    {
        std::lock_guard lock(mutex_);
        if (failEverything_ || path == nullptr) {
            call.result = 0;
        } else {
            WriteName(path, TAVL_PATH_BUFFER_SIZE, driverPath_);
            call.textArg = path;
            call.result = driverPathResult_;
        }
    }
    call.text = Format("GetWLANDriverPath -> \"%s\" result=%d", call.textArg.c_str(), call.result);
    Record(call);
    return call.result;
}
