// The Encryption page's buttons: Apply Changes, Restore Defaults, Undo
// Changes.
#include "device/AccessHandshake.h"
#include "device/CardLibrary.h"
#include "device/PassphraseKeys.h"
#include "device/Records.h"
#include "device/SheetState.h"
#include "device/WepSettings.h"
#include "pages/EncryptionKeys.h"
#include "pages/EncryptionPage.h"
#include "pages/KeyEdit.h"
#include "platform/MessageBox.h"
#include "res/Strings.h"
#include "support/Trace.h"

#include <cstring>

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

// "<text>( Key1 Key3)": the message followed by the names of the keys
// that failed, in key order.
QString KeyMessage(int textId, const bool (&failed)[4]) {
    QString message = QString::fromLatin1(ResString(textId)) + QLatin1Char('(');
    for (int n = 0; n < 4; ++n) {
        if (failed[n]) {
            message += QStringLiteral(" Key%1").arg(n + 1);
        }
    }
    return message + QLatin1Char(')');
}

bool Any(const bool (&failed)[4]) {
    return failed[0] || failed[1] || failed[2] || failed[3];
}

} // namespace

bool CEncryptionPage::ValidateKeys(int level, bool asciiEntry) {
    const int keyBytes = static_cast<int>(level == 1 ? kWepKeyBytes64 : kWepKeyBytes128);
    const std::array<QString, 4>& hex = level == 1 ? m_KeyHex64 : m_KeyHex128;
    const std::array<QString, 4>& ascii = level == 1 ? m_KeyAscii64 : m_KeyAscii128;

    bool wrongLength[4] = {};
    for (int n = 0; n < 4; ++n) {
        wrongLength[n] = asciiEntry ? ascii[n].size() != keyBytes : hex[n].size() != 2 * keyBytes;
    }
    if (Any(wrongLength)) {
        const int textId = level == 1 ? (asciiEntry ? IDS_KEY_LENGTH_5_ASCII : IDS_KEY_LENGTH_10)
                                      : (asciiEntry ? IDS_KEY_LENGTH_13_ASCII : IDS_KEY_LENGTH_26);
        AppMessageBox(this, KeyMessage(textId, wrongLength), MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    // A key of the right length that holds other characters than digits
    // (a stored profile's, say) would reach the card as another key.
    bool notHex[4] = {};
    for (int n = 0; n < 4; ++n) {
        notHex[n] = !IsHexKeyText(hex[n], keyBytes);
    }
    if (Any(notHex)) {
        AppMessageBox(this, KeyMessage(IDS_KEY_NOT_HEX, notHex), MsgButtons::Ok,
                      MsgIcon::Exclamation);
        return false;
    }
    return true;
}

void CEncryptionPage::ApplyChanges() {
    if (!HasWindow()) {
        return;
    }
    ExchangeKeys(true);
    // The ASCII box decides how keys are typed by hand; in passphrase mode
    // the keys are the generated hexadecimal ones, whatever the box shows.
    const bool passphraseMode = IsChecked(kPassphraseRadio);
    const bool asciiEntry = IsChecked(kAsciiBox) && !passphraseMode;
    if (asciiEntry) {
        const CKeyEdit* ascii64 = KeyField(kAscii64[0]);
        ReadAsciiFields(ascii64 != nullptr && !ascii64->isHidden() ? 0x1 : 0x10);
        AsciiToHex();
    } else {
        HexToAscii();
    }

    const int level = ListIndex(kLevelList);
    if (level < 0 || level > 2) {
        // No level chosen: there is nothing to apply.
        return;
    }
    // Keys from an empty passphrase cannot be made: the apply stops at the
    // message, as it does at a key of the wrong length, rather than turn
    // WEP on with keys the user did not choose. Nothing changes in `reg`.
    if (level != 0 && passphraseMode && m_Passphrase.isEmpty()) {
        GenerateKeysFromPassphrase(level, m_Passphrase);
        return;
    }
    Context().state.reg.Update(
        [level](WirelessReg& reg) { reg.encryptionLevel = static_cast<std::uint32_t>(level); });
    if (level != 0 && passphraseMode) {
        GenerateKeysFromPassphrase(level, m_Passphrase);
    }
    // No transmit key chosen (a stored index outside 1 to 4): key 1.
    const int defaultKey = ListIndex(kDefaultKeyList) >= 0 ? ListIndex(kDefaultKeyList) : 0;
    Context().state.reg.Update([defaultKey](WirelessReg& reg) { reg.defaultKeyId = defaultKey; });

    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_AUTH_MODE;
    if (level == 0) {
        mask |= TAVL_MASK_WEP_STATUS;
        host.wepStatus = kWepDisabled;
    } else {
        if (!ValidateKeys(level, asciiEntry)) {
            return;
        }
        const std::size_t keyBytes = level == 1 ? kWepKeyBytes64 : kWepKeyBytes128;
        const std::array<QString, 4>& hex = level == 1 ? m_KeyHex64 : m_KeyHex128;
        for (int n = 0; n < 4; ++n) {
            mask |= TAVL_MASK_WEP_KEY1 << n;
            const QByteArray digits = hex[n].toLatin1();
            auto block = MakeWepKeyBuffer(
                static_cast<std::uint32_t>(n),
                std::string_view(digits.constData(), static_cast<std::size_t>(digits.size())),
                static_cast<std::uint32_t>(keyBytes));
            if (n == defaultKey) {
                block->keyIndex |= TAVL_WEP_TRANSMIT_KEY;
            }
            TavlSetWepKey(&host, n, block.release());
        }
        if (level == 1) {
            StoreKeys64();
        } else {
            StoreKeys128();
        }
        mask |= TAVL_MASK_WEP_STATUS;
        host.wepStatus = kWepEnabled;
    }
    host.authMode = kAuthModeAutomatic;

    const QByteArray passphrase = m_Passphrase.toLatin1();
    Context().state.reg.Update([&passphrase](WirelessReg& reg) {
        SetFieldText(reg.passphrase, std::string_view(passphrase.constData(),
                                                      static_cast<std::size_t>(passphrase.size())));
    });
    StoreEntryMode();
    const WirelessReg reg = Context().state.reg.Get();
    Context().library.SetProfileWireless(nullptr, &reg);

    SendWepSettings(mask, host);

    MaskKeyFields();
    FreeWepKeys(host);
    const SsidText detour = MakeSsidText(kDetourSsid);
    Context().library.SetSSID(&detour);
    const SsidText own = MakeSsidText(FieldText(reg.ssid));
    Context().library.SetSSID(&own);

    ArrangeKeyControls(ListIndex(kLevelList));
    ExchangeKeys(false);
    EnableChangeButtons(false);
}

void CEncryptionPage::SendWepSettings(std::uint32_t mask, const HostInfo& host) {
    const CAccessHandshake handshake(Context().state, Context().clock);
    Context().library.SetWLANConfig(&mask, &host);
    if (mask != 0) {
        Context().library.SetWLANConfig(&mask, &host);
    }
    if (mask != 0) {
        TraceOut("Failed to change WEP configuration : 0x%X", mask);
        AppMessageBox(this, QString::fromLatin1(ResString(IDS_WEP_FAILED)), MsgButtons::Ok,
                      MsgIcon::Exclamation);
    }
}

void CEncryptionPage::RestoreDefaults() {
    m_Passphrase.clear();
    for (int n = 0; n < 4; ++n) {
        m_KeyHex128[n] = QString::fromLatin1(kDefault128KeyText);
        m_KeyHex64[n] = QString::fromLatin1(kDefault64KeyText);
    }
    HexToAscii();
    StoreKeys128();
    StoreKeys64();
    SetChecked(kAsciiBox, false);
    SetChecked(kPassphraseRadio, false);
    ExchangeKeys(false);
    SelectListIndex(kDefaultKeyList, 0);
    SelectListIndex(kLevelList, 0);
    ArrangeKeyControls(0);
    ExchangeKeys(false);
    EnableChangeButtons(true);
    MaskKeyFields();
}

void CEncryptionPage::UndoChanges() {
    const WirelessReg reg = Context().state.reg.Get();
    LoadKeysFromReg(reg);
    HexToAscii();
    ExchangeKeys(false);
    LoadEntryMode();
    ShowStoredLevel(reg);
    MaskKeyFields();
    ExchangeKeys(false);
    EnableChangeButtons(false);
}
