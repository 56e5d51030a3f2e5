#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

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
    // The scenarios read SSIDs, keys and results from these lines; here
    // what they do not: the transmit key, the channel, a null name.
    const std::string& set = lines[lines.size() - 4];
    EXPECT_NE(std::string::npos, set.find(",dsConfig=2462000,")) << set;
    EXPECT_NE(std::string::npos, set.find(" key1={length=20,index=0,tx=1,")) << set;
    EXPECT_NE(std::string::npos, set.find(" key2={length=20,index=1,tx=0,")) << set;
    EXPECT_NE(std::string::npos,
              lines[lines.size() - 2].find(" TAVL_SetProfileWireless name=null "));
}

} // namespace
