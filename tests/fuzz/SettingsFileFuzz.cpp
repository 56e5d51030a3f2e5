// The settings file as the private-profile reader sees it, and the domain
// and channel entries read from it. The input gives the buffer size, the
// section and entry names, then the file's text.
#include "device/PrivateProfile.h"
#include "device/RegulatoryDomain.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::size_t bufferSize = input.ConsumeIntegralInRange<std::size_t>(0, 300);
    const std::string section = input.ConsumeRandomLengthString(16);
    const std::string entry = input.ConsumeRandomLengthString(16);
    const std::string defaultValue = input.ConsumeRandomLengthString(16);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::string value = PrivateProfileValue(text, section, entry, defaultValue, bufferSize);
    if (value.size() > (bufferSize == 0 ? 0 : bufferSize - 1)) {
        std::abort();
    }
    const std::int32_t domain = DomainFromEntry(value);
    if (domain < 0 || domain > 4) {
        std::abort();
    }
    // The entries as the utility reads them from section "INI".
    DomainFromEntry(PrivateProfileValue(text, "INI", "D", "", 256));
    ChannelMaskFromEntry(PrivateProfileValue(text, "INI", "Ch", "", 256));
    ChannelMaskFromEntry(text);
    DomainFromEntry(text);
    return 0;
}
