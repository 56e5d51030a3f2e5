#include "platform/FileVersion.h"
#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

// The stamp as the About page reads it.
FileVersionNumbers StampOf(const std::string& path) {
    return ReadFileVersion(path).value_or(FileVersionNumbers{});
}

TEST(DriverFile, PathIsRelativeToTheFolderGivenAndCarriesTheWorldsVersion) {
    SimHome home;
    cardsim::World world = cardsim::DefaultWorld();
    world.driverVersion = {5, 1, 2600, 7};
    home.WriteWorld(world);
    char path[TAVL_PATH_BUFFER_SIZE] = {};
    std::strcpy(path, home.Path().c_str());
    ASSERT_EQ(1, TAVL_GetWLANDriverPath(path));
    EXPECT_STREQ("drivers/lk2093.ko", path);
    EXPECT_EQ((FileVersionNumbers{5, 1, 2600, 7}), StampOf(home.Path(path)));

    std::filesystem::create_directories(home.Parent() + "/windows/system");
    std::strcpy(path, (home.Parent() + "/windows/system").c_str());
    ASSERT_EQ(1, TAVL_GetWLANDriverPath(path));
    EXPECT_STREQ("../../home/drivers/lk2093.ko", path);

    world.driverVersion = {5, 1, 2600, 8};
    home.WriteWorld(world);
    std::strcpy(path, home.Path().c_str());
    ASSERT_EQ(1, TAVL_GetWLANDriverPath(path));
    EXPECT_EQ((FileVersionNumbers{5, 1, 2600, 8}), StampOf(home.Path(path)));
    EXPECT_EQ(TAVL_INTERFACE_VERSION, TAVL_GetInterfaceVersion());
}

TEST(DriverSettings, RecordIsWrittenWhole) {
    SimHome home;
    WirelessReg reg{};
    reg.channel = 11;
    std::strcpy(reg.ssid, "Harbour Office");
    reg.reserved672[1000] = 0x77;
    ASSERT_EQ(0, TAVL_SetDriverReg(&reg));
    const std::string stored = home.ReadFile("driver-settings.bin");
    ASSERT_EQ(sizeof reg, stored.size());
    EXPECT_EQ(0, std::memcmp(stored.data(), &reg, sizeof reg));
}

} // namespace
