// A stored profile file. A file the decoder accepts must be exactly what
// the encoder writes for the name and record it decoded.
#include "cardshared/ProfileFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string name;
    WirelessReg reg{};
    if (!cardsim::DecodeProfile(bytes, name, reg)) {
        return 0;
    }
    if (!cardsim::ValidProfileName(name) || cardsim::EncodeProfile(name, reg) != bytes) {
        std::abort();
    }
    const std::string file = cardsim::ProfileFileName(name);
    if (file.find('/') != std::string::npos || file.empty() || file.front() == '.') {
        std::abort();
    }
    return 0;
}
