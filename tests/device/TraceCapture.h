// Captures the TraceOut lines of a test, from any thread.
#pragma once

#include "support/Trace.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class TraceCapture {
public:
    TraceCapture() {
        {
            std::lock_guard lock(mutex_);
            lines_.clear();
        }
        trace::SetOutSink(&Take);
    }
    ~TraceCapture() { trace::SetOutSink(nullptr); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::vector<std::string> Lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }

    std::size_t Count(std::string_view line) const {
        const auto lines = Lines();
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
    }

private:
    static void Take(const char* line) {
        std::lock_guard lock(mutex_);
        lines_.emplace_back(line);
    }
    static inline std::mutex mutex_;
    static inline std::vector<std::string> lines_;
};
