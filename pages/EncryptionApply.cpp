#include "pages/EncryptionApply.h"

#include "device/AccessHandshake.h"
#include "device/CardLibrary.h"
#include "device/Records.h"
#include "device/SheetState.h"
#include "device/WepSettings.h"
#include "pages/PageContext.h"
#include "support/Trace.h"

#include <cstring>
#include <string_view>

namespace {

constexpr std::uint32_t kWepEnabled = 0;
constexpr std::uint32_t kWepDisabled = 1;
constexpr std::uint32_t kAuthModeAutomatic = 2;
// The card associates again when its SSID is set: first to a name no
// network carries, then back to the profile's own.
constexpr const char* kDetourSsid = "abcdefghijklmnopqrstuvwxyz";

SsidText MakeSsidText(std::string_view text) {
    SsidText ssid{};
    const std::size_t length = text.size() < sizeof ssid.ssid ? text.size() : sizeof ssid.ssid;
    ssid.length = static_cast<std::uint32_t>(length);
    std::memcpy(ssid.ssid, text.data(), length);
    return ssid;
}

// The WEP part of the write: with WEP on, one key block per key, the
// transmit key's block marked; `host` references the blocks.
std::uint32_t BuildWepHost(const WepApply& apply, HostInfo& host) {
    std::uint32_t mask = TAVL_MASK_AUTH_MODE | TAVL_MASK_WEP_STATUS;
    if (apply.level == kWepLevelDisabled) {
        host.wepStatus = kWepDisabled;
    } else {
        const auto keyBytes = static_cast<std::uint32_t>(KeyBytesOfLevel(apply.level));
        for (int n = 0; n < 4; ++n) {
            mask |= TAVL_MASK_WEP_KEY1 << n;
            const QByteArray digits = apply.hex[n].toLatin1();
            auto block = MakeWepKeyBuffer(
                static_cast<std::uint32_t>(n),
                std::string_view(digits.constData(), static_cast<std::size_t>(digits.size())),
                keyBytes);
            if (n == apply.defaultKey) {
                block->keyIndex |= TAVL_WEP_TRANSMIT_KEY;
            }
            TavlSetWepKey(&host, n, block.release());
        }
        host.wepStatus = kWepEnabled;
    }
    host.authMode = kAuthModeAutomatic;
    return mask;
}

} // namespace

void ApplyWepToCard(const PageContext& context, const WepApply& apply,
                    const std::function<void()>& onFailure) {
    HostInfo host{};
    std::uint32_t mask = BuildWepHost(apply, host);
    const WepKeysGuard keys(host);

    const WirelessReg reg = context.state.reg.Get();
    context.library.SetProfileWireless(nullptr, &reg);
    {
        const CAccessHandshake handshake(context.state, context.clock);
        context.library.SetWLANConfig(&mask, &host);
        if (mask != 0) {
            context.library.SetWLANConfig(&mask, &host);
        }
        if (mask != 0) {
            TraceOut("Failed to change WEP configuration : 0x%X", mask);
            onFailure();
        }
    }

    const SsidText detour = MakeSsidText(kDetourSsid);
    context.library.SetSSID(&detour);
    const SsidText own = MakeSsidText(FieldText(reg.ssid));
    context.library.SetSSID(&own);
}
