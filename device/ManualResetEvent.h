// CManualResetEvent: an event that stays signalled until reset.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class CManualResetEvent {
public:
    explicit CManualResetEvent(bool signalled) : signalled_(signalled) {}
    CManualResetEvent(const CManualResetEvent&) = delete;
    CManualResetEvent& operator=(const CManualResetEvent&) = delete;

    void Set() {
        {
            std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        changed_.notify_all();
    }

    void Reset() {
        std::lock_guard lock(mutex_);
        signalled_ = false;
    }

    bool IsSet() const {
        std::lock_guard lock(mutex_);
        return signalled_;
    }

    // Waits at most `ms` milliseconds; true when the event is signalled.
    bool WaitFor(std::uint32_t ms) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(ms),
                                 [this] { return signalled_; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_;
};
