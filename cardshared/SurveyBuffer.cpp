#include "cardshared/SurveyBuffer.h"

#include <cstring>

namespace cardsim {

bool WriteSurvey(const std::vector<TavlSurveyEntry>& entries, std::uint8_t* buffer,
                 std::uint32_t size) {
    if (size < TAVL_SURVEY_HEADER_SIZE + TAVL_SURVEY_ENTRY_SIZE) {
        return false;
    }
    const std::uint32_t count = static_cast<std::uint32_t>(entries.size());
    std::memcpy(buffer, &count, sizeof count);
    const std::size_t fit = (size - TAVL_SURVEY_HEADER_SIZE) / TAVL_SURVEY_ENTRY_SIZE;
    const std::size_t written = entries.size() < fit ? entries.size() : fit;
    if (written > 0) {
        std::memcpy(buffer + TAVL_SURVEY_HEADER_SIZE, entries.data(),
                    written * TAVL_SURVEY_ENTRY_SIZE);
    }
    return true;
}

} // namespace cardsim
