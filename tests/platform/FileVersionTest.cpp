#include "platform/FileVersion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class FileVersion : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("skerrin-fileversion-" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A file holding the first `size` bytes of `from` (all of it for 0).
    std::string CopyOf(const std::string& from, std::size_t size, const char* name) {
        std::ifstream in(from, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (size != 0 && size < bytes.size()) {
            bytes.resize(size);
        }
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path dir_;
    const std::string utility_ = SKERRIN_BIN_DIR "/skerrin";
};

// The utility, a copy of it and the card library carry the stamp.
TEST_F(FileVersion, BuiltBinariesCarryTheirStamp) {
    for (const std::string& path :
         {utility_, CopyOf(utility_, 0, "copy"), std::string(SKERRIN_BIN_DIR "/libtavl3.so")}) {
        EXPECT_EQ((FileVersionNumbers{3, 0, 6, 262}),
                  ReadFileVersion(path).value_or(FileVersionNumbers{}));
        std::string text = "before";
        EXPECT_TRUE(GetFileVersionText(path, text));
        EXPECT_EQ("3.0.6.262", text) << path;
    }
    EXPECT_EQ("4294967295.0.0.1", FileVersionText({0xFFFFFFFF, 0, 0, 1}));
}

TEST_F(FileVersion, FilesWithoutAStampLeaveTheTextAlone) {
    const std::string text_file = (dir_ / "readme.txt").string();
    std::ofstream(text_file) << "not a binary\n";
    const std::string empty = (dir_ / "empty").string();
    std::ofstream{empty};
    const std::string cases[] = {
        text_file,
        empty,
        // An ELF file of this project built without a stamp.
        fs::read_symlink("/proc/self/exe").string(),
        // The utility cut after its ELF header, and cut in its middle.
        CopyOf(utility_, 64, "header-only"),
        CopyOf(utility_, static_cast<std::size_t>(fs::file_size(utility_) / 2), "half"),
        dir_.string(),
        (dir_ / "missing.so").string(),
        "",
    };
    for (const std::string& path : cases) {
        std::string text = "Unknown";
        EXPECT_FALSE(GetFileVersionText(path, text)) << path;
        EXPECT_EQ("Unknown", text) << path;
        EXPECT_FALSE(ReadFileVersion(path).has_value()) << path;
    }
}

} // namespace
