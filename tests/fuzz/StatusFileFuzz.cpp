// The simulated card's status file, read back by every process that loads
// the library. An accepted status is written back and must read again to
// the same text.
#include "cardlib/CardState.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    cardsim::CardState state;
    std::string error;
    if (!cardsim::ParseStatus(text, state, error)) {
        return 0;
    }
    // Counters are written as of a moment; a fixed one keeps them stable.
    constexpr std::uint64_t kNow = 1'000'000;
    const std::string written = cardsim::FormatStatus(state, kNow);
    cardsim::CardState again;
    if (!cardsim::ParseStatus(written, again, error)) {
        std::abort();
    }
    cardsim::TxFrames(again, kNow);
    cardsim::RxFrames(again, kNow);
    return 0;
}
