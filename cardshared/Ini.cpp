#include "cardshared/Ini.h"

#include "cardshared/Text.h"

namespace cardsim {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads a quoted value starting at the opening quote; false when it is not
// closed, holds an unknown escape or is followed by anything but a comment.
bool Unquote(std::string_view text, std::string& value, std::string& why) {
    value.clear();
    std::size_t i = 1;
    for (;;) {
        if (i >= text.size()) {
            why = "unclosed quote";
            return false;
        }
        const char c = text[i++];
        if (c == '"') {
            break;
        }
        if (c != '\\') {
            value.push_back(c);
            continue;
        }
        if (i >= text.size()) {
            why = "unclosed quote";
            return false;
        }
        const char e = text[i++];
        switch (e) {
        case '"':
        case '\\':
            value.push_back(e);
            break;
        case 't':
            value.push_back('\t');
            break;
        case 'n':
            value.push_back('\n');
            break;
        case 'r':
            value.push_back('\r');
            break;
        case 'x': {
            const int high = i < text.size() ? HexDigit(text[i]) : -1;
            const int low = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
            if (high < 0 || low < 0) {
                why = "bad \\x escape";
                return false;
            }
            value.push_back(static_cast<char>(high * 16 + low));
            i += 2;
            break;
        }
        default:
            why = "unknown escape";
            return false;
        }
    }
    const std::string_view rest = Trim(text.substr(i));
    if (!rest.empty() && rest.front() != ';' && rest.front() != '#') {
        why = "text after the closing quote";
        return false;
    }
    return true;
}

bool Fail(std::string& error, int line, std::string_view why) {
    error = "line " + std::to_string(line) + ": " + std::string(why);
    return false;
}

} // namespace

const IniEntry* IniSection::Find(std::string_view key) const {
    for (const IniEntry& entry : entries) {
        if (EqualsFolded(entry.key, key)) {
            return &entry;
        }
    }
    return nullptr;
}

bool ParseIni(std::string_view text, IniDocument& document, std::string& error) {
    document.sections.clear();
    if (text.size() > kIniMaxBytes) {
        return Fail(error, 0, "file too large");
    }
    if (text.find('\0') != std::string_view::npos) {
        return Fail(error, 0, "NUL byte in the file");
    }
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        line = Trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) {
                return Fail(error, lineNumber, "bad section header");
            }
            IniSection section;
            section.name = std::string(Trim(line.substr(1, line.size() - 2)));
            section.line = lineNumber;
            if (section.name.empty()) {
                return Fail(error, lineNumber, "empty section name");
            }
            document.sections.push_back(std::move(section));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return Fail(error, lineNumber, "line without '='");
        }
        if (document.sections.empty()) {
            return Fail(error, lineNumber, "entry before the first section");
        }
        IniEntry entry;
        entry.key = std::string(Trim(line.substr(0, equals)));
        entry.line = lineNumber;
        if (entry.key.empty()) {
            return Fail(error, lineNumber, "empty key");
        }
        const std::string_view value = Trim(line.substr(equals + 1));
        if (!value.empty() && value.front() == '"') {
            std::string why;
            if (!Unquote(value, entry.value, why)) {
                return Fail(error, lineNumber, why);
            }
        } else {
            entry.value = std::string(value);
        }
        document.sections.back().entries.push_back(std::move(entry));
    }
    return true;
}

std::string QuoteIniValue(std::string_view value) {
    bool plain =
        value.empty() || (value.front() != ' ' && value.back() != ' ' && value.front() != '"' &&
                          value.front() != ';' && value.front() != '#');
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '\\') {
            plain = false;
        }
    }
    if (plain) {
        return std::string(value);
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string quoted = "\"";
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted.push_back('\\');
            quoted.push_back(c);
        } else if (u < 0x20 || u == 0x7F) {
            quoted += "\\x";
            quoted.push_back(kHex[u >> 4]);
            quoted.push_back(kHex[u & 15]);
        } else {
            quoted.push_back(c);
        }
    }
    quoted.push_back('"');
    return quoted;
}

void IniWriter::Comment(std::string_view text) {
    text_ += "; ";
    text_ += text;
    text_ += "\n";
}

void IniWriter::Section(std::string_view name) {
    if (!text_.empty()) {
        text_ += "\n";
    }
    text_ += "[";
    text_ += name;
    text_ += "]\n";
}

void IniWriter::Entry(std::string_view key, std::string_view value) {
    text_ += key;
    text_ += "=";
    text_ += QuoteIniValue(value);
    text_ += "\n";
}

} // namespace cardsim
