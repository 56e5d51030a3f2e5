#include "SheetHarness.h"
#include "device/SurveyDecoder.h"
#include "support/Trace.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void DropTrace(const char*) {}

// 71 networks: as many whole entries as the page's 7444-byte buffer holds.
std::vector<TavlSurveyEntry> SeventyOneNetworks() {
    std::vector<TavlSurveyEntry> entries;
    for (int i = 0; i < 71; ++i) {
        TavlSurveyEntry entry{};
        entry.length = TAVL_SURVEY_ENTRY_SIZE;
        const std::uint8_t bssid[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x00, static_cast<std::uint8_t>(i)};
        std::memcpy(entry.bssid, bssid, sizeof bssid);
        entry.ssidLength = 12;
        std::memcpy(entry.ssid, "network-0000", 12);
        entry.ssid[10] = static_cast<std::uint8_t>('0' + i / 10);
        entry.ssid[11] = static_cast<std::uint8_t>('0' + i % 10);
        entry.privacy = i % 2;
        entry.rssi = -40 - i;
        entry.dsConfig = 2412000 + 5000 * static_cast<std::uint32_t>(i % 13);
        entry.infrastructureMode = i % 3 == 0 ? 0 : 1;
        entries.push_back(entry);
    }
    return entries;
}

// The sheet opened on Link Info with the card present and the sheet in the
// foreground; the simulated card records nothing.
void OpenOnLinkInfo(SheetHarness& h) {
    CLinkInfoPage::ResetProcessState();
    gDevicePresent = 1;
    h.card.SetRecording(false);
    h.sheet->state.forground.Set();
    h.Open();
}

// One refresh of the Link Info page, connected to an access point, phases
// in turn. The trace lines go to a sink that drops them (`range(0)` 0) or
// take the shipped path (1): nowhere, or to the system log when the run has
// SKERRIN_TRACE_SYSLOG=1.
void BM_UpdateLinkInfo(benchmark::State& state) {
    const bool systemLog = state.range(0) != 0;
    if (!systemLog) {
        trace::SetOutSink(&DropTrace);
    }
    SheetHarness h;
    OpenOnLinkInfo(h);
    CLinkInfoPage& page = h.sheet->m_LinkInfoPage;
    int phase = 0;
    for (auto _ : state) {
        page.updateLinkInfo(phase);
        phase = (phase + 1) % 3;
    }
    trace::SetOutSink(nullptr);
}
BENCHMARK(BM_UpdateLinkInfo)->Arg(0)->Arg(1)->Repetitions(9)->ReportAggregatesOnly(true);

// What a refresh really costs on screen: the sheet shown and exposed on
// Link Info, the frame counters changing every tick, and the paint the
// refresh schedules carried out before the next one. Trace dropped.
void BM_PaintedLinkInfoRefresh(benchmark::State& state) {
    trace::SetOutSink(&DropTrace);
    SheetHarness h;
    OpenOnLinkInfo(h);
    h.Drain();
    CLinkInfoPage& page = h.sheet->m_LinkInfoPage;
    std::uint32_t frames = 0;
    for (auto _ : state) {
        ++frames;
        h.card.SetCounters(frames, 3 * frames);
        page.OnTimer();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }
    state.counters["painted"] = h.sheet->isVisible() ? 1 : 0;
    trace::SetOutSink(nullptr);
}
BENCHMARK(BM_PaintedLinkInfoRefresh)->Repetitions(9)->ReportAggregatesOnly(true);

// Decoding a 71-network result into the survey table.
void BM_SurveyDecode71(benchmark::State& state) {
    const std::vector<TavlSurveyEntry> entries = SeventyOneNetworks();
    std::vector<std::uint8_t> result(TAVL_SURVEY_BUFFER_SIZE, 0);
    const std::uint32_t count = 71;
    std::memcpy(result.data(), &count, sizeof count);
    std::memcpy(result.data() + TAVL_SURVEY_HEADER_SIZE, entries.data(),
                entries.size() * TAVL_SURVEY_ENTRY_SIZE);
    CardRecorder card;
    card.SetRecording(false);
    CSurveyTable table;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FillSurveyTable(result, card, table));
    }
}
BENCHMARK(BM_SurveyDecode71)->Repetitions(9)->ReportAggregatesOnly(true);

// One fill of the Site Survey list (the timer's work) with 71 networks in
// the air: the library call, the decoding and the 64 list rows.
void BM_SurveyFill71(benchmark::State& state) {
    SheetHarness h;
    h.card.SetRecording(false);
    h.card.EditWorld([](cardsim::World& w) {
        w.networks.clear();
        for (int i = 0; i < 71; ++i) {
            char ssid[16];
            std::snprintf(ssid, sizeof ssid, "network-%04d", i);
            cardsim::Network& net = w.networks.emplace_back();
            net.ssid = ssid;
            net.bssid = {0, 0x1A, 0x2B, 0x3C, 0, static_cast<std::uint8_t>(i)};
            net.channel = static_cast<std::uint32_t>(1 + i % 11);
            net.signal = -40 - i % 50;
            net.mode = i % 3 == 0 ? cardsim::NetMode::AdHoc : cardsim::NetMode::Infrastructure;
        }
    });
    h.sheet->state.forground.Set();
    h.Open();
    h.SelectTab(2);
    CSiteSurveyPage& page = h.sheet->m_SiteSurveyPage;
    page.OnSearch();
    for (auto _ : state) {
        page.OnTimer();
    }
}
BENCHMARK(BM_SurveyFill71)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
