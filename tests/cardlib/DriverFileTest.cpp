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
    home.SetWorld(world);
    char path[TAVL_PATH_BUFFER_SIZE] = {};
    std::strcpy(path, home.Folder().c_str());
    ASSERT_EQ(1, TAVL_GetWLANDriverPath(path));
    EXPECT_STREQ("drivers/lk2093.ko", path);
    EXPECT_EQ((FileVersionNumbers{5, 1, 2600, 7}), StampOf(home.Path(path)));

    std::filesystem::create_directories(home.Parent() + "/windows/system");
    std::strcpy(path, (home.Parent() + "/windows/system").c_str());
    ASSERT_EQ(1, TAVL_GetWLANDriverPath(path));
    EXPECT_STREQ("../../home/drivers/lk2093.ko", path);

    world.driverVersion = {5, 1, 2600, 8};
    home.SetWorld(world);
    std::strcpy(path, home.Folder().c_str());
    ASSERT_EQ(1, TAVL_GetWLANDriverPath(path));
    EXPECT_EQ((FileVersionNumbers{5, 1, 2600, 8}), StampOf(home.Path(path)));
}

} // namespace
