#include "device/Clock.h"

#include <chrono>

std::uint32_t RealClock::TickCount() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void RealClock::Sleep(std::uint32_t ms) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return interrupted_; });
}

bool RealClock::Wait(CManualResetEvent& event, std::uint32_t ms) {
    return event.WaitFor(ms);
}

void RealClock::Interrupt() {
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    wake_.notify_all();
}
