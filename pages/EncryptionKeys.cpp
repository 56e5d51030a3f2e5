#include "pages/EncryptionKeys.h"

#include "device/PassphraseKeys.h"
#include "device/WepSettings.h"
#include "res/Strings.h"

#include <string_view>

namespace {

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

int KeyBytesOfLevel(int level) {
    return static_cast<int>(level == kWepLevel64 ? kWepKeyBytes64 : kWepKeyBytes128);
}

KeyTexts PassphraseKeyTexts(int level, const QString& passphrase) {
    const QByteArray bytes = passphrase.toLatin1();
    const WepKeyTexts keys = MakePassphraseKeys(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
        static_cast<std::size_t>(KeyBytesOfLevel(level)));
    KeyTexts texts;
    for (int n = 0; n < 4; ++n) {
        texts[n] = QString::fromLatin1(keys[n].data(), static_cast<qsizetype>(keys[n].size()));
    }
    return texts;
}

void StoreKeyTexts(WirelessReg& reg, int level, const KeyTexts& hex) {
    auto store = [&reg, &hex](auto& levelKeys) {
        for (int n = 0; n < 4; ++n) {
            StoreText(levelKeys[n], hex[n], true);
        }
        for (int n = 0; n < 4; ++n) {
            SetFieldText(reg.keyText[n], FieldText(levelKeys[n]));
        }
    };
    if (level == kWepLevel64) {
        store(reg.keyText64);
    } else {
        store(reg.keyText128);
    }
}

std::optional<KeyProblem> CheckKeyTexts(int level, bool asciiEntry, const KeyTexts& hex,
                                        const KeyTexts& ascii) {
    const int keyBytes = KeyBytesOfLevel(level);
    KeyProblem length{level == kWepLevel64
                          ? (asciiEntry ? IDS_KEY_LENGTH_5_ASCII : IDS_KEY_LENGTH_10)
                          : (asciiEntry ? IDS_KEY_LENGTH_13_ASCII : IDS_KEY_LENGTH_26),
                      {}};
    bool any = false;
    for (int n = 0; n < 4; ++n) {
        length.failed[n] = asciiEntry ? ascii[n].size() != keyBytes : hex[n].size() != 2 * keyBytes;
        any = any || length.failed[n];
    }
    if (any) {
        return length;
    }
    KeyProblem digits{IDS_KEY_NOT_HEX, {}};
    for (int n = 0; n < 4; ++n) {
        digits.failed[n] = !IsHexKeyText(hex[n], keyBytes);
        any = any || digits.failed[n];
    }
    return any ? std::optional<KeyProblem>(digits) : std::nullopt;
}

QString KeyProblemMessage(const KeyProblem& problem) {
    QString message = QString::fromLatin1(ResString(problem.textId)) + QLatin1Char('(');
    for (int n = 0; n < 4; ++n) {
        if (problem.failed[n]) {
            message += QStringLiteral(" Key%1").arg(n + 1);
        }
    }
    return message + QLatin1Char(')');
}
