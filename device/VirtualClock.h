// A clock for tests and benchmarks: time moves only when code sleeps or
// waits, and nothing ever blocks.
#pragma once

#include "device/Clock.h"

#include <functional>
#include <vector>

class VirtualClock final : public Clock {
public:
    std::uint32_t TickCount() override { return now_; }

    void Sleep(std::uint32_t ms) override {
        sleeps_.push_back(ms);
        Advance(ms);
    }

    // An unsignalled event is never signalled while virtual time passes,
    // unless a hook signals it: the wait then takes its whole bound.
    bool Wait(CManualResetEvent& event, std::uint32_t ms) override {
        waits_.push_back(ms);
        if (event.IsSet()) {
            return true;
        }
        Advance(ms);
        return event.IsSet();
    }

    void Advance(std::uint32_t ms) {
        now_ += ms;
        if (onAdvance_) {
            onAdvance_(now_);
        }
    }

    // Called after every advance with the new time (tests inject events).
    void OnAdvance(std::function<void(std::uint32_t)> hook) { onAdvance_ = std::move(hook); }

    const std::vector<std::uint32_t>& Sleeps() const { return sleeps_; }
    // Forgets the sleeps and waits recorded so far (time goes on).
    void ClearRecords() {
        sleeps_.clear();
        waits_.clear();
    }
    const std::vector<std::uint32_t>& Waits() const { return waits_; }

private:
    std::uint32_t now_ = 0;
    std::vector<std::uint32_t> sleeps_;
    std::vector<std::uint32_t> waits_;
    std::function<void(std::uint32_t)> onAdvance_;
};
