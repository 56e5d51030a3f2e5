#include "tests/cardlib/SimHome.h"

#include "cardshared/Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

SimHome::SimHome() {
    SetRecording(false);
    SetWorld(EmptyWorld());
    // tavlsim must never reach a utility running outside the test.
    setenv("XDG_RUNTIME_DIR", Parent().c_str(), 1);
}

cardsim::World EmptyWorld() {
    cardsim::World world;
    world.scanMs = 0;
    return world;
}

cardsim::Network MakeNet(const std::string& ssid, const std::string& bssid, std::uint32_t channel,
                         std::int32_t signal, cardsim::NetMode mode) {
    cardsim::Network network;
    network.ssid = ssid;
    EXPECT_TRUE(cardsim::ParseMac(bssid, network.bssid)) << bssid;
    network.channel = channel;
    network.signal = signal;
    network.mode = mode;
    return network;
}

std::uint32_t ApplySettings(std::uint32_t mode, const std::string& ssid, std::uint32_t channel,
                            const std::vector<std::string>& keys, int transmitKey) {
    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_INFRASTRUCTURE | TAVL_MASK_SSID | TAVL_MASK_CONFIGURATION |
                         TAVL_MASK_WEP_STATUS | TAVL_MASK_AUTH_MODE;
    host.infrastructureMode = mode;
    host.ssidLength = static_cast<std::uint32_t>(ssid.size());
    std::copy(ssid.begin(), ssid.end(), host.ssid);
    host.configuration = {32, 100, 0, TAVL_ChannelToFrequency(channel), 16, 0, 0, 0};
    host.wepStatus = keys.empty() ? 1 : 0;
    host.authMode = 2;
    std::vector<WepKeyBuffer> blocks(4);
    for (std::size_t i = 0; i < keys.size() && i < 4; ++i) {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(cardsim::ParseHexBytes(keys[i], bytes));
        WepKeyBuffer& block = blocks[i];
        block.keyLength = static_cast<std::uint32_t>(bytes.size());
        block.length = block.keyLength + 15;
        block.keyIndex = static_cast<std::uint32_t>(i) |
                         (static_cast<int>(i) == transmitKey ? TAVL_WEP_TRANSMIT_KEY : 0u);
        std::copy(bytes.begin(), bytes.end(), block.keyMaterial);
        TavlSetWepKey(&host, static_cast<int>(i), &block);
        mask |= TAVL_MASK_WEP_KEY1 << i;
    }
    TAVL_SetWLANConfig(&mask, &host);
    return mask;
}

WirelessReg Record(const char* name, std::uint32_t channel) {
    WirelessReg reg{};
    std::strncpy(reg.profileName, name, sizeof reg.profileName - 1);
    std::strcpy(reg.ssid, "any");
    reg.channel = channel;
    reg.txRate = 15;
    reg.opMode = 1;
    for (std::size_t i = 0; i < sizeof reg.reserved672; ++i) {
        reg.reserved672[i] = static_cast<std::uint8_t>(i * 7 + channel);
    }
    return reg;
}

std::uint32_t SetMask(std::uint32_t mask, const HostInfo* host) {
    TAVL_SetWLANConfig(&mask, host);
    return mask;
}

std::uint32_t SetMask(std::uint32_t mask) {
    HostInfo host{};
    host.infrastructureMode = 1;
    host.ssidLength = 3;
    std::copy_n("any", 3, host.ssid);
    return SetMask(mask, &host);
}

std::uint32_t GetMask(std::uint32_t mask, HostInfo* host) {
    TAVL_GetWLANConfig(&mask, host);
    return mask;
}

std::uint32_t MediaStatus() {
    std::uint32_t status = 99;
    std::uint32_t written = 0;
    EXPECT_EQ(0, TAVL_QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &status, 4, &written));
    EXPECT_EQ(4u, written);
    return status;
}

std::string CurrentBssid() {
    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_BSSID;
    EXPECT_EQ(0, TAVL_GetWLANConfig(&mask, &host));
    EXPECT_EQ(0u, mask);
    return cardsim::FormatMac(host.bssid);
}

std::uint32_t SurveyCount() {
    EXPECT_EQ(0, TAVL_SiteSurveyTrigger());
    std::vector<std::uint8_t> buffer(TAVL_SURVEY_BUFFER_SIZE);
    std::uint32_t size = TAVL_SURVEY_BUFFER_SIZE;
    EXPECT_EQ(1, TAVL_SiteSurveyGet(buffer.data(), &size));
    std::uint32_t count = 0;
    std::memcpy(&count, buffer.data(), sizeof count);
    return count;
}
