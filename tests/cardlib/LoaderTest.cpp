#include "device/CardLibraryLoader.h"
#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

namespace {

// The utility binds the built library by name, the way it does at start.
TEST(SimulatedLibrary, LoaderBindsEveryCall) {
    SimHome home;
    home.WriteWorld(cardsim::DefaultWorld());
    std::string error;
    std::unique_ptr<CardLibrary> library =
        LoadCardLibrary(std::string(SKERRIN_BIN_DIR "/") + kCardLibraryFileName, error);
    ASSERT_EQ("", error);
    EXPECT_EQ(1, library->Init("Pelkor", 0));
    std::uint8_t info[TAVL_DETECT_INFO_SIZE];
    EXPECT_EQ(1, library->Detect(info));
    EXPECT_EQ(2437000u, library->ChannelToFrequency(6));
    EXPECT_EQ(1, library->Terminate());
}

} // namespace
