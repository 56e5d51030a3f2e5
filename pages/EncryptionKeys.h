// Key texts of the Encryption page: hexadecimal digits and ASCII
// characters, one Latin-1 character per key byte.
#pragma once

#include "device/Records.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string_view>

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
