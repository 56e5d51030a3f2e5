// One line read from the message channel. A line the parser accepts must
// come back unchanged through FormatChannelLine.
#include "support/MessageChannel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto message = ParseChannelLine(line);
    if (!message) {
        return 0;
    }
    if (message->identifier.size() > kChannelLineMax) {
        std::abort();
    }
    // The server cuts lines at "\n" and the parser drops one "\r"; an
    // identifier holding either cannot be sent as it was read.
    if (message->identifier.find_first_of("\r\n") != std::string::npos) {
        return 0;
    }
    std::string again = FormatChannelLine(*message);
    if (again.empty() || again.back() != '\n') {
        std::abort();
    }
    again.pop_back();
    const auto reparsed = ParseChannelLine(again);
    if (!reparsed || reparsed->kind != message->kind || reparsed->code != message->code ||
        reparsed->identifier != message->identifier) {
        std::abort();
    }
    return 0;
}
