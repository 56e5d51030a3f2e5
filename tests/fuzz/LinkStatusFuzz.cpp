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
#include <unistd.h>
#include <vector>

namespace {

// The recorder, its call record off. Injecting failures rewrites the card's
// world file, which made every input slow; it is written only when the
// failures the card holds would answer a read otherwise than failures
// injected afresh for this input would.
class FuzzCard : public CardRecorder {
public:
    // The bits that fail, and how many more reads naming one of them fail
    // (-1: every one).
    struct Failures {
        std::uint32_t bits = 0;
        int left = 0;
    };

    FuzzCard() { SetRecording(false); }
    void Want(Failures failures) { wanted_ = failures; }

    std::int32_t GetWLANConfig(std::uint32_t* mask, HostInfo* host) override {
        const Failures afresh = wanted_;
        if (Read(held_, *mask) != Read(wanted_, *mask)) {
            FailGetBits(afresh.bits, afresh.left);
            held_ = wanted_;
        }
        return CardRecorder::GetWLANConfig(mask, host);
    }

private:
    // The bits a read of `mask` reports failed; the read is counted.
    static std::uint32_t Read(Failures& failures, std::uint32_t mask) {
        const std::uint32_t failed = failures.left != 0 ? failures.bits & mask : 0;
        failures.left -= failed != 0 && failures.left > 0 ? 1 : 0;
        return failed;
    }

    Failures wanted_; // as a card injected afresh for this input holds them
    Failures held_;   // as the card holds them
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

    // A failing read makes the card replace its status file; on a disk
    // each replacement waits for the disk, so the card's folder is made in
    // memory where the system has such a folder and no other was chosen.
    static FuzzCard& library = []() -> FuzzCard& {
        if (std::getenv("TMPDIR") == nullptr && access("/dev/shm", W_OK) == 0) {
            setenv("TMPDIR", "/dev/shm", 0);
        }
        static FuzzCard card;
        return card;
    }();
    library.SetCardHost(card);
    library.SetMediaStatus(media);
    // The status is read at most twice, so two failing reads are every
    // read, a count that never runs out and needs no new injection.
    library.Want({failBits, failCalls == 2 ? -1 : failCalls});

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
