#include "device/CardLibraryLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>

namespace {

void ExpectAbsentCard(CardLibrary& library) {
    std::uint8_t info[TAVL_DETECT_INFO_SIZE] = {};
    EXPECT_EQ(0, library.Detect(info));
    std::uint32_t mask = TAVL_MASK_FULL_READ;
    HostInfo host{};
    library.GetWLANConfig(&mask, &host);
    char name[TAVL_NAME_BUFFER_MIN] = "x";
    EXPECT_EQ(TAVL_PROFILE_ENUM_END, library.EnumProfilesByType(0, name, 1));
}

// A library that cannot be loaded is named in the error, and the utility
// goes on as with no card.
TEST(CardLibraryLoader, UnusableFilesAreNamedAndNoCardIsSeen) {
    const auto text = std::filesystem::temp_directory_path() / "skerrin-not-a-library.so";
    std::ofstream(text) << "this is text";
    const std::pair<std::string, std::string> cases[] = {
        {"/nonexistent/libtavl3.so", "/nonexistent/libtavl3.so"},
        {text.string(), text.string()},
        {SKERRIN_BIN_DIR "/libtavl_broken.so", "lacks the symbol TAVL_Terminate"},
    };
    for (const auto& [path, named] : cases) {
        std::string error;
        auto library = LoadCardLibrary(path, error);
        ASSERT_NE(nullptr, library);
        EXPECT_NE(std::string::npos, error.find(named)) << error;
        ExpectAbsentCard(*library);
    }
    std::filesystem::remove(text);
}

} // namespace
