// Waiting on the user-interface thread while its messages keep flowing.
#pragma once

#include <cstdint>

// Waits `ms` milliseconds, measured from the call, dispatching the
// thread's events meanwhile.
void WaitWithMessages(std::uint32_t ms);
