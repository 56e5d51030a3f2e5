// The link status record as the card fills it: any HostInfo bytes, read
// in any phase with any fields failing, then turned into the Link Info
// page's texts and bars.
#include "device/LinkStatus.h"
#include "device/Rssi.h"
#include "tests/fakes/CardRecorder.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int phase = input.ConsumeIntegralInRange<int>(-1, 3);
    const std::uint32_t media = input.ConsumeIntegral<std::uint32_t>();
    const std::uint32_t failBits = input.ConsumeIntegral<std::uint32_t>();
    const int failCalls = input.ConsumeIntegralInRange<int>(0, 2);
    std::vector<std::uint8_t> bytes = input.ConsumeBytes<std::uint8_t>(sizeof(HostInfo));
    bytes.resize(sizeof(HostInfo));
    HostInfo card{};
    std::memcpy(&card, bytes.data(), sizeof card);
    // The key slots are handles the card never reads back.
    std::memset(card.wepKey, 0, sizeof card.wepKey);
    std::memset(card.wepKeyHigh, 0, sizeof card.wepKeyHigh);

    // One card for every run, its call record off.
    static CardRecorder& library = []() -> CardRecorder& {
        static CardRecorder card;
        card.SetRecording(false);
        return card;
    }();
    library.SetCardHost(card);
    library.SetMediaStatus(media);
    library.FailGetBits(failBits, failCalls);

    HostInfo record{};
    QueryLinkStatus(library, record, phase);
    // The same texts the page makes from the record.
    if (LinkSsidText(record).size() > 32) {
        std::abort();
    }
    if (BssidText(record.bssid).size() != 17) {
        std::abort();
    }
    LinkRateMbps(record);
    static constexpr LevelWords kWords = {"No Signal", "Poor", "Good", "Very Good", "Excellent"};
    const LinkBars bars =
        LinkBarsForPercent(RssiToPercent(static_cast<std::int16_t>(record.rssi)), kWords);
    if (bars.signalBar < 0 || bars.signalBar > 15 || bars.qualityBar < 0 || bars.qualityBar > 15) {
        std::abort();
    }
    return 0;
}
