#include "device/PassphraseKeys.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The longest passphrase the page passes: 127 characters.
std::string LongestPassphrase() {
    std::string text;
    for (int i = 0; text.size() < 127; ++i) {
        text += static_cast<char>('!' + i % 94);
    }
    return text;
}

void BM_MakePassphraseKeys(benchmark::State& state) {
    const std::string passphrase = LongestPassphrase();
    const auto keyLength = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(MakePassphraseKeys(passphrase, keyLength));
    }
}
// 5-byte keys (64 bits) and 13-byte keys (128 bits).
BENCHMARK(BM_MakePassphraseKeys)->Arg(kWepKeyBytes64)->Arg(kWepKeyBytes128);

} // namespace
