// The page side of the access handshake, as scoped objects.
//
// CAccessHandshake resets `background` (the polling thread holds at its
// next wait) and waits at most 2000 ms for `forground` (the thread is
// between cycles); the outcome of that wait is not checked. Destruction
// sets `background` again.
//
// Only the outermost holder on the user-interface thread takes and releases
// the hold. A holder that begins inside another's nested wait (a request
// drained while a page's message box is up, or during a join's waits) runs
// under the hold already taken: it neither waits nor lets the thread go
// before the outer holder is done.
#pragma once

#include "device/Clock.h"
#include "device/SheetState.h"

inline constexpr std::uint32_t kHandshakeWaitMs = 2000;

// Holds the polling thread at its next wait, without waiting for it.
class CPollingHold {
public:
    explicit CPollingHold(SheetState& sheet) : sheet_(sheet), outer_(sheet.holders++ == 0) {
        if (outer_) {
            sheet_.background.Reset();
        }
    }
    ~CPollingHold() {
        --sheet_.holders;
        if (outer_) {
            sheet_.background.Set();
        }
    }
    CPollingHold(const CPollingHold&) = delete;
    CPollingHold& operator=(const CPollingHold&) = delete;

    // Whether this holder took the hold (no other holder was active).
    bool Outer() const { return outer_; }

private:
    SheetState& sheet_;
    bool outer_;
};

class CAccessHandshake {
public:
    CAccessHandshake(SheetState& sheet, Clock& clock) : hold_(sheet) {
        if (hold_.Outer()) {
            clock.Wait(sheet.forground, kHandshakeWaitMs);
        }
    }

private:
    CPollingHold hold_;
};
