#include "cardlib/Journal.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace cardsim {

namespace {

// One " key=value" field of a journal line.
void AppendField(std::string& fields, std::string_view key, std::string_view value) {
    fields += ' ';
    fields += key;
    fields += '=';
    fields += value;
}

} // namespace

JournalLine::JournalLine(std::string_view call) : call_(call) {}

void JournalLine::Arg(std::string_view key, std::string_view value) {
    AppendField(args_, key, value);
}

void JournalLine::Arg(std::string_view key, std::int64_t value) {
    Arg(key, std::to_string(value));
}

void JournalLine::Result(std::string_view key, std::string_view value) {
    AppendField(results_, key, value);
}

void JournalLine::Result(std::string_view key, std::int64_t value) {
    Result(key, std::to_string(value));
}

void JournalLine::RawArgs(std::string_view fields) {
    args_ += fields;
}

void JournalLine::RawResults(std::string_view fields) {
    results_ += fields;
}

std::string JournalLine::Text(std::uint64_t sequence) const {
    return std::to_string(sequence) + " " + call_ + args_ + " ->" + results_ + "\n";
}

Journal::~Journal() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

bool Journal::Enabled() {
    const char* wanted = std::getenv("TAVL_SIM_JOURNAL");
    if (wanted == nullptr || *wanted == '\0') {
        return false;
    }
    if (fd_ >= 0 && path_ == wanted) {
        return true;
    }
    if (fd_ >= 0) {
        close(fd_);
    }
    path_ = wanted;
    fd_ = open(wanted, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    return fd_ >= 0;
}

void Journal::Append(const JournalLine& line) {
    if (fd_ < 0) {
        return;
    }
    const std::string text = line.Text(++sequence_);
    // O_APPEND makes the one write land whole at the end, even with another
    // process writing the same journal.
    [[maybe_unused]] const ssize_t written = write(fd_, text.data(), text.size());
}

} // namespace cardsim
