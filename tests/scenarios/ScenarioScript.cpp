#include "ScenarioScript.h"

#include <set>
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

// Verbs and whether they need an argument.
const std::set<std::string> kVerbsWithArgument = {
    "env",          "profile",    "profile-file", "tavlsim",           "send",
    "wait-journal", "wait-trace", "expect-exit",  "expect-no-journal", "idle-connections"};
const std::set<std::string> kVerbsWithout = {"start", "foreign-runtime-folder"};

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
                inWord = false;
            }
        } else if (c == '"') {
            quoted = true;
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) {
        return false;
    }
    if (inWord) {
        words.push_back(word);
    }
    return true;
}

bool ParseScenarioSteps(const std::string& text, std::vector<ScenarioStep>& steps,
                        std::string& error) {
    steps.clear();
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        const std::string line = Trim(raw);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        ScenarioStep step;
        step.line = number;
        const auto blank = line.find_first_of(" \t");
        step.verb = line.substr(0, blank);
        step.rest = blank == std::string::npos ? std::string() : Trim(line.substr(blank));
        const std::string where = "steps line " + std::to_string(number) + ": ";
        if (kVerbsWithArgument.count(step.verb) != 0) {
            if (step.rest.empty()) {
                error = where + step.verb + " needs an argument";
                return false;
            }
        } else if (kVerbsWithout.count(step.verb) != 0) {
            if (!step.rest.empty()) {
                error = where + step.verb + " takes no argument";
                return false;
            }
        } else {
            error = where + "unknown step \"" + step.verb + "\"";
            return false;
        }
        if (!SplitWords(step.rest, step.args)) {
            error = where + "unclosed quote";
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
}

std::vector<std::string> ParseExpectedFragments(const std::string& text) {
    std::vector<std::string> fragments;
    std::istringstream in(text);
    std::string raw;
    while (std::getline(in, raw)) {
        const std::string line = Trim(raw);
        if (!line.empty() && line.front() != '#') {
            fragments.push_back(line);
        }
    }
    return fragments;
}
