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
            std::lock_guard lock(Mutex());
            Store().clear();
        }
        trace::SetOutSink(&Take);
    }
    ~TraceCapture() { trace::SetOutSink(nullptr); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::vector<std::string> Lines() const {
        std::lock_guard lock(Mutex());
        return Store();
    }

    std::size_t Count(std::string_view line) const {
        std::lock_guard lock(Mutex());
        return static_cast<std::size_t>(std::count(Store().begin(), Store().end(), line));
    }

private:
    static void Take(const char* line) {
        std::lock_guard lock(Mutex());
        Store().emplace_back(line);
    }
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    static std::vector<std::string>& Store() {
        static std::vector<std::string> lines;
        return lines;
    }
};
