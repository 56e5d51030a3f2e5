// A scenario of the utility on the simulated card, as data: the steps file
// of a folder below tests/scenarios/ read into steps (README.md there).
#pragma once

#include <string>
#include <vector>

struct ScenarioStep {
    std::string verb;              // "start", "tavlsim", "send", ...
    std::string rest;              // the line after the verb, trimmed
    std::vector<std::string> args; // `rest` split into words ("..." keeps blanks)
    int line = 0;
};

// Reads the steps of a scenario. Blank lines and lines starting with '#'
// are skipped. False with `error` naming the line of an unclosed quote;
// the runner refuses unknown verbs.
bool ParseScenarioSteps(const std::string& text, std::vector<ScenarioStep>& steps,
                        std::string& error);

// Splits `text` at blanks; a word in double quotes keeps its blanks, and
// \" and \\ stand for themselves in it. False for an unclosed quote.
bool SplitWords(const std::string& text, std::vector<std::string>& words);

// The expected journal fragments of a scenario: one a line, blank lines
// and lines starting with '#' skipped.
std::vector<std::string> ParseExpectedFragments(const std::string& text);
