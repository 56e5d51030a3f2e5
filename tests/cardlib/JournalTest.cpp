#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// One line per call: its sequence number (counted over the process), name,
// arguments (the record's fields, a null name) and results. The lines of
// the configuration calls are held by the apply tests.
TEST(Journal, OneLinePerCallWithArgumentsAndResults) {
    SimHome home;
    setenv("TAVL_SIM_JOURNAL", home.Path("journal.log").c_str(), 1);
    TAVL_ChannelToFrequency(11);
    const WirelessReg reg{};
    TAVL_SetProfileWireless(nullptr, &reg);
    TAVL_Terminate();

    std::istringstream in(home.ReadFile("journal.log"));
    std::string calls;
    std::uint64_t first = 0;
    std::uint64_t sequence = 0;
    for (std::string line; in >> sequence && std::getline(in, line);) {
        first = first == 0 ? sequence : first;
        calls += std::to_string(sequence - first + 1) + line + "\n";
    }
    EXPECT_EQ(
        "1 TAVL_ChannelToFrequency channel=11 -> ret=2462000\n"
        "2 TAVL_SetProfileWireless name=null profileName=\"\" channel=0 txRate=0 opMode=0 GMode=0 "
        "ssid=\"\" encryptionLevel=0 defaultKeyId=0 keyText1=\"\" keyText2=\"\" keyText3=\"\" "
        "keyText4=\"\" fragThreshold=0 rtsThreshold=0 preambleType=0 powerSaveMode=0 authType=0 "
        "keyEntryMode=0 -> ret=-27\n"
        "3 TAVL_Terminate -> ret=1\n",
        calls);
}

} // namespace
