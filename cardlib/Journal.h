// The journal: with TAVL_SIM_JOURNAL naming a file, one line is appended
// to it for every call (format in cardlib/README.md).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cardsim {

// One journal line being built: "<seq> <call> <arguments> -> <results>".
class JournalLine {
public:
    explicit JournalLine(std::string_view call);
    void Arg(std::string_view key, std::string_view value);
    void Arg(std::string_view key, std::int64_t value);
    void Result(std::string_view key, std::string_view value);
    void Result(std::string_view key, std::int64_t value);
    // Fields of a record appended to the arguments or results as they are.
    void RawArgs(std::string_view fields);
    void RawResults(std::string_view fields);
    std::string Text(std::uint64_t sequence) const;

private:
    std::string call_;
    std::string args_;
    std::string results_;
};

class Journal {
public:
    ~Journal();
    // True while TAVL_SIM_JOURNAL names a file that could be opened. A
    // change of the variable opens the new file.
    bool Enabled();
    // Appends the line with the next sequence number, in one write.
    void Append(const JournalLine& line);

private:
    std::string path_;
    int fd_ = -1;
    std::uint64_t sequence_ = 0;
};

} // namespace cardsim
