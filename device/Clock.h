// The one clock behind every sleep and timed wait of the device layer.
//
// The real clock sleeps for real, and Interrupt() ends every sleep at once
// (exit uses it to stop the polling thread without waiting out its pause).
// Tests use VirtualClock, which never waits.
#pragma once

#include "device/ManualResetEvent.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps like a tick count.
    virtual std::uint32_t TickCount() = 0;
    virtual void Sleep(std::uint32_t ms) = 0;
    // Waits at most `ms` for `event`; true when it is signalled.
    virtual bool Wait(CManualResetEvent& event, std::uint32_t ms) = 0;
};

class RealClock final : public Clock {
public:
    std::uint32_t TickCount() override;
    void Sleep(std::uint32_t ms) override;
    bool Wait(CManualResetEvent& event, std::uint32_t ms) override;
    // Ends every current and later Sleep at once.
    void Interrupt();

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool interrupted_ = false;
};
