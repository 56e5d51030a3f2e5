// The frame of every exported call: it holds the simulator's mutex,
// brings the world up to date, collects the journal line, and at the end
// writes the line and the card status.
#pragma once

#include "cardlib/Journal.h"
#include "cardlib/Simulator.h"
#include "cardshared/Text.h"

#include <cstring>
#include <mutex>
#include <string_view>

namespace cardsim {

class ExportCall {
public:
    explicit ExportCall(std::string_view name)
        : sim_(Simulator::Instance()), lock_(sim_.Mutex()), line_(name) {
        sim_.Refresh();
        journaling_ = sim_.GetJournal().Enabled();
    }
    ~ExportCall() {
        sim_.Finish();
        if (journaling_) {
            sim_.GetJournal().Append(line_);
        }
    }
    ExportCall(const ExportCall&) = delete;
    ExportCall& operator=(const ExportCall&) = delete;

    Simulator& Sim() { return sim_; }
    // True when the journal takes lines: build argument texts only then.
    bool Journaling() const { return journaling_; }
    JournalLine& Line() { return line_; }

    // Notes the result as the line's last field and returns it.
    template <typename T> T Return(T value) {
        if (journaling_) {
            line_.Result("ret", static_cast<std::int64_t>(value));
        }
        return value;
    }

    // A caller's text, quoted; at most 512 bytes of it are read.
    static std::string Text(const char* text) {
        return text ? JournalText({text, strnlen(text, 512)}) : "null";
    }
    static std::string Pointer(const void* p) { return p ? "ptr" : "null"; }

private:
    Simulator& sim_;
    std::lock_guard<std::mutex> lock_;
    JournalLine line_;
    bool journaling_ = false;
};

} // namespace cardsim
