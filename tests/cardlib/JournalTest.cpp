#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <sstream>
#include <utility>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(Journal, OneLinePerCallWithArgumentsAndResults) {
    SimHome home;
    home.WriteWorld(cardsim::DefaultWorld());
    setenv("TAVL_SIM_JOURNAL", home.Path("journal.log").c_str(), 1);

    ASSERT_EQ(0u, ApplySettings(1, "Harbour Office", 11,
                                {"3A9C17E05B", "1122334455", "66778899AA", "BBCCDDEEFF"}, 0));
    std::uint32_t mask = TAVL_MASK_FULL_READ;
    HostInfo host{};
    TAVL_GetWLANConfig(&mask, &host);
    const WirelessReg reg{};
    TAVL_SetProfileWireless(nullptr, &reg);
    TAVL_Terminate();

    const std::vector<std::string> lines = Lines(home.ReadFile("journal.log"));
    ASSERT_GE(lines.size(), 5u);
    const std::regex shape(R"((\d+) (TAVL_\w+)( \S+=\S+)* ->( \S+=\S+)* ret=-?\d+)");
    std::uint64_t previous = 0;
    for (const std::string& line : lines) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, shape)) << line;
        const std::uint64_t sequence = std::stoull(match[1]);
        EXPECT_GT(sequence, previous);
        previous = sequence;
    }
    // Fragments of the last four lines, counted from the end.
    const std::pair<std::size_t, const char*> fragments[] = {
        {4, " TAVL_SetWLANConfig mask=0x0003F422 "},
        {4, " ssidLength=14 ssid=\"Harbour\\x20Office\""},
        {4, " infrastructureMode=1 "},
        {4, ",dsConfig=2462000,"},
        {4, " key1={length=20,index=0,tx=1,keyLength=5,key=3A9C17E05B}"},
        {4, " key2={length=20,index=1,tx=0,keyLength=5,key=1122334455}"},
        {4, " -> mask=0x00000000 connected=1 bssid=00:0C:2B:4A:10:02 ret=0"},
        {3, " TAVL_GetWLANConfig mask=0x0207F6EE -> mask=0x00000000 ret=0"},
        {2, " TAVL_SetProfileWireless name=null "},
        {1, " TAVL_Terminate -> ret=1"},
    };
    for (const auto& [fromEnd, fragment] : fragments) {
        const std::string& line = lines[lines.size() - fromEnd];
        EXPECT_NE(std::string::npos, line.find(fragment)) << line;
    }
}

} // namespace
