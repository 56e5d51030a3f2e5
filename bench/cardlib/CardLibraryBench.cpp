// Median cost of the simulated card's busiest calls: the full read the
// polling thread makes before every full apply, and the survey result of a
// crowded air read by the Site Survey page.
#include "cardlib/World.h"
#include "cardshared/Files.h"
#include "device/tavl.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// A world folder of its own, with `networks` open access points.
class BenchWorld {
public:
    explicit BenchWorld(int networks) {
        std::string pattern =
            std::filesystem::temp_directory_path().string() + "/cardlib-bench-XXXXXX";
        folder_ = mkdtemp(pattern.data());
        setenv("TAVL_SIM_HOME", folder_.c_str(), 1);
        unsetenv("TAVL_SIM_JOURNAL");
        cardsim::World world;
        world.scanMs = 0;
        for (int i = 0; i < networks; ++i) {
            cardsim::Network network;
            network.ssid = "Net " + std::to_string(i);
            network.bssid = {0x00,
                             0x0C,
                             0x2B,
                             0x10,
                             static_cast<std::uint8_t>(i >> 8),
                             static_cast<std::uint8_t>(i)};
            network.channel = 1 + static_cast<std::uint32_t>(i % 11);
            network.signal = -40 - i % 45;
            world.networks.push_back(network);
        }
        cardsim::WriteFileAtomically(folder_ + "/world.ini", cardsim::FormatWorld(world), 0600,
                                     false);
    }
    ~BenchWorld() { std::filesystem::remove_all(folder_); }

private:
    std::string folder_;
};

void FullReadWhileAssociated(benchmark::State& state) {
    BenchWorld world(3);
    SsidText ssid{};
    ssid.length = 5;
    std::copy_n("Net 0", 5, ssid.ssid);
    TAVL_SetSSID(&ssid);
    std::uint32_t status = 1;
    std::uint32_t written = 0;
    TAVL_QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &status, 4, &written);
    if (status != 0) {
        state.SkipWithError("the card did not associate");
        return;
    }
    HostInfo host{};
    for (auto _ : state) {
        std::uint32_t mask = TAVL_MASK_FULL_READ;
        benchmark::DoNotOptimize(TAVL_GetWLANConfig(&mask, &host));
        benchmark::DoNotOptimize(mask);
    }
}
BENCHMARK(FullReadWhileAssociated)->Repetitions(5)->ReportAggregatesOnly(true);

void SurveyOf71Networks(benchmark::State& state) {
    BenchWorld world(80);
    TAVL_SiteSurveyTrigger();
    std::vector<std::uint8_t> buffer(TAVL_SURVEY_BUFFER_SIZE);
    for (auto _ : state) {
        std::uint32_t size = TAVL_SURVEY_BUFFER_SIZE;
        benchmark::DoNotOptimize(TAVL_SiteSurveyGet(buffer.data(), &size));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(SurveyOf71Networks)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
