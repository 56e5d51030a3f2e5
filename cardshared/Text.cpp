#include "cardshared/Text.h"

#include <charconv>
#include <cstring>

namespace cardsim {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = FoldAscii(c);
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

bool ParseUnsigned(std::string_view text, std::uint64_t max, std::uint64_t& value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return false;
    }
    std::uint64_t parsed = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    if (error != std::errc{} || end != text.data() + text.size() || parsed > max) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseSigned(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& value) {
    if (text.empty() || text.front() == '+') {
        return false;
    }
    std::int64_t parsed = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed, 10);
    if (error != std::errc{} || end != text.data() + text.size() || parsed < min || parsed > max) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseBool(std::string_view text, bool& value) {
    for (std::string_view yes : {"1", "on", "yes", "true"}) {
        if (EqualsFolded(text, yes)) {
            value = true;
            return true;
        }
    }
    for (std::string_view no : {"0", "off", "no", "false"}) {
        if (EqualsFolded(text, no)) {
            value = false;
            return true;
        }
    }
    return false;
}

bool ParseMac(std::string_view text, Mac& mac) {
    if (text.size() != 17) {
        return false;
    }
    const char separator = text[2];
    if (separator != ':' && separator != '-') {
        return false;
    }
    Mac parsed{};
    for (std::size_t i = 0; i < 6; ++i) {
        const int high = HexValue(text[i * 3]);
        const int low = HexValue(text[i * 3 + 1]);
        if (high < 0 || low < 0 || (i < 5 && text[i * 3 + 2] != separator)) {
            return false;
        }
        parsed[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    mac = parsed;
    return true;
}

std::string FormatMac(const std::uint8_t* mac) {
    std::string text;
    for (std::size_t i = 0; i < 6; ++i) {
        if (i != 0) {
            text.push_back(':');
        }
        text.push_back(kHexDigits[mac[i] >> 4]);
        text.push_back(kHexDigits[mac[i] & 15]);
    }
    return text;
}

bool ParseHexBytes(std::string_view text, std::vector<std::uint8_t>& bytes) {
    if (text.size() % 2 != 0) {
        return false;
    }
    std::vector<std::uint8_t> parsed;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        parsed.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    bytes = std::move(parsed);
    return true;
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        text.push_back(kHexDigits[bytes[i] >> 4]);
        text.push_back(kHexDigits[bytes[i] & 15]);
    }
    return text;
}

std::string HexWord(std::uint32_t value) {
    char text[11] = {'0', 'x'};
    for (int i = 0; i < 8; ++i) {
        text[2 + i] = kHexDigits[(value >> (28 - 4 * i)) & 15];
    }
    return std::string(text, 10);
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        c = FoldAscii(c);
    }
    return folded;
}

bool EqualsFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

namespace {

std::string Quote(std::string_view text, unsigned char lowestPlain) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted.push_back('\\');
            quoted.push_back(c);
        } else if (u < lowestPlain || u >= 0x7F) {
            quoted += "\\x";
            quoted.push_back(kHexDigits[u >> 4]);
            quoted.push_back(kHexDigits[u & 15]);
        } else {
            quoted.push_back(c);
        }
    }
    quoted.push_back('"');
    return quoted;
}

} // namespace

std::string QuoteText(std::string_view text) {
    return Quote(text, 0x20);
}

std::string JournalText(std::string_view text) {
    return Quote(text, 0x21);
}

std::string_view BoundedText(const char* field, std::size_t size) {
    const void* end = std::memchr(field, '\0', size);
    return {field, end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : size};
}

} // namespace cardsim
