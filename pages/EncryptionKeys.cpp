// The Encryption page's key texts: between the fields, the page's members
// and the sheet's `reg`.
#include "pages/EncryptionKeys.h"

#include "device/PassphraseKeys.h"
#include "device/Records.h"
#include "device/SheetState.h"
#include "device/WepSettings.h"
#include "pages/EncryptionPage.h"
#include "pages/KeyEdit.h"
#include "platform/MessageBox.h"
#include "res/Strings.h"

#include <string_view>

namespace {

constexpr int kKeyBytes64 = static_cast<int>(kWepKeyBytes64);
constexpr int kKeyBytes128 = static_cast<int>(kWepKeyBytes128);

std::uint8_t DigitValue(QChar c) {
    return c.unicode() < 0x80 ? HexDigitValue(static_cast<char>(c.unicode())) : 0;
}

bool IsHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

} // namespace

std::uint8_t HexPairToByte(QChar high, QChar low) {
    return static_cast<std::uint8_t>(DigitValue(high) * 16 + DigitValue(low));
}

QString HexKeyToAscii(const QString& hex, int keyBytes) {
    QString ascii;
    for (int b = 0; b < keyBytes && 2 * b + 1 < hex.size(); ++b) {
        const std::uint8_t byte = HexPairToByte(hex[2 * b], hex[2 * b + 1]);
        if (byte == 0) {
            break;
        }
        ascii += QChar(byte);
    }
    return ascii;
}

QString AsciiKeyToHex(const QString& ascii, int keyBytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    QString hex;
    for (int i = 0; i < keyBytes && i < ascii.size(); ++i) {
        const char16_t code = ascii[i].unicode();
        if (code == 0 || code > 0xFF) {
            break;
        }
        hex += QLatin1Char(kDigits[code >> 4]);
        hex += QLatin1Char(kDigits[code & 0x0F]);
    }
    return hex;
}

bool IsHexKeyText(const QString& text, int keyBytes) {
    if (text.size() != 2 * keyBytes) {
        return false;
    }
    for (QChar c : text) {
        if (!IsHexDigit(c)) {
            return false;
        }
    }
    return true;
}

void CEncryptionPage::ShowAsciiPlaceholders() {
    auto show = [this](int id, const char* placeholder) {
        SetControlText(id, QString::fromLatin1(placeholder));
        if (CKeyEdit* edit = KeyField(id)) {
            edit->m_ShowsPlaceholder = true;
        }
    };
    for (int n = 0; n < 4; ++n) {
        show(kAscii64[n], kPlaceholder64);
        show(kAscii128[n], kPlaceholder128);
    }
}

void CEncryptionPage::RestoreAsciiTexts() {
    // What the field shows decides, not its text: stars the user typed or
    // pasted are a key.
    auto restore = [this](int id, const QString& text) {
        CKeyEdit* edit = KeyField(id);
        if (edit != nullptr && edit->m_ShowsPlaceholder) {
            SetControlText(id, text);
            edit->m_ShowsPlaceholder = false;
        }
    };
    for (int n = 0; n < 4; ++n) {
        restore(kAscii128[n], m_KeyAscii128[n]);
    }
    for (int n = 0; n < 4; ++n) {
        restore(kAscii64[n], m_KeyAscii64[n]);
    }
}

void CEncryptionPage::KeepTypedKeys() {
    ExchangeKeys(true);
    ReadAsciiFields(0x1 | 0x10);
}

void CEncryptionPage::ExchangeKeys(bool save) {
    if (save) {
        RestoreAsciiTexts();
        DoDataExchange(true);
    } else {
        DoDataExchange(false);
        ShowAsciiPlaceholders();
    }
}

void CEncryptionPage::ReadAsciiFields(unsigned flags) {
    if (!HasWindow()) {
        return;
    }
    for (int n = 0; n < 4; ++n) {
        if (flags & 0x1) {
            m_KeyAscii64[n] = ControlText(kAscii64[n]);
        }
        if (flags & 0x10) {
            m_KeyAscii128[n] = ControlText(kAscii128[n]);
        }
    }
}

void CEncryptionPage::HexToAscii() {
    for (int n = 0; n < 4; ++n) {
        m_KeyAscii64[n] = HexKeyToAscii(m_KeyHex64[n], kKeyBytes64);
        m_KeyAscii128[n] = HexKeyToAscii(m_KeyHex128[n], kKeyBytes128);
    }
}

void CEncryptionPage::AsciiToHex() {
    RestoreAsciiTexts();
    for (int n = 0; n < 4; ++n) {
        m_KeyHex64[n] = AsciiKeyToHex(m_KeyAscii64[n], kKeyBytes64);
        m_KeyHex128[n] = AsciiKeyToHex(m_KeyAscii128[n], kKeyBytes128);
    }
}

void CEncryptionPage::StoreKeys128() {
    Context().state.reg.Update([this](WirelessReg& reg) {
        for (int n = 0; n < 4; ++n) {
            StoreText(reg.keyText128[n], m_KeyHex128[n], true);
        }
        for (int n = 0; n < 4; ++n) {
            SetFieldText(reg.keyText[n], FieldText(reg.keyText128[n]));
        }
    });
}

void CEncryptionPage::StoreKeys64() {
    Context().state.reg.Update([this](WirelessReg& reg) {
        for (int n = 0; n < 4; ++n) {
            StoreText(reg.keyText64[n], m_KeyHex64[n], true);
        }
        for (int n = 0; n < 4; ++n) {
            SetFieldText(reg.keyText[n], FieldText(reg.keyText64[n]));
        }
    });
}

void CEncryptionPage::LoadEntryMode() {
    const std::uint32_t mode = Context().state.reg.Get().keyEntryMode;
    if (mode == 1) {
        SetChecked(kManualRadio, false);
        SetChecked(kPassphraseRadio, true);
    } else {
        SetChecked(kPassphraseRadio, false);
        SetChecked(kManualRadio, true);
        SetChecked(kAsciiBox, mode == 3);
    }
}

void CEncryptionPage::StoreEntryMode() {
    const std::uint32_t mode = IsChecked(kPassphraseRadio) ? 1 : IsChecked(kAsciiBox) ? 3 : 2;
    Context().state.reg.Update([mode](WirelessReg& reg) { reg.keyEntryMode = mode; });
}

void CEncryptionPage::GenerateKeysFromPassphrase(int level, const QString& passphrase) {
    if (passphrase.isEmpty()) {
        AppMessageBox(this, QString::fromLatin1(ResString(IDS_NO_PASSPHRASE)), MsgButtons::Ok,
                      MsgIcon::Exclamation);
        return;
    }
    if (level != 1 && level != 2) {
        return;
    }
    const QByteArray bytes = passphrase.toLatin1();
    const WepKeyTexts keys = MakePassphraseKeys(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
        level == 1 ? kWepKeyBytes64 : kWepKeyBytes128);
    std::array<QString, 4>& target = level == 1 ? m_KeyHex64 : m_KeyHex128;
    const int* ids = level == 1 ? kHex64 : kHex128;
    for (int n = 0; n < 4; ++n) {
        target[n] = QString::fromLatin1(keys[n].data(), static_cast<qsizetype>(keys[n].size()));
        SetControlText(ids[n], target[n]);
    }
    HexToAscii();
}

void CEncryptionPage::LoadKeysFromReg(const WirelessReg& reg) {
    for (int n = 0; n < 4; ++n) {
        m_KeyHex128[n] = RecordText(reg.keyText128[n]);
        m_KeyHex64[n] = RecordText(reg.keyText64[n]);
    }
}

void CEncryptionPage::PutHexFields() {
    for (int n = 0; n < 4; ++n) {
        SetControlText(kHex64[n], m_KeyHex64[n]);
        SetControlText(kHex128[n], m_KeyHex128[n]);
    }
}
