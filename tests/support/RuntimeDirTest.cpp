#include "support/RuntimeDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Only a folder of this user that no one else can write to holds the lock
// and the sockets; a shared or foreign folder is passed over, and the
// temporary folder itself is never used.
TEST(RuntimeDirectory, OnlyAPrivateFolderOfThisUserIsUsed) {
    enum class Own { None, Open, Foreign, Link };
    const struct {
        mode_t xdgMode;       // 0: XDG_RUNTIME_DIR unset
        Own existing;         // what already sits at skerrin-<uid> below TMPDIR
        const char* expected; // "xdg", or the suffix of the folder below TMPDIR
    } cases[] = {
        {0755, Own::None, "xdg"}, {0777, Own::None, ""}, {0, Own::Open, ".1"},
        {0, Own::Foreign, ".1"},  {0, Own::Link, ".1"},
    };
    const fs::path root = fs::temp_directory_path() / ("skerrin-rt-" + std::to_string(getpid()));
    const fs::path tmp = root / "tmp";
    const fs::path xdg = root / "xdg";
    const fs::path taken = tmp / ("skerrin-" + std::to_string(getuid()));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.xdgMode << " " << int(c.existing));
        if (c.existing == Own::Foreign && getuid() != 0) {
            continue; // only root can give a folder to another user
        }
        fs::remove_all(root);
        fs::create_directories(tmp);
        fs::create_directories(xdg);
        chmod(tmp.c_str(), 01777);
        chmod(xdg.c_str(), c.xdgMode);
        if (c.existing == Own::Link) {
            fs::create_symlink(xdg, taken);
        } else if (c.existing != Own::None) {
            fs::create_directory(taken);
            if (c.existing == Own::Open) {
                chmod(taken.c_str(), 0777);
            } else {
                ASSERT_EQ(0, chown(taken.c_str(), 65534, 65534));
            }
        }
        setenv("TMPDIR", tmp.c_str(), 1);
        c.xdgMode != 0 ? setenv("XDG_RUNTIME_DIR", xdg.c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");

        const std::string folder = support::RuntimeDirectory();
        EXPECT_EQ(std::string(c.expected) == "xdg" ? xdg.string() : taken.string() + c.expected,
                  folder);
        EXPECT_TRUE(support::IsPrivateFolder(folder));
        EXPECT_NE(tmp.string(), folder);
    }
    fs::remove_all(root);
    unsetenv("TMPDIR");
    unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
