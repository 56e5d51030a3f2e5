// Key texts of the Encryption page: hexadecimal digits and ASCII
// characters, one Latin-1 character per key byte, their conversions, the
// keys a passphrase makes, the checks an apply makes of them and where
// they go in a WirelessReg. Plain values only: no widget, no card.
#pragma once

#include "device/Records.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// Keys 1 to 4 of one level; index n - 1 holds key n.
using KeyTexts = std::array<QString, 4>;

// Encryption levels as the level list holds them.
inline constexpr int kWepLevelDisabled = 0;
inline constexpr int kWepLevel64 = 1;
inline constexpr int kWepLevel128 = 2;

// Key bytes of level 1 (5) or of any other level (13).
int KeyBytesOfLevel(int level);

// (value of `high`) x 16 + (value of `low`); a digit is worth 0 to 9 for
// "0"-"9", 10 to 15 for "a"-"f" and "A"-"F", and 0 for any other character.
std::uint8_t HexPairToByte(QChar high, QChar low);

// The ASCII form of a hexadecimal key: one character per digit pair, first
// pair first, at most `keyBytes` pairs. The text ends before the first
// zero byte, and before a pair the text does not complete: a short or odd
// text gives a shorter ASCII text, never characters the text does not hold.
QString HexKeyToAscii(const QString& hex, int keyBytes);

// The hexadecimal form of an ASCII key: the first `keyBytes` characters,
// each as two uppercase digits. The text ends before a character that is
// not a key byte (NUL, or above U+00FF), so such a key comes out short.
QString AsciiKeyToHex(const QString& ascii, int keyBytes);

// The text is exactly 2 x `keyBytes` hexadecimal digits.
bool IsHexKeyText(const QString& text, int keyBytes);

// A record's text field as the page holds it: one character per byte.
template <std::size_t N> inline QString RecordText(const char (&field)[N]) {
    const std::string_view text = FieldText(field);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Writes a page text into a record field, one byte per character; `upper`
// turns the letters "a"-"f" of a hexadecimal key into capitals.
template <std::size_t N> inline void StoreText(char (&field)[N], const QString& text, bool upper) {
    QByteArray bytes = text.toLatin1();
    if (upper) {
        bytes = bytes.toUpper();
    }
    SetFieldText(field,
                 std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// The four keys `passphrase` makes at level 1 or 2, as hexadecimal texts.
KeyTexts PassphraseKeyTexts(int level, const QString& passphrase);

// Writes the hexadecimal keys of level 1 (keyText64) or of level 2
// (keyText128) into `reg`, letters as capitals, and copies them into the
// keys the card is given (keyText).
void StoreKeyTexts(WirelessReg& reg, int level, const KeyTexts& hex);

// Keys that cannot be applied: the message (a string table id) and which
// of the four keys it names.
struct KeyProblem {
    int textId;
    std::array<bool, 4> failed;
};
// Checks the keys an apply at level 1 or 2 sends: every key has the
// level's length (as ASCII characters when `asciiEntry`, else as
// hexadecimal digits), and every hexadecimal key holds digits only (a
// stored profile's key of the right length could hold other characters,
// which would reach the card as another key).
std::optional<KeyProblem> CheckKeyTexts(int level, bool asciiEntry, const KeyTexts& hex,
                                        const KeyTexts& ascii);
// "<text>( Key1 Key3)": the message followed by the names of the keys
// that failed, in key order.
QString KeyProblemMessage(const KeyProblem& problem);
