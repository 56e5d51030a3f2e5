#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// One line per call: its sequence number (counted over the process), name,
// arguments (the record's fields, each key's transmit bit, a null name) and
// results.
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
        "2 TAVL_SetWLANConfig mask=0x0003F422 ssidLength=14 ssid=\"Harbour\\x20Office\" "
        "infrastructureMode=1 configuration={length=32,beaconPeriod=100,atimWindow=0,"
        "dsConfig=2462000,fhLength=16,hopPattern=0,hopSet=0,dwellTime=0} GMode=0 "
        "key1={length=20,index=0,tx=1,keyLength=5,key=3A9C17E05B} "
        "key2={length=20,index=1,tx=0,keyLength=5,key=1122334455} "
        "key3={length=20,index=2,tx=0,keyLength=5,key=66778899AA} "
        "key4={length=20,index=3,tx=0,keyLength=5,key=BBCCDDEEFF} wepStatus=0 authMode=2 -> "
        "mask=0x00000000 connected=1 bssid=00:0C:2B:4A:10:02 ret=0\n"
        "3 TAVL_GetWLANConfig mask=0x0207F6EE -> mask=0x00000000 ret=0\n"
        "4 TAVL_SetProfileWireless name=null profileName=\"\" channel=0 txRate=0 opMode=0 GMode=0 "
        "ssid=\"\" encryptionLevel=0 defaultKeyId=0 keyText1=\"\" keyText2=\"\" keyText3=\"\" "
        "keyText4=\"\" fragThreshold=0 rtsThreshold=0 preambleType=0 powerSaveMode=0 authType=0 "
        "keyEntryMode=0 -> ret=-27\n"
        "5 TAVL_Terminate -> ret=1\n",
        calls);
}

} // namespace
