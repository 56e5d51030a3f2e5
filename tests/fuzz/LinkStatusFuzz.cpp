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

namespace {

// The recorder, its call record off, failing the chosen bits of the next
// reads itself: injecting failures into the card rewrites its world and
// status files, which made every input slow. A failed field is left as it
// was, as the card leaves it.
class FuzzCard : public CardRecorder {
public:
    FuzzCard() { SetRecording(false); }
    // `bits` fail in the next `reads` reads that name one of them.
    void Fail(std::uint32_t bits, int reads) {
        bits_ = bits;
        reads_ = reads;
    }

    std::int32_t GetWLANConfig(std::uint32_t* mask, HostInfo* host) override {
        const std::uint32_t failing = reads_ != 0 ? bits_ & *mask : 0;
        reads_ -= failing != 0 ? 1 : 0;
        *mask &= ~failing;
        const std::int32_t result = CardRecorder::GetWLANConfig(mask, host);
        *mask |= failing;
        return result;
    }

private:
    std::uint32_t bits_ = 0;
    int reads_ = 0;
};

} // namespace

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

    static FuzzCard library;
    library.SetCardHost(card);
    library.SetMediaStatus(media);
    library.Fail(failBits, failCalls);

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
