#include "ScenarioScript.h"

#include <sstream>

namespace {

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The lines of `text` that are neither blank nor comments, trimmed, with
// their line numbers.
std::vector<std::pair<int, std::string>> ContentLines(const std::string& text) {
    std::vector<std::pair<int, std::string>> lines;
    std::istringstream in(text);
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        const std::string line = Trim(raw);
        if (!line.empty() && line.front() != '#') {
            lines.emplace_back(number, line);
        }
    }
    return lines;
}

} // namespace

bool SplitWords(const std::string& text, std::vector<std::string>& words) {
    words.clear();
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) {
                word += text[++i];
            } else if (c == '"') {
                quoted = false;
            } else {
                word += c;
            }
        } else if (c == ' ' || c == '\t') {
            if (inWord) {
                words.push_back(word);
                word.clear();
            }
            inWord = false;
        } else {
            quoted = c == '"';
            word += quoted ? std::string() : std::string(1, c);
            inWord = true;
        }
    }
    if (inWord && !quoted) {
        words.push_back(word);
    }
    return !quoted;
}

bool ParseScenarioSteps(const std::string& text, std::vector<ScenarioStep>& steps,
                        std::string& error) {
    steps.clear();
    for (const auto& [number, line] : ContentLines(text)) {
        ScenarioStep step;
        step.line = number;
        const auto blank = line.find_first_of(" \t");
        step.verb = line.substr(0, blank);
        step.rest = blank == std::string::npos ? std::string() : Trim(line.substr(blank));
        if (!SplitWords(step.rest, step.args)) {
            error = "steps line " + std::to_string(number) + ": unclosed quote";
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
}

std::vector<std::string> ParseExpectedFragments(const std::string& text) {
    std::vector<std::string> fragments;
    for (auto& [number, line] : ContentLines(text)) {
        fragments.push_back(std::move(line));
    }
    return fragments;
}
