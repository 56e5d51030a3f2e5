#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gelf.h>
#include <libelf.h>
#include <unistd.h>

namespace {

// Reads the version stamp note by section name, as the About page does.
std::array<std::uint32_t, 4> StampOf(const std::string& path) {
    std::array<std::uint32_t, 4> version{};
    elf_version(EV_CURRENT);
    const int fd = open(path.c_str(), O_RDONLY);
    EXPECT_GE(fd, 0) << path;
    Elf* elf = elf_begin(fd, ELF_C_READ, nullptr);
    EXPECT_NE(nullptr, elf) << elf_errmsg(-1);
    std::size_t names = 0;
    EXPECT_EQ(0, elf_getshdrstrndx(elf, &names));
    for (Elf_Scn* section = elf_nextscn(elf, nullptr); section != nullptr;
         section = elf_nextscn(elf, section)) {
        GElf_Shdr header;
        gelf_getshdr(section, &header);
        const char* name = elf_strptr(elf, names, header.sh_name);
        if (name == nullptr || std::strcmp(name, ".note.skerrin.version") != 0) {
            continue;
        }
        Elf_Data* data = elf_getdata(section, nullptr);
        GElf_Nhdr note;
        std::size_t nameAt = 0;
        std::size_t descAt = 0;
        EXPECT_GT(gelf_getnote(data, 0, &note, &nameAt, &descAt), 0u);
        EXPECT_EQ(0x56455253u, note.n_type);
        EXPECT_STREQ("Skerrin", static_cast<const char*>(data->d_buf) + nameAt);
        EXPECT_EQ(16u, note.n_descsz);
        std::memcpy(version.data(), static_cast<const char*>(data->d_buf) + descAt, 16);
    }
    elf_end(elf);
    close(fd);
    return version;
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
    EXPECT_EQ((std::array<std::uint32_t, 4>{5, 1, 2600, 7}), StampOf(home.Path(path)));

    std::filesystem::create_directories(home.Parent() + "/windows/system");
    std::strcpy(path, (home.Parent() + "/windows/system").c_str());
    ASSERT_EQ(1, TAVL_GetWLANDriverPath(path));
    EXPECT_STREQ("../../home/drivers/lk2093.ko", path);

    world.driverVersion = {5, 1, 2600, 8};
    home.WriteWorld(world);
    std::strcpy(path, home.Path().c_str());
    ASSERT_EQ(1, TAVL_GetWLANDriverPath(path));
    EXPECT_EQ((std::array<std::uint32_t, 4>{5, 1, 2600, 8}), StampOf(home.Path(path)));
}

TEST(DriverFile, LibraryCarriesItsOwnStamp) {
    EXPECT_EQ((std::array<std::uint32_t, 4>{3, 0, 6, 262}),
              StampOf(SKERRIN_BIN_DIR "/libtavl3.so"));
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
