#include "device/Apply.h"
#include "device/HostState.h"
#include "device/Records.h"
#include "support/Trace.h"
#include "tests/fakes/CardRecorder.h"

#include <benchmark/benchmark.h>

namespace {

// Sleeps cost nothing here: only the work of the applies is measured.
class NoWaitClock final : public Clock {
public:
    std::uint32_t TickCount() override { return 0; }
    void Sleep(std::uint32_t) override {}
    bool Wait(CManualResetEvent& event, std::uint32_t) override { return event.IsSet(); }
};

void DropTrace(const char*) {}

WirelessReg WepRecord(std::uint32_t level) {
    WirelessReg reg = DefaultWirelessReg();
    reg.encryptionLevel = level;
    for (int i = 0; i < 4; ++i) {
        SetFieldText(reg.keyText[i], kDefault128KeyText);
    }
    return reg;
}

void BM_ChangeApply(benchmark::State& state) {
    ResetHostState();
    trace::SetOutSink(&DropTrace);
    CardRecorder card;
    card.SetRecording(false);
    NoWaitClock clock;
    const WirelessReg reg = WepRecord(static_cast<std::uint32_t>(state.range(0)));
    HostInfo host{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ApplyChange(card, reg, host, clock));
    }
    trace::SetOutSink(nullptr);
}
BENCHMARK(BM_ChangeApply)->Arg(0)->Arg(2);

void BM_FullApply(benchmark::State& state) {
    ResetHostState();
    trace::SetOutSink(&DropTrace);
    CardRecorder card;
    card.SetRecording(false);
    const WirelessReg reg = WepRecord(static_cast<std::uint32_t>(state.range(0)));
    for (auto _ : state) {
        ApplyConfiguration(card, reg);
        benchmark::ClobberMemory();
    }
    trace::SetOutSink(nullptr);
}
BENCHMARK(BM_FullApply)->Arg(0)->Arg(2);

} // namespace
