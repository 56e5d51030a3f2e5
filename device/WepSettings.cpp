#include "device/WepSettings.h"

#include "device/Records.h"
#include "support/Trace.h"

namespace {

constexpr std::uint32_t kKeyLength64 = 5;
constexpr std::uint32_t kKeyLength128 = 13;
// A key block's length field: the key bytes plus the 15 bytes around them.
constexpr std::uint32_t kKeyBlockOverhead = 15;
constexpr std::uint32_t kAuthModeAutomatic = 2;

} // namespace

std::uint8_t HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<std::uint8_t>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<std::uint8_t>(c - 'A' + 10);
    }
    return 0;
}

std::unique_ptr<WepKeyBuffer> MakeWepKeyBuffer(std::uint32_t keyIndex, std::string_view hexText,
                                               std::uint32_t keyLength) {
    auto block = std::make_unique<WepKeyBuffer>();
    if (keyLength > sizeof block->keyMaterial) {
        keyLength = sizeof block->keyMaterial;
    }
    block->length = keyLength + kKeyBlockOverhead;
    block->keyIndex = keyIndex;
    block->keyLength = keyLength;
    auto digit = [&](std::size_t at) { return at < hexText.size() ? hexText[at] : '\0'; };
    for (std::uint32_t b = 0; b < keyLength; ++b) {
        block->keyMaterial[b] = static_cast<std::uint8_t>(HexDigitValue(digit(2 * b)) * 16 +
                                                          HexDigitValue(digit(2 * b + 1)));
    }
    return block;
}

void BuildWepSettings(const WirelessReg& reg, HostInfo& host, std::uint32_t& mask) {
    TraceOut(" reg.encryptionLevel=%i", static_cast<int>(reg.encryptionLevel));
    if (reg.encryptionLevel != 0) {
        const std::uint32_t keyLength = reg.encryptionLevel == 1 ? kKeyLength64 : kKeyLength128;
        for (int i = 0; i < 4; ++i) {
            mask |= TAVL_MASK_WEP_KEY1 << i;
            auto block = MakeWepKeyBuffer(static_cast<std::uint32_t>(i), FieldText(reg.keyText[i]),
                                          keyLength);
            if (reg.defaultKeyId == i) {
                block->keyIndex |= TAVL_WEP_TRANSMIT_KEY;
            }
            TavlSetWepKey(&host, i, block.release());
        }
        mask |= TAVL_MASK_WEP_STATUS;
        host.wepStatus = 0;
        mask |= TAVL_MASK_AUTH_MODE;
    } else {
        mask |= TAVL_MASK_WEP_STATUS;
        host.wepStatus = 1;
        mask |= TAVL_MASK_AUTH_MODE;
        for (int i = 0; i < 4; ++i) {
            TavlSetWepKey(&host, i, nullptr);
        }
    }
    host.authMode = kAuthModeAutomatic;
}

void FreeWepKeys(HostInfo& host) {
    for (int i = 0; i < 4; ++i) {
        delete TavlGetWepKey(&host, i);
        TavlSetWepKey(&host, i, nullptr);
    }
}
