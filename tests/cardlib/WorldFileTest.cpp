#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(WorldFile, FirstUseWritesTheDefaultWorld) {
    SimHome home;
    std::filesystem::remove(home.Path("world.ini"));
    std::uint8_t info[TAVL_DETECT_INFO_SIZE];
    EXPECT_EQ(1, TAVL_Detect(info));
    EXPECT_EQ(cardsim::FormatWorld(cardsim::DefaultWorld()), home.ReadFile("world.ini"));
}

TEST(WorldFile, CorruptFileGivesTheDefaultWorldAndStaysAsItIs) {
    SimHome home;
    const std::string corrupt = "[card]\npresent=maybe\n[network]\nssid=x\n";
    home.WriteFile("world.ini", corrupt);
    testing::internal::CaptureStderr();
    EXPECT_EQ(0u, MediaStatus()) << "the default world's open network is in the air";
    EXPECT_EQ("00:0C:2B:4A:10:01", CurrentBssid());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, said.find("world.ini is corrupt")) << said;
    EXPECT_NE(std::string::npos, said.find("line 2")) << said;
    EXPECT_EQ(corrupt, home.ReadFile("world.ini"));
}

TEST(WorldFile, FormatReadsBackTheSameWorld) {
    cardsim::World world = cardsim::DefaultWorld();
    world.networks[0].ssid = " quoted \"ssid\"; \\ \x01";
    world.networks[1].hidden = true;
    world.fail.mask = 0x20002;
    world.fail.count = -1;
    world.fail.calls = cardsim::FailCalls::Set;
    cardsim::World read;
    std::string error;
    ASSERT_TRUE(cardsim::ParseWorld(cardsim::FormatWorld(world), read, error)) << error;
    EXPECT_EQ(cardsim::FormatWorld(world), cardsim::FormatWorld(read));
    EXPECT_EQ(world.networks[0].ssid, read.networks[0].ssid);
    // A hand-written file may spell the escapes' digits in either case.
    ASSERT_TRUE(cardsim::ParseWorld("[network]\nssid=\"caf\\xe9\\xC9\"\nbssid=00:11:22:33:44:55\n",
                                    read, error))
        << error;
    EXPECT_EQ("caf\xe9\xC9", read.networks[0].ssid);
}

TEST(WorldFile, MistakesAreNamedByLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"present=1\n", "line 1: entry before the first section"},
        {"[card]\npresent\n", "line 2: line without '='"},
        {"[card]\nfirmware=\"open\n", "line 2: unclosed quote"},
        {"[network]\nssid=a\nbssid=00:11:22:33:44:55\nchannel=15\n", "line 4: bad value"},
        {"[network]\nssid=a\n", "line 1: a network needs ssid and bssid"},
        {"[network]\nssid=a\nbssid=00:11:22:33:44:55\nwep=64\nkey1=0011\n",
         "line 1: each key must have 10 hexadecimal digits"},
        {"[fail]\nmask=0x1FFFFFFFF\n", "line 2: bad value"}};
    for (const auto& [text, expected] : cases) {
        cardsim::World world;
        std::string error;
        EXPECT_FALSE(cardsim::ParseWorld(text, world, error)) << text;
        EXPECT_EQ(0u, error.find(expected)) << text << " gave " << error;
    }
    cardsim::World world;
    std::string error;
    EXPECT_FALSE(cardsim::ParseWorld(std::string("[card]\n\0x\n", 10), world, error));
    EXPECT_NE(std::string::npos, error.find("NUL"));
}

} // namespace
