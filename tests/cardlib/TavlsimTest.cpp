// tavlsim run as a program against a temporary world folder.
#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace {

struct ToolRun {
    int status = -1;
    std::string output;
};

ToolRun Tavlsim(const std::string& arguments) {
    ToolRun run;
    const std::string command = SKERRIN_BIN_DIR "/tavlsim " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        run.output.append(chunk, n);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

cardsim::World WorldOnDisk(const SimHome& home) {
    cardsim::World world;
    std::string error;
    EXPECT_TRUE(cardsim::ParseWorld(home.ReadFile("world.ini"), world, error)) << error;
    return world;
}

// The world file's text for empty air and `network` alone, keys fitted.
std::string AirWith(cardsim::Network network) {
    cardsim::FitNetworkKeys(network);
    cardsim::World world = EmptyWorld();
    world.networks = {network};
    return cardsim::FormatWorld(world);
}

// What the utility is told when a card, power or network service event
// is played is held by the scenarios, which run tavlsim against the
// utility itself; here only the world file and the library's answers.
TEST(Tavlsim, EventsChangeTheWorldEvenWithoutAUtility) {
    SimHome home;
    ToolRun run = Tavlsim("card remove");
    EXPECT_EQ(0, run.status);
    EXPECT_NE(std::string::npos, run.output.find("no utility is listening")) << run.output;
    std::uint8_t info[TAVL_DETECT_INFO_SIZE];
    EXPECT_EQ(0, TAVL_Detect(info));
    ASSERT_EQ(0, Tavlsim("card insert").status);
    ASSERT_EQ(0, Tavlsim("power suspend").status);
    EXPECT_EQ(0, TAVL_Detect(info)) << "a sleeping card does not answer";
    ASSERT_EQ(0, Tavlsim("power resume").status);
    EXPECT_EQ(1, TAVL_Detect(info));
}

TEST(Tavlsim, NetworksAreAddedChangedAndRemoved) {
    SimHome home;
    ToolRun run = Tavlsim("net add ssid=\"Test Net\" channel=4 signal=-55 wep=64 key1=0102030405");
    ASSERT_EQ(0, run.status) << run.output;
    cardsim::World world = WorldOnDisk(home);
    ASSERT_EQ(1u, world.networks.size());
    cardsim::Network expected = MakeNet("Test Net", "00:00:00:00:00:00", 4, -55);
    expected.bssid = world.networks[0].bssid; // made up by tavlsim
    expected.wep = cardsim::WepLevel::Wep64;
    expected.keys[0] = {1, 2, 3, 4, 5};
    EXPECT_EQ(AirWith(expected), cardsim::FormatWorld(world));

    ASSERT_EQ(0u, ApplySettings(1, "Test Net", 1,
                                {"0102030405", "0102030405", "0102030405", "0102030405"}));
    EXPECT_EQ(0u, MediaStatus());
    ASSERT_EQ(0, Tavlsim("net set \"Test Net\" signal=-71").status);
    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_RSSI;
    ASSERT_EQ(0, TAVL_GetWLANConfig(&mask, &host));
    EXPECT_EQ(-71, host.rssi);

    ASSERT_EQ(0,
              Tavlsim("net remove " + cardsim::FormatMac(world.networks[0].bssid.data())).status);
    EXPECT_TRUE(WorldOnDisk(home).networks.empty());
    EXPECT_EQ(1u, MediaStatus());
    EXPECT_EQ(1, Tavlsim("net remove Nowhere").status);

    run = Tavlsim("net add Cafe 00:11:22:33:44:55 1 -60 adhoc 128 hidden=1");
    ASSERT_EQ(0, run.status) << run.output;
    cardsim::Network cafe = MakeNet("Cafe", "00:11:22:33:44:55", 1, -60, cardsim::NetMode::AdHoc);
    cafe.wep = cardsim::WepLevel::Wep128;
    cafe.hidden = true;
    EXPECT_EQ(AirWith(cafe), cardsim::FormatWorld(WorldOnDisk(home)));
}

TEST(Tavlsim, StatusShowsCardProfilesAndAir) {
    SimHome home;
    home.WriteWorld(cardsim::DefaultWorld());
    ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile"));
    ASSERT_EQ(0u, ApplySettings(1, "Corvane", 6));
    ASSERT_EQ(0, TAVL_SetActiveProfileByType("Home Base", 1));
    const ToolRun run = Tavlsim("status");
    for (const char* expected :
         {"Association: connected to \"Corvane\" 00:0C:2B:4A:10:01",
          "Profiles (Corvane/Profile): active \"Home Base\"", "Networks in the air: 3"}) {
        EXPECT_NE(std::string::npos, run.output.find(expected)) << expected << "\n" << run.output;
    }
}

TEST(Tavlsim, FailureInjectionControls) {
    SimHome home;
    ASSERT_EQ(0, Tavlsim("fail set 0x2 1 set").status);
    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_SSID;
    TAVL_SetWLANConfig(&mask, &host);
    EXPECT_EQ(TAVL_MASK_SSID, mask);
    const ToolRun got = Tavlsim("fail get");
    EXPECT_NE(std::string::npos, got.output.find("mask 0x00000002, count 1 (used 1), calls set"))
        << got.output;
    ASSERT_EQ(0, Tavlsim("fail query on").status);
    ASSERT_EQ(0, Tavlsim("fail detect on").status);
    std::uint32_t value = 0;
    std::uint32_t written = 9;
    EXPECT_NE(0, TAVL_QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &value, 4, &written));
    EXPECT_EQ(0u, written);
    std::uint8_t info[TAVL_DETECT_INFO_SIZE];
    EXPECT_EQ(0, TAVL_Detect(info));
    mask = TAVL_MASK_FIRMWARE_VERSION;
    EXPECT_EQ(0, TAVL_GetWLANConfig(&mask, &host)) << "the card still answers";
    ASSERT_EQ(0, Tavlsim("fail clear").status);
    EXPECT_EQ(0, TAVL_QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &value, 4, &written));
}

TEST(Tavlsim, UsageErrorsExitWithTwo) {
    SimHome home;
    for (const char* arguments :
         {"", "bogus", "card", "card wobble", "net", "net add channel=3",
          "net add ssid=x channel=99", "net add x ssid=y z", "net set", "netservice maybe", "power",
          "fail set x 1", "fail set 0x2 1 sideways", "journal extra", "status now"}) {
        const ToolRun run = Tavlsim(arguments);
        EXPECT_EQ(2, run.status) << arguments << "\n" << run.output;
        EXPECT_NE(std::string::npos, run.output.find("tavlsim: ")) << arguments;
    }
}

TEST(Tavlsim, CorruptWorldIsNotOverwritten) {
    SimHome home;
    home.WriteFile("world.ini", "[card]\npresent=perhaps\n");
    const ToolRun run = Tavlsim("card remove");
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.output.find("corrupt")) << run.output;
    EXPECT_EQ("[card]\npresent=perhaps\n", home.ReadFile("world.ini"));
}

} // namespace
