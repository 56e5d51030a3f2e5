// The sheet's members shared with the polling thread: the live record
// `reg` and the two events of the access handshake.
#pragma once

#include "device/ManualResetEvent.h"
#include "device/tavl.h"

#include <mutex>
#include <utility>

// `reg` is written by the user-interface thread and read by the polling
// thread. Every whole-record copy happens under one small mutex, so the
// card never receives a half-written record.
class SharedReg {
public:
    SharedReg() : reg_{} {}

    WirelessReg Get() const {
        std::lock_guard lock(mutex_);
        return reg_;
    }

    void Set(const WirelessReg& reg) {
        std::lock_guard lock(mutex_);
        reg_ = reg;
    }

    // Runs `change` on the record under the lock; returns what it returns.
    template <class Change> auto Update(Change&& change) {
        std::lock_guard lock(mutex_);
        return std::forward<Change>(change)(reg_);
    }

private:
    mutable std::mutex mutex_;
    WirelessReg reg_;
};

struct SheetState {
    SharedReg reg;
    // `background` starts signalled: the polling thread may run.
    CManualResetEvent background{true};
    // `forground` starts non-signalled: set by the thread between cycles.
    CManualResetEvent forground{false};
    // Handshake holders active on the user-interface thread (nested ones
    // included); only that thread touches it.
    int holders = 0;
};
