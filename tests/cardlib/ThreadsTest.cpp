#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

// The polling thread and the user-interface thread call the library at the
// same time; every answer stays whole.
TEST(Threads, PollingAndPagesCallAtOnce) {
    SimHome home;
    home.SetWorld(cardsim::DefaultWorld());
    ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile"));
    std::atomic<bool> bad{false};
    std::thread polling([&] {
        for (int i = 0; i < 300; ++i) {
            std::uint32_t status = 7;
            std::uint32_t written = 0;
            if (TAVL_QueryOID(TAVL_OID_GEN_MEDIA_CONNECT_STATUS, &status, 4, &written) != 0 ||
                status > 1) {
                bad = true;
            }
            HostInfo host{};
            std::uint32_t mask = TAVL_MASK_FULL_READ;
            TAVL_GetWLANConfig(&mask, &host);
            bad = bad || mask != 0;
        }
    });
    for (int i = 0; i < 100; ++i) {
        ApplySettings(1, i % 2 == 0 ? "Corvane" : "any", 6);
        WirelessReg reg{};
        reg.channel = static_cast<std::uint32_t>(i);
        const std::string name = "p" + std::to_string(i % 5);
        TAVL_SetProfileWireless(name.c_str(), &reg);
        char buffer[TAVL_NAME_BUFFER_MIN];
        TAVL_EnumProfilesByType(i % 6, buffer, TAVL_PROFILE_TYPE);
        std::uint8_t survey[TAVL_SURVEY_BUFFER_SIZE];
        std::uint32_t size = sizeof survey;
        TAVL_SiteSurveyTrigger();
        TAVL_SiteSurveyGet(survey, &size);
    }
    polling.join();
    EXPECT_FALSE(bad);
}

} // namespace
