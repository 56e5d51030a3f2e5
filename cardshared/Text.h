// Text helpers of the simulated card: numbers, MAC addresses, hexadecimal
// keys, ASCII case folding and the quoting of texts in journal lines.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cardsim {

using Mac = std::array<std::uint8_t, 6>;

// Decimal, or hexadecimal with "0x"; the whole text, at most `max`.
bool ParseUnsigned(std::string_view text, std::uint64_t max, std::uint64_t& value);
// Decimal with an optional '-', within [min, max].
bool ParseSigned(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& value);
// "1", "on", "yes", "true" and "0", "off", "no", "false" (case ignored).
bool ParseBool(std::string_view text, bool& value);

// Six hexadecimal pairs separated by ':' or '-'.
bool ParseMac(std::string_view text, Mac& mac);
// "00:0C:2B:20:93:01".
std::string FormatMac(const std::uint8_t* mac);

// An even number of hexadecimal digits.
bool ParseHexBytes(std::string_view text, std::vector<std::uint8_t>& bytes);
// Upper-case hexadecimal digits, two per byte.
std::string HexBytes(const std::uint8_t* bytes, std::size_t count);
// "0x0000F000".
std::string HexWord(std::uint32_t value);

char FoldAscii(char c);
std::string FoldCase(std::string_view text);
bool EqualsFolded(std::string_view a, std::string_view b);

// `text` in double quotes, with \" \\ and \xHH for bytes outside printable
// ASCII: never breaks a line.
std::string QuoteText(std::string_view text);
// The same with spaces written as \x20 too: one token of a journal line.
std::string JournalText(std::string_view text);

// The text of a fixed-size field up to its first NUL, never past the field.
std::string_view BoundedText(const char* field, std::size_t size);

} // namespace cardsim
