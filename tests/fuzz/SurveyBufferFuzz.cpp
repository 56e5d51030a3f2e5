// The site survey result as the card library returns it: an entry count
// and 104-byte entries, whatever the count claims. Decoded entry by entry
// and filled into the page's table: SSIDs of at most 32 bytes, at most 64
// rows.
#include "device/SurveyDecoder.h"
#include "device/SurveyTable.h"
#include "tests/fakes/CardRecorder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One card for every run; its call record stays off, or it would grow
    // with every channel the entries ask for.
    static CardRecorder& library = []() -> CardRecorder& {
        static CardRecorder card;
        card.SetRecording(false);
        return card;
    }();
    const std::span<const std::uint8_t> result(data, size);
    const std::uint32_t readable = SurveyReadableCount(result);
    if (readable > SurveyReportedCount(result) ||
        4 + static_cast<std::size_t>(readable) * sizeof(TavlSurveyEntry) > size + 4) {
        std::abort();
    }
    for (std::uint32_t i = 0; i < readable; ++i) {
        SurveyRow row;
        if (DecodeSurveyEntry(result, i, library, row) && row.ssid.size() > 32) {
            std::abort();
        }
    }
    static CSurveyTable table;
    FillSurveyTable(result, library, table);
    if (table.Count() < 0 || table.Count() > CSurveyTable::kMaxRows) {
        std::abort();
    }
    return 0;
}
