#include "cardshared/ProfileFile.h"
#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

WirelessReg Record(const char* name, std::uint32_t channel) {
    WirelessReg reg{};
    std::strncpy(reg.profileName, name, sizeof reg.profileName - 1);
    std::strcpy(reg.ssid, "any");
    reg.channel = channel;
    reg.txRate = 15;
    reg.opMode = 1;
    for (std::size_t i = 0; i < sizeof reg.reserved672; ++i) {
        reg.reserved672[i] = static_cast<std::uint8_t>(i * 7 + channel);
    }
    return reg;
}

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

TEST_F(ProfileStore, NamesDifferOnlyWithoutRegardToCaseAndKeepTheirSpelling) {
    ASSERT_EQ(0, TAVL_SetProfileWireless("Home", P(Record("Home", 1))));
    ASSERT_EQ(0, TAVL_SetProfileWireless("HOME", P(Record("HOME", 2))));
    EXPECT_EQ(std::vector<std::string>{"Home"}, Enumerated());
    WirelessReg loaded{};
    ASSERT_EQ(0, TAVL_GetProfileWireless("hOmE", &loaded));
    EXPECT_EQ(2u, loaded.channel);
    ASSERT_EQ(0, TAVL_SetActiveProfileByType("home", TAVL_PROFILE_TYPE));
    EXPECT_EQ("Home", Active());
}

TEST_F(ProfileStore, EnumerationIsSortedWithoutRegardToCaseAndEndsWithThree) {
    for (const char* name : {"gamma", "Alpha", "beta", "default"}) {
        ASSERT_EQ(0, TAVL_SetProfileWireless(name, P(Record(name, 6))));
    }
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "default", "gamma"}), Enumerated());
    char name[TAVL_NAME_BUFFER_MIN];
    EXPECT_EQ(TAVL_PROFILE_ENUM_END, TAVL_EnumProfilesByType(4, name, TAVL_PROFILE_TYPE));
    EXPECT_EQ(TAVL_PROFILE_ENUM_END, TAVL_EnumProfilesByType(-1, name, TAVL_PROFILE_TYPE));
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
    ASSERT_EQ(0, TAVL_SetProfileWireless(nullptr, P(Record("Work", 9))));
    WirelessReg loaded{};
    ASSERT_EQ(0, TAVL_GetProfileWireless("Work", &loaded));
    EXPECT_EQ(9u, loaded.channel);

    ASSERT_EQ(0, TAVL_DeleteProfileByType("WORK", TAVL_PROFILE_TYPE));
    EXPECT_EQ("<none>", Active());
    EXPECT_EQ(std::vector<std::string>{"default"}, Enumerated());
    EXPECT_NE(0, TAVL_GetProfileWireless("Work", &loaded));
    EXPECT_NE(0, TAVL_DeleteProfileByType("Work", TAVL_PROFILE_TYPE));
}

TEST_F(ProfileStore, ReservedBytesAreKeptAsStored) {
    const WirelessReg stored = Record("Keep", 4);
    ASSERT_EQ(0, TAVL_SetProfileWireless("Keep", &stored));
    WirelessReg loaded{};
    ASSERT_EQ(0, TAVL_GetProfileWireless("Keep", &loaded));
    EXPECT_EQ(0, std::memcmp(&stored, &loaded, sizeof stored));
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

TEST_F(ProfileStore, NamesTooLongOrEmptyAreRefused) {
    std::string four;
    for (int i = 0; i < 64; ++i) {
        four += "\xF0\x9F\x93\xA1"; // 256 bytes: would not fit a 250-byte buffer
    }
    for (const std::string& name : {std::string(65, 'a'), std::string(), four}) {
        EXPECT_NE(0, TAVL_SetProfileWireless(name.c_str(), P(Record("h", 1)))) << name.size();
        EXPECT_NE(0, TAVL_SetActiveProfileByType(name.c_str(), TAVL_PROFILE_TYPE));
    }
    EXPECT_EQ(0, TAVL_SetProfileWireless(std::string(64, 'a').c_str(), P(Record("h", 1))));
}

TEST_F(ProfileStore, NameBuffersGetAtMostTwoHundredFiftyBytes) {
    std::string longest;
    for (int i = 0; i < 62; ++i) {
        longest += "\xF0\x9F\x93\xA1";
    }
    longest += "z"; // 249 bytes, 63 characters
    ASSERT_EQ(0, TAVL_SetProfileWireless(longest.c_str(), P(Record("h", 1))));
    ASSERT_EQ(0, TAVL_SetActiveProfileByType(longest.c_str(), TAVL_PROFILE_TYPE));
    std::vector<char> buffer(400, '\x5A');
    ASSERT_EQ(0, TAVL_EnumProfilesByType(0, buffer.data(), TAVL_PROFILE_TYPE));
    EXPECT_EQ(longest, std::string(buffer.data()));
    ASSERT_EQ(0, TAVL_GetActiveProfileByType(buffer.data(), TAVL_PROFILE_TYPE));
    EXPECT_EQ(longest, std::string(buffer.data()));
    for (std::size_t i = TAVL_NAME_BUFFER_MIN; i < buffer.size(); ++i) {
        ASSERT_EQ('\x5A', buffer[i]) << i;
    }
}

TEST_F(ProfileStore, FilesAreForTheUserOnly) {
    ASSERT_EQ(0, TAVL_SetProfileWireless("Private", P(Record("Private", 1))));
    ASSERT_EQ(0, TAVL_SetActiveProfileByType("Private", TAVL_PROFILE_TYPE));
    struct stat info {};
    ASSERT_EQ(0, stat(Folder().c_str(), &info));
    EXPECT_EQ(0700u, info.st_mode & 0777);
    ASSERT_EQ(0, stat((Folder() + "/private.prf").c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 0777);
    ASSERT_EQ(0, stat((Folder() + "/active").c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 0777);
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

// A child process saves a new record and is killed at a point of the
// save; the store then holds the old record, whole.
struct CrashPoint {
    const char* name;
    const char* point; // TAVL_SIM_CRASH
};

void PrintTo(const CrashPoint& c, std::ostream* out) {
    *out << c.point;
}

class CrashDuringSave : public ProfileStore, public testing::WithParamInterface<CrashPoint> {};

TEST_P(CrashDuringSave, LeavesTheOldProfile) {
    const char* point = GetParam().point;
    ASSERT_EQ(0, TAVL_SetProfileWireless("Saved", P(Record("Saved", 3))));
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        setenv("TAVL_SIM_CRASH", point, 1);
        TAVL_SetProfileWireless("Saved", P(Record("Saved", 11)));
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(SIGKILL, WTERMSIG(status));
    WirelessReg loaded{};
    ASSERT_EQ(0, TAVL_GetProfileWireless("Saved", &loaded));
    EXPECT_EQ(3u, loaded.channel);
    EXPECT_EQ(std::vector<std::string>{"Saved"}, Enumerated());
    ASSERT_EQ(0, TAVL_SetProfileWireless("Saved", P(Record("Saved", 11))));
    ASSERT_EQ(0, TAVL_GetProfileWireless("Saved", &loaded));
    EXPECT_EQ(11u, loaded.channel);
}

INSTANTIATE_TEST_SUITE_P(ProfileStore, CrashDuringSave,
                         testing::Values(CrashPoint{"WhileWriting", "profile-half-written"},
                                         CrashPoint{"BeforeRename", "profile-before-rename"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileStore, RootMapsBelowTheWorldFolderOnly) {
    EXPECT_NE(0, TAVL_SetProfileRoot("..\\Escape"));
    EXPECT_NE(0, TAVL_SetProfileRoot("Corvane\\..\\..\\x"));
    EXPECT_NE(0, TAVL_SetProfileRoot(""));
    EXPECT_NE(0, TAVL_SetProfileRoot(nullptr));
    ASSERT_EQ(0, TAVL_SetProfileRoot("\\Other\\\\Root\\"));
    ASSERT_EQ(0, TAVL_SetProfileWireless("p", P(Record("p", 1))));
    EXPECT_TRUE(fs::exists(home_.Path("Other/Root/p.prf")));
    ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile"));
    EXPECT_TRUE(Enumerated().empty());
}

TEST(ProfileFile, EncodedNamesNeverLeaveTheFolder) {
    for (const char* name : {"../x", "a/b", ".hidden", "A-b_9", "%41"}) {
        const std::string file = cardsim::ProfileFileName(name);
        EXPECT_EQ(std::string::npos, file.find('/')) << name;
        EXPECT_NE('.', file.front()) << name;
    }
    EXPECT_EQ("a-b_9.prf", cardsim::ProfileFileName("A-b_9"));
    EXPECT_EQ("%2E%2E%2Fx.prf", cardsim::ProfileFileName("../x"));
    EXPECT_EQ(cardsim::ProfileFileName("Home"), cardsim::ProfileFileName("hOME"));
}

} // namespace
