// The page side of the access handshake, as one scoped object.
//
// Construction resets `background` (the polling thread holds at its next
// wait) and waits at most 2000 ms for `forground` (the thread is between
// cycles); the outcome of that wait is not checked. Destruction sets
// `background` again.
#pragma once

#include "device/Clock.h"
#include "device/SheetState.h"

inline constexpr std::uint32_t kHandshakeWaitMs = 2000;

class CAccessHandshake {
public:
    CAccessHandshake(SheetState& sheet, Clock& clock) : sheet_(sheet) {
        sheet_.background.Reset();
        clock.Wait(sheet_.forground, kHandshakeWaitMs);
    }
    ~CAccessHandshake() { sheet_.background.Set(); }
    CAccessHandshake(const CAccessHandshake&) = delete;
    CAccessHandshake& operator=(const CAccessHandshake&) = delete;

private:
    SheetState& sheet_;
};
