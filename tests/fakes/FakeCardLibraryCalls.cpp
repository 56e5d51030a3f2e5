// The CardLibrary calls of FakeCardLibrary: each runs the OnCall observer,
// does its work (or its hook's), and records itself.
#include "tests/fakes/FakeCardLibrary.h"

#include "cardshared/Channels.h"
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

} // namespace

std::int32_t FakeCardLibrary::Init(const char* identity, std::int32_t reserved) {
    CardCall call = Begin("Init");
    call.textArg = identity != nullptr ? identity : "";
    call.number = reserved;
    call.result = Locked([&] { return failEverything_ ? 0 : 1; });
    return Finish(call, Format("Init identity=%s reserved=%d -> %d", NameText(identity).c_str(),
                               reserved, call.result));
}

std::int32_t FakeCardLibrary::Terminate() {
    CardCall call = Begin("Terminate");
    call.result = 1;
    Finish(call, "Terminate -> 1");
    Set(terminated_, true);
    return 1;
}

std::int32_t FakeCardLibrary::Detect(std::uint8_t* info) {
    CardCall call = Begin("Detect");
    if (const DetectHook hook = Get(detectHook_)) {
        call.result = hook(info);
    } else {
        call.result = Locked([&] {
            const bool answers = present_ && !failEverything_;
            if (answers && info != nullptr) {
                std::memset(info, 0, TAVL_DETECT_INFO_SIZE);
                std::memcpy(info, "LK2093", 6);
            }
            return answers ? 1 : 0;
        });
    }
    return Finish(call, Format("Detect -> %d", call.result));
}

std::int32_t FakeCardLibrary::GetWLANConfig(std::uint32_t* mask, HostInfo* host) {
    CardCall call = Begin("GetWLANConfig");
    if (mask == nullptr || host == nullptr) {
        call.result = kFailed;
        return Finish(call, "GetWLANConfig (null argument) -> -1");
    }
    call.maskIn = *mask;
    if (const GetHook hook = Get(getHook_)) {
        call.result = hook(mask, host);
    } else {
        call.result = Locked([&] {
            if (failEverything_) {
                return kFailed;
            }
            const std::uint32_t failed = TakeFailure(failGetBits_, failGetCalls_, *mask);
            ReadFields(*mask & ~failed, *host);
            *mask = failed;
            return failed != 0 ? kFailed : 0;
        });
    }
    call.maskOut = *mask;
    call.host = *host;
    return Finish(call, Format("GetWLANConfig mask=0x%08X -> mask=0x%08X result=%d", call.maskIn,
                               call.maskOut, call.result));
}

std::int32_t FakeCardLibrary::SetWLANConfig(std::uint32_t* mask, const HostInfo* host) {
    CardCall call = Begin("SetWLANConfig");
    if (mask == nullptr || host == nullptr) {
        call.result = kFailed;
        return Finish(call, "SetWLANConfig (null argument) -> -1");
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
    if (const SetHook hook = Get(setHook_)) {
        call.result = hook(mask, host);
    } else {
        call.result = Locked([&] {
            if (failEverything_) {
                return kFailed;
            }
            const std::uint32_t failed = TakeFailure(failSetBits_, failSetCalls_, *mask);
            WriteFields(*mask & ~failed, *host);
            for (const FakeWepKey& key : call.wepKeys) {
                if ((failed & (TAVL_MASK_WEP_KEY1 << key.slot)) == 0) {
                    cardKeys_[key.slot] = key;
                }
            }
            *mask = failed;
            return failed != 0 ? kFailed : 0;
        });
    }
    call.maskOut = *mask;
    std::string text = Format("SetWLANConfig mask=0x%08X -> mask=0x%08X result=%d", call.maskIn,
                              call.maskOut, call.result);
    for (const FakeWepKey& key : call.wepKeys) {
        text += Format(" key%d{index=0x%08X length=%u keyLength=%u %s}", key.slot, key.keyIndex,
                       key.length, key.keyLength, key.Hex().c_str());
    }
    return Finish(call, text);
}

std::int32_t FakeCardLibrary::SetSSID(const SsidText* ssid) {
    CardCall call = Begin("SetSSID");
    if (ssid == nullptr) {
        call.result = kFailed;
        return Finish(call, "SetSSID (null) -> -1");
    }
    call.ssid = *ssid;
    const std::uint32_t length = std::min<std::uint32_t>(ssid->length, TAVL_SSID_MAX);
    call.result = Locked([&] {
        if (failEverything_) {
            return kFailed;
        }
        card_.ssidLength = length;
        std::memset(card_.ssid, 0, sizeof card_.ssid);
        std::memcpy(card_.ssid, ssid->ssid, length);
        return 0;
    });
    return Finish(call, Format("SetSSID length=%u ssid=\"%.*s\" -> %d", ssid->length,
                               static_cast<int>(length), reinterpret_cast<const char*>(ssid->ssid),
                               call.result));
}

std::int32_t FakeCardLibrary::QueryOID(std::uint32_t oid, void* buffer, std::uint32_t length,
                                       std::uint32_t* written) {
    CardCall call = Begin("QueryOID");
    call.number = oid;
    std::uint32_t localWritten = 0;
    std::uint32_t* out = written != nullptr ? written : &localWritten;
    if (const QueryHook hook = Get(queryHook_)) {
        call.result = hook(oid, buffer, length, out);
    } else {
        call.result = Locked([&] {
            *out = 0;
            const std::uint32_t* value = oid == TAVL_OID_GEN_MEDIA_CONNECT_STATUS ? &mediaStatus_
                                         : oid == TAVL_OID_GEN_XMIT_OK            ? &xmitOk_
                                         : oid == TAVL_OID_GEN_RCV_OK             ? &rcvOk_
                                                                                  : nullptr;
            if (failQueryCalls_ > 0) {
                --failQueryCalls_;
                return failQueryResult_;
            }
            if (failEverything_ || value == nullptr || buffer == nullptr || length < 4) {
                return kFailed;
            }
            std::memcpy(buffer, value, sizeof *value);
            *out = sizeof *value;
            return 0;
        });
    }
    call.written = *out;
    if (call.written >= 4 && buffer != nullptr) {
        std::memcpy(&call.value, buffer, sizeof call.value);
    }
    return Finish(call, Format("QueryOID oid=0x%08X length=%u -> written=%u value=%u result=%d",
                               oid, length, call.written, call.value, call.result));
}

std::uint32_t FakeCardLibrary::ChannelToFrequency(std::uint32_t channel) {
    CardCall call = Begin("ChannelToFrequency");
    call.number = channel;
    const std::uint32_t khz = Get(failEverything_) ? 0 : cardsim::ChannelToKhz(channel);
    call.result = static_cast<std::int32_t>(khz);
    Finish(call, Format("ChannelToFrequency channel=%u -> %u", channel, khz));
    return khz;
}

std::uint32_t FakeCardLibrary::FrequencyToChannel(std::uint32_t khz) {
    CardCall call = Begin("FrequencyToChannel");
    call.number = khz;
    const std::uint32_t channel = Get(failEverything_) ? 0 : cardsim::KhzToChannel(khz);
    call.result = static_cast<std::int32_t>(channel);
    Finish(call, Format("FrequencyToChannel khz=%u -> %u", khz, channel));
    return channel;
}

std::int32_t FakeCardLibrary::SetWLDomain(std::int32_t domain) {
    CardCall call = Begin("SetWLDomain");
    call.number = domain;
    call.result = Locked([&] {
        if (failEverything_) {
            return kFailed;
        }
        domain_ = domain;
        return 0;
    });
    return Finish(call, Format("SetWLDomain domain=%d -> %d", domain, call.result));
}

std::int32_t FakeCardLibrary::SetChannel(const std::uint32_t* channel) {
    CardCall call = Begin("SetChannel");
    call.number = channel != nullptr ? *channel : -1;
    call.result = Locked([&] { return (failEverything_ || channel == nullptr) ? kFailed : 0; });
    return Finish(call, Format("SetChannel channel=%lld -> %d", static_cast<long long>(call.number),
                               call.result));
}

std::int32_t FakeCardLibrary::SetOperatingMode(const std::uint32_t* mode) {
    CardCall call = Begin("SetOperatingMode");
    call.number = mode != nullptr ? *mode : -1;
    call.result = Locked([&] {
        if (failEverything_ || mode == nullptr) {
            return kFailed;
        }
        card_.infrastructureMode = *mode;
        return 0;
    });
    return Finish(call, Format("SetOperatingMode mode=%lld -> %d",
                               static_cast<long long>(call.number), call.result));
}

std::int32_t FakeCardLibrary::SiteSurveyTrigger() {
    CardCall call = Begin("SiteSurveyTrigger");
    call.result = Locked([&] { return failEverything_ ? kFailed : 0; });
    return Finish(call, Format("SiteSurveyTrigger -> %d", call.result));
}

std::int32_t FakeCardLibrary::SiteSurveyGet(std::uint8_t* buffer, std::uint32_t* size) {
    CardCall call = Begin("SiteSurveyGet");
    call.number = size != nullptr ? *size : -1;
    call.result = Locked([&] {
        if (failEverything_ || buffer == nullptr || size == nullptr) {
            return 0;
        }
        std::size_t n = std::min<std::size_t>(*size, survey_.size());
        if (surveyWholeEntries_ && n >= TAVL_SURVEY_HEADER_SIZE) {
            n = TAVL_SURVEY_HEADER_SIZE +
                (n - TAVL_SURVEY_HEADER_SIZE) / TAVL_SURVEY_ENTRY_SIZE * TAVL_SURVEY_ENTRY_SIZE;
        }
        if (n > 0) {
            std::memcpy(buffer, survey_.data(), n);
        }
        call.written = static_cast<std::uint32_t>(n);
        return surveyResult_;
    });
    return Finish(call, Format("SiteSurveyGet size=%lld -> bytes=%u result=%d",
                               static_cast<long long>(call.number), call.written, call.result));
}

std::int32_t FakeCardLibrary::Get_XPWZC(std::uint32_t* state) {
    CardCall call = Begin("Get_XPWZC");
    call.result = Locked([&] {
        if (failEverything_ || state == nullptr) {
            return kFailed;
        }
        *state = call.value = zeroConfigState_;
        return 0;
    });
    return Finish(call, Format("Get_XPWZC -> state=%u result=%d", call.value, call.result));
}

std::int32_t FakeCardLibrary::WinXPWZC_Disabled() {
    CardCall call = Begin("WinXPWZC_Disabled");
    call.result = Locked([&] { return failEverything_ ? 0 : zeroConfigDisabled_; });
    return Finish(call, Format("WinXPWZC_Disabled -> %d", call.result));
}

std::int32_t FakeCardLibrary::GetWLANDriverPath(char* path) {
    CardCall call = Begin("GetWLANDriverPath");
    call.result = Locked([&] {
        if (failEverything_ || path == nullptr) {
            return 0;
        }
        WriteName(path, TAVL_PATH_BUFFER_SIZE, driverPath_);
        call.textArg = path;
        return driverPathResult_;
    });
    return Finish(
        call, Format("GetWLANDriverPath -> \"%s\" result=%d", call.textArg.c_str(), call.result));
}
