#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// The address of a record for the length of one call.
const WirelessReg* P(const WirelessReg& reg) {
    return &reg;
}

std::vector<std::string> Enumerated() {
    std::vector<std::string> names;
    char name[TAVL_NAME_BUFFER_MIN];
    for (std::int32_t i = 0;
         TAVL_EnumProfilesByType(i, name, TAVL_PROFILE_TYPE) != TAVL_PROFILE_ENUM_END; ++i) {
        names.emplace_back(name);
        if (i > 100) {
            break;
        }
    }
    return names;
}

std::string Active() {
    char name[TAVL_NAME_BUFFER_MIN];
    const std::int32_t result = TAVL_GetActiveProfileByType(name, TAVL_PROFILE_TYPE);
    return result == TAVL_PROFILE_NONE_ACTIVE ? "<none>" : std::string(name);
}

class ProfileStore : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile")); }
    std::string Folder() const { return home_.Path("Corvane/Profile"); }
    SimHome home_;
};

// Names that differ only in case name one profile, which keeps the first
// spelling; enumeration is sorted without regard to case.
TEST_F(ProfileStore, NamesIgnoreCaseKeepTheirSpellingAndEnumerateSorted) {
    std::uint32_t channel = 1;
    for (const char* name : {"gamma", "Home", "Alpha", "HOME", "beta"}) {
        ASSERT_EQ(0, TAVL_SetProfileWireless(name, P(Record(name, channel++))));
    }
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "gamma", "Home"}), Enumerated());
    char name[TAVL_NAME_BUFFER_MIN];
    EXPECT_EQ(TAVL_PROFILE_ENUM_END, TAVL_EnumProfilesByType(4, name, TAVL_PROFILE_TYPE));
    EXPECT_EQ(TAVL_PROFILE_ENUM_END, TAVL_EnumProfilesByType(-1, name, TAVL_PROFILE_TYPE));
    WirelessReg loaded{};
    ASSERT_EQ(0, TAVL_GetProfileWireless("hOmE", &loaded));
    EXPECT_EQ(4u, loaded.channel);
    ASSERT_EQ(0, TAVL_SetActiveProfileByType("home", TAVL_PROFILE_TYPE));
    EXPECT_EQ("Home", Active());
}

TEST_F(ProfileStore, ActiveProfileLifecycle) {
    EXPECT_EQ("<none>", Active());
    EXPECT_EQ(TAVL_PROFILE_NONE_ACTIVE, TAVL_SetProfileWireless(nullptr, P(Record("x", 1))))
        << "a null name needs an active profile";
    // The polling thread's first start: make "default" active, then store it.
    ASSERT_EQ(0, TAVL_SetActiveProfileByType("default", TAVL_PROFILE_TYPE));
    EXPECT_EQ("default", Active());
    ASSERT_EQ(0, TAVL_SetProfileWireless(nullptr, P(Record("default", 6))));
    ASSERT_EQ(0, TAVL_SetProfileWireless("Work", P(Record("Work", 3))));
    ASSERT_EQ(0, TAVL_SetActiveProfileByType("Work", TAVL_PROFILE_TYPE));
    const WirelessReg stored = Record("Work", 9);
    ASSERT_EQ(0, TAVL_SetProfileWireless(nullptr, &stored));
    WirelessReg loaded{};
    ASSERT_EQ(0, TAVL_GetProfileWireless("Work", &loaded));
    EXPECT_EQ(0, std::memcmp(&stored, &loaded, sizeof stored)) << "reserved bytes kept as stored";
    // The store is for the user only.
    for (const auto& [path, mode] : {std::pair{Folder(), 0700u},
                                     {Folder() + "/work.prf", 0600u},
                                     {Folder() + "/active", 0600u}}) {
        struct stat info {};
        ASSERT_EQ(0, stat(path.c_str(), &info));
        EXPECT_EQ(mode, info.st_mode & 0777) << path;
    }

    ASSERT_EQ(0, TAVL_DeleteProfileByType("WORK", TAVL_PROFILE_TYPE));
    EXPECT_EQ("<none>", Active());
    EXPECT_EQ(std::vector<std::string>{"default"}, Enumerated());
    EXPECT_NE(0, TAVL_GetProfileWireless("Work", &loaded));
    EXPECT_NE(0, TAVL_DeleteProfileByType("Work", TAVL_PROFILE_TYPE));
}

TEST_F(ProfileStore, HostileNamesStayInsideTheRoot) {
    std::string utf8;
    for (int i = 0; i < 64; ++i) {
        utf8 += "\xE8\xAA\x9E"; // 64 three-byte characters
    }
    const std::vector<std::string> names = {"../x",
                                            "a/b",
                                            "..",
                                            ".",
                                            "/etc/passwd",
                                            "..\\..\\up",
                                            std::string("ctl\x01\x1F\x7F\n", 7),
                                            "%2E%2E",
                                            " spaced ",
                                            "a b", // its own file beside "a@b"
                                            "a@b",
                                            utf8};
    for (const std::string& name : names) {
        ASSERT_EQ(0, TAVL_SetProfileWireless(name.c_str(), P(Record("h", 5)))) << name;
        WirelessReg loaded{};
        EXPECT_EQ(0, TAVL_GetProfileWireless(name.c_str(), &loaded)) << name;
    }
    EXPECT_EQ(names.size(), Enumerated().size());
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(home_.Parent())) {
        if (entry.is_regular_file() && entry.path().extension() == ".prf") {
            EXPECT_EQ(fs::path(Folder()), entry.path().parent_path()) << entry.path();
        }
    }
    EXPECT_FALSE(fs::exists(home_.Parent() + "/x.prf"));
    EXPECT_FALSE(fs::exists("/etc/passwd.prf"));
}

// Names are counted in characters (at most 64) but a name buffer holds
// 250 bytes: a name that would not fit is refused, the longest that fits
// comes back whole and nothing is written past the buffer.
TEST_F(ProfileStore, NameLengthsInCharactersAndBytes) {
    std::string four;
    for (int i = 0; i < 62; ++i) {
        four += "\xF0\x9F\x93\xA1";
    }
    const std::string longest = four + "z";     // 249 bytes, 63 characters
    four += "\xF0\x9F\x93\xA1\xF0\x9F\x93\xA1"; // 256 bytes, 64 characters
    for (const std::string& name : {std::string(65, 'a'), std::string(), four}) {
        EXPECT_NE(0, TAVL_SetProfileWireless(name.c_str(), P(Record("h", 1)))) << name.size();
        EXPECT_NE(0, TAVL_SetActiveProfileByType(name.c_str(), TAVL_PROFILE_TYPE));
    }
    EXPECT_EQ(0, TAVL_SetProfileWireless(std::string(64, 'a').c_str(), P(Record("h", 1))));
    ASSERT_EQ(0, TAVL_SetProfileWireless(longest.c_str(), P(Record("h", 1))));
    ASSERT_EQ(0, TAVL_SetActiveProfileByType(longest.c_str(), TAVL_PROFILE_TYPE));
    std::vector<char> buffer(400, '\x5A');
    ASSERT_EQ(0, TAVL_EnumProfilesByType(1, buffer.data(), TAVL_PROFILE_TYPE)); // after the a's
    EXPECT_EQ(longest, std::string(buffer.data()));
    ASSERT_EQ(0, TAVL_GetActiveProfileByType(buffer.data(), TAVL_PROFILE_TYPE));
    EXPECT_EQ(longest, std::string(buffer.data()));
    EXPECT_EQ(std::string(400 - TAVL_NAME_BUFFER_MIN, '\x5A'),
              std::string(buffer.begin() + TAVL_NAME_BUFFER_MIN, buffer.end()));
}

TEST_F(ProfileStore, DamagedFileIsAFailureNeverACrash) {
    ASSERT_EQ(0, TAVL_SetProfileWireless("Cut", P(Record("Cut", 1))));
    const std::string path = "Corvane/Profile/cut.prf";
    const std::string whole = home_.ReadFile(path);
    std::string flipped = whole;
    flipped[100] = static_cast<char>(flipped[100] ^ 0x40);
    for (const std::string& damaged : {whole.substr(0, whole.size() / 2), std::string(), flipped,
                                       whole + "x", std::string(whole.size(), '\xFF')}) {
        home_.WriteFile(path, damaged);
        WirelessReg loaded = Record("untouched", 13);
        EXPECT_EQ(-5, TAVL_GetProfileWireless("Cut", &loaded));
        EXPECT_EQ(13u, loaded.channel);
        EXPECT_TRUE(Enumerated().empty());
    }
    EXPECT_EQ(0, TAVL_SetProfileWireless("Cut", P(Record("Cut", 2)))) << "a new save mends it";
    WirelessReg loaded{};
    EXPECT_EQ(0, TAVL_GetProfileWireless("Cut", &loaded));
}

TEST_F(ProfileStore, RootMapsBelowTheWorldFolderOnly) {
    for (const char* root :
         {"..\\Escape", "Corvane\\..\\..\\x", "", static_cast<const char*>(nullptr)}) {
        EXPECT_NE(0, TAVL_SetProfileRoot(root)) << (root != nullptr ? root : "null");
    }
    ASSERT_EQ(0, TAVL_SetProfileRoot("\\Other\\\\Root\\"));
    ASSERT_EQ(0, TAVL_SetProfileWireless("p", P(Record("p", 1))));
    EXPECT_TRUE(fs::exists(home_.Path("Other/Root/p.prf")));
    ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile"));
    EXPECT_TRUE(Enumerated().empty());
}

} // namespace
