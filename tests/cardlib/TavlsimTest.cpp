// tavlsim run as a program against a temporary world folder. What the
// utility is told when an event is played is held by the scenarios, which
// run tavlsim against the utility itself; here the world file, the
// library's answers and the tool's own errors.
#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace {

// tavlsim's exit status and what it wrote.
std::pair<int, std::string> Tavlsim(const std::string& arguments) {
    std::string output;
    FILE* pipe = popen((SKERRIN_BIN_DIR "/tavlsim " + arguments + " 2>&1").c_str(), "r");
    char chunk[4096];
    for (std::size_t n; pipe != nullptr && (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        output.append(chunk, n);
    }
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// The world file's text for empty air and `network` alone, keys fitted.
std::string AirWith(cardsim::Network network) {
    cardsim::FitNetworkKeys(network);
    cardsim::World world = EmptyWorld();
    world.networks = {network};
    return cardsim::FormatWorld(world);
}

TEST(Tavlsim, NetworksAreAddedChangedAndRemoved) {
    SimHome home;
    auto run = Tavlsim("net add ssid=\"Test Net\" channel=4 signal=-55 wep=64 key1=0102030405");
    ASSERT_EQ(0, run.first) << run.second;
    cardsim::World world;
    std::string error;
    ASSERT_TRUE(cardsim::ParseWorld(home.ReadFile("world.ini"), world, error)) << error;
    ASSERT_EQ(1u, world.networks.size());
    cardsim::Network expected = MakeNet("Test Net", "00:00:00:00:00:00", 4, -55);
    expected.bssid = world.networks[0].bssid; // made up by tavlsim
    expected.wep = cardsim::WepLevel::Wep64;
    expected.keys[0] = {1, 2, 3, 4, 5};
    EXPECT_EQ(AirWith(expected), home.ReadFile("world.ini"));

    ASSERT_EQ(0u, ApplySettings(1, "Test Net", 1, std::vector<std::string>(4, "0102030405")));
    ASSERT_EQ(0, Tavlsim("net set \"Test Net\" signal=-71").first);
    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_RSSI;
    ASSERT_EQ(0, TAVL_GetWLANConfig(&mask, &host));
    EXPECT_EQ(-71, host.rssi);
    ASSERT_EQ(0, Tavlsim("net remove " + cardsim::FormatMac(expected.bssid.data())).first);
    EXPECT_EQ(1u, MediaStatus());
    EXPECT_EQ(1, Tavlsim("net remove Nowhere").first);

    run = Tavlsim("net add Cafe 00:11:22:33:44:55 1 -60 adhoc 128 hidden=1");
    ASSERT_EQ(0, run.first) << run.second;
    cardsim::Network cafe = MakeNet("Cafe", "00:11:22:33:44:55", 1, -60, cardsim::NetMode::AdHoc);
    cafe.wep = cardsim::WepLevel::Wep128;
    cafe.hidden = true;
    EXPECT_EQ(AirWith(cafe), home.ReadFile("world.ini"));
}

TEST(Tavlsim, StatusAndFailureControls) {
    SimHome home;
    home.SetWorld(cardsim::DefaultWorld());
    ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile"));
    ASSERT_EQ(0u, ApplySettings(1, "Corvane", 6));
    ASSERT_EQ(0, TAVL_SetActiveProfileByType("Home Base", 1));
    const std::string status = Tavlsim("status").second;
    for (const char* expected :
         {"Association: connected to \"Corvane\" 00:0C:2B:4A:10:01",
          "Profiles (Corvane/Profile): active \"Home Base\"", "Networks in the air: 3"}) {
        EXPECT_NE(std::string::npos, status.find(expected)) << expected << "\n" << status;
    }

    ASSERT_EQ(0, Tavlsim("fail set 0x2 1 set").first);
    EXPECT_EQ(TAVL_MASK_SSID, ApplySettings(1, "Corvane", 6) & TAVL_MASK_SSID);
    const std::string got = Tavlsim("fail get").second;
    EXPECT_NE(std::string::npos, got.find("mask 0x00000002, count 1 (used 1), calls set")) << got;
    ASSERT_EQ(0, Tavlsim("fail query on").first);
    ASSERT_EQ(0, Tavlsim("fail detect on").first);
    std::uint32_t value = 0;
    std::uint32_t written = 9;
    EXPECT_NE(0, TAVL_QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &value, 4, &written));
    EXPECT_EQ(0u, written);
    std::uint8_t info[TAVL_DETECT_INFO_SIZE];
    EXPECT_EQ(0, TAVL_Detect(info));
    EXPECT_EQ("00:0C:2B:4A:10:01", CurrentBssid()) << "the card still answers";
    ASSERT_EQ(0, Tavlsim("fail clear").first);
    EXPECT_GE(1u, MediaStatus());
}

// Usage errors exit with 2; a corrupt world file is left as it is.
TEST(Tavlsim, BadCommandsAndACorruptWorldChangeNothing) {
    SimHome home;
    for (const char* arguments :
         {"", "bogus", "card", "card wobble", "net", "net add channel=3",
          "net add ssid=x channel=99", "net add x ssid=y z", "net set", "netservice maybe", "power",
          "fail set x 1", "fail set 0x2 1 sideways", "journal extra", "status now"}) {
        const auto [status, output] = Tavlsim(arguments);
        EXPECT_EQ(2, status) << arguments << "\n" << output;
        EXPECT_NE(std::string::npos, output.find("tavlsim: ")) << arguments;
    }
    home.WriteFile("world.ini", "[card]\npresent=perhaps\n");
    const auto [status, output] = Tavlsim("card remove");
    EXPECT_EQ(1, status);
    EXPECT_NE(std::string::npos, output.find("corrupt")) << output;
    EXPECT_EQ("[card]\npresent=perhaps\n", home.ReadFile("world.ini"));
}

} // namespace
