// The simulated card's world file, as edited by hand. A world the parser
// accepts is written back and must read again to the same text.
#include "cardlib/World.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    cardsim::World world;
    std::string error;
    if (!cardsim::ParseWorld(text, world, error)) {
        return 0;
    }
    for (const cardsim::Network& network : world.networks) {
        if (!cardsim::CheckNetwork(network, error)) {
            std::abort();
        }
    }
    const std::string written = cardsim::FormatWorld(world);
    cardsim::World again;
    if (!cardsim::ParseWorld(written, again, error) || cardsim::FormatWorld(again) != written) {
        std::abort();
    }
    return 0;
}
