#include "device/Records.h"

WirelessReg DefaultWirelessReg() {
    WirelessReg reg{};
    reg.channel = 6;
    reg.txRate = 15;
    reg.opMode = 1;
    reg.GMode = 1;
    SetFieldText(reg.profileName, "default");
    SetFieldText(reg.ssid, "any");
    reg.encryptionLevel = 0;
    for (int i = 0; i < 4; ++i) {
        SetFieldText(reg.keyText128[i], kDefault128KeyText);
        SetFieldText(reg.keyText64[i], kDefault64KeyText);
        SetFieldText(reg.keyText[i], kDefault64KeyText);
    }
    reg.defaultKeyId = 0;
    reg.fragThreshold = 2346;
    reg.rtsThreshold = 2347;
    reg.preambleType = 0;
    reg.powerSaveMode = 0;
    reg.authType = 2;
    reg.keyEntryMode = 2;
    return reg;
}

std::array<std::uint8_t, 8> RatesForCode(std::uint32_t txRate) {
    switch (txRate) {
    case 1:
        return {2};
    case 2:
        return {4};
    case 3:
        return {4, 2};
    case 4:
        return {11};
    case 8:
        return {22};
    case 15:
        return {108, 96, 72, 48, 36, 24, 22, 18};
    default:
        // Any other code is sent as a single rate byte of that value.
        return {static_cast<std::uint8_t>(txRate)};
    }
}
