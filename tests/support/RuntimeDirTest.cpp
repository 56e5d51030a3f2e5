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
    struct Case {
        const char* name;
        bool xdg;             // XDG_RUNTIME_DIR set
        mode_t xdgMode;       // its mode
        Own existing;         // what already sits at skerrin-<uid> below TMPDIR
        const char* expected; // "xdg", or the folder's name below TMPDIR
    };
    const std::string own = "skerrin-" + std::to_string(getuid());
    const Case cases[] = {
        {"private session folder", true, 0755, Own::None, "xdg"},
        {"world-writable session folder", true, 0777, Own::None, ""},
        {"own folder open to others", false, 0, Own::Open, ".1"},
        {"another user's folder", false, 0, Own::Foreign, ".1"},
        {"a link in its place", false, 0, Own::Link, ".1"},
    };
    const fs::path root = fs::temp_directory_path() / ("skerrin-rt-" + std::to_string(getpid()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.existing == Own::Foreign && getuid() != 0) {
            continue; // only root can give a folder to another user
        }
        fs::remove_all(root);
        const fs::path tmp = root / "tmp";
        const fs::path xdg = root / "xdg";
        fs::create_directories(tmp);
        fs::create_directories(xdg);
        chmod(tmp.c_str(), 01777);
        chmod(xdg.c_str(), c.xdgMode);
        const fs::path taken = tmp / own;
        switch (c.existing) {
        case Own::None:
            break;
        case Own::Open:
            fs::create_directory(taken);
            chmod(taken.c_str(), 0777);
            break;
        case Own::Foreign:
            fs::create_directory(taken);
            ASSERT_EQ(0, chown(taken.c_str(), 65534, 65534));
            break;
        case Own::Link:
            fs::create_symlink(xdg, taken);
            break;
        }
        setenv("TMPDIR", tmp.c_str(), 1);
        if (c.xdg) {
            setenv("XDG_RUNTIME_DIR", xdg.c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }

        const std::string folder = support::RuntimeDirectory();
        const std::string expected =
            std::string(c.expected) == "xdg" ? xdg.string() : (tmp / own).string() + c.expected;
        EXPECT_EQ(expected, folder);
        EXPECT_TRUE(support::IsPrivateFolder(folder));
        EXPECT_NE(tmp.string(), folder);
        fs::remove_all(root);
    }
    unsetenv("TMPDIR");
    unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
