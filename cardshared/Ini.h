// A small INI reader and writer for the simulated card's own files: the
// world and the card status. Kept apart from the utility's settings reader
// because these files are edited by hand and by tavlsim, and a typing error
// must be reported, not read as a default.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cardsim {

struct IniEntry {
    std::string key;
    std::string value;
    int line = 0;
};

struct IniSection {
    std::string name;
    int line = 0;
    std::vector<IniEntry> entries;

    // The first entry of that key (ASCII case ignored), or null.
    const IniEntry* Find(std::string_view key) const;
};

struct IniDocument {
    std::vector<IniSection> sections; // in file order; a name may repeat
};

// Largest file the reader accepts.
inline constexpr std::size_t kIniMaxBytes = 1u << 20;

// Reads `text`: "[name]" starts a section, "key = value" adds an entry to
// it, lines starting with ';' or '#' and blank lines are skipped. Values are
// trimmed; a value in double quotes keeps its spaces and may hold the
// escapes \" \\ \t \n \r and \xHH. Anything else (an entry before the first
// section, a line without '=', an unclosed quote, a NUL byte, more than
// kIniMaxBytes) fails with `error` naming the line.
bool ParseIni(std::string_view text, IniDocument& document, std::string& error);

// `value` as it must be written to read back unchanged: bare when it is
// plain text, otherwise quoted with escapes.
std::string QuoteIniValue(std::string_view value);

// Builds the text of an INI file.
class IniWriter {
public:
    void Comment(std::string_view text);
    void Section(std::string_view name);
    void Entry(std::string_view key, std::string_view value);
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

} // namespace cardsim
