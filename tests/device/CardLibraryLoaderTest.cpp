#include "device/CardLibraryLoader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::string BinDir() {
    return SKERRIN_BIN_DIR;
}

void ExpectAbsentCard(CardLibrary& library) {
    std::uint8_t info[TAVL_DETECT_INFO_SIZE] = {};
    EXPECT_EQ(0, library.Detect(info));
    std::uint32_t mask = TAVL_MASK_FULL_READ;
    HostInfo host{};
    library.GetWLANConfig(&mask, &host);
    char name[TAVL_NAME_BUFFER_MIN] = "x";
    EXPECT_EQ(TAVL_PROFILE_ENUM_END, library.EnumProfilesByType(0, name, 1));
}

TEST(CardLibraryLoader, MissingFileIsNamedAndNoCardIsSeen) {
    std::string error;
    auto library = LoadCardLibrary("/nonexistent/libtavl3.so", error);
    ASSERT_NE(nullptr, library);
    EXPECT_NE(std::string::npos, error.find("/nonexistent/libtavl3.so")) << error;
    ExpectAbsentCard(*library);
}

TEST(CardLibraryLoader, FileThatIsNotASharedObjectIsRefused) {
    const auto path = std::filesystem::temp_directory_path() / "skerrin-not-a-library.so";
    std::ofstream(path) << "this is text";
    std::string error;
    auto library = LoadCardLibrary(path.string(), error);
    EXPECT_NE(std::string::npos, error.find(path.string())) << error;
    ExpectAbsentCard(*library);
    std::filesystem::remove(path);
}

TEST(CardLibraryLoader, MissingSymbolIsNamed) {
    std::string error;
    auto library = LoadCardLibrary(BinDir() + "/libtavl_broken.so", error);
    EXPECT_NE(std::string::npos, error.find("lacks the symbol TAVL_Terminate")) << error;
    ExpectAbsentCard(*library);
}

} // namespace
