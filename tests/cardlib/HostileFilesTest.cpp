// The simulated card's stored files on a hostile or exhausted machine: a
// FIFO in a file's place, a file-size limit during a save, temporary files
// that interrupted saves left behind.
#include "tests/cardlib/SimHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Runs `call` with a FIFO in place of the file `fifo` (removed after);
// false when it waits for the FIFO. A call that waits is released (a
// writer opens and closes the FIFO) before the test goes on.
bool ReturnsAtOnce(const std::string& fifo, const std::function<void()>& call) {
    fs::remove(fifo);
    EXPECT_EQ(0, mkfifo(fifo.c_str(), 0600));
    auto done = std::async(std::launch::async, call);
    const bool atOnce = done.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
    while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        close(open(fifo.c_str(), O_RDWR | O_NONBLOCK));
    }
    fs::remove(fifo);
    return atOnce;
}

TEST(HostileFiles, AFifoInAFilesPlaceIsNeverWaitedFor) {
    SimHome home;
    ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile"));
    const WirelessReg office = Record("Office", 3);
    ASSERT_EQ(0, TAVL_SetProfileWireless("Office", &office));
    ASSERT_EQ(0, TAVL_SetActiveProfileByType("Office", TAVL_PROFILE_TYPE));
    const std::string store = home.Path("Corvane/Profile/");
    char name[TAVL_NAME_BUFFER_MIN];
    WirelessReg reg{};

    EXPECT_TRUE(ReturnsAtOnce(store + "office.prf", [&] {
        EXPECT_EQ(0, TAVL_GetActiveProfileByType(name, TAVL_PROFILE_TYPE));
        EXPECT_EQ(-5, TAVL_GetProfileWireless("Office", &reg));
        EXPECT_EQ(TAVL_PROFILE_ENUM_END, TAVL_EnumProfilesByType(0, name, TAVL_PROFILE_TYPE));
    }));
    EXPECT_TRUE(ReturnsAtOnce(store + "active", [&] {
        EXPECT_EQ(TAVL_PROFILE_NONE_ACTIVE, TAVL_GetActiveProfileByType(name, TAVL_PROFILE_TYPE));
    }));
    std::uint8_t info[TAVL_DETECT_INFO_SIZE];
    EXPECT_TRUE(ReturnsAtOnce(home.Path("world.ini"), [&] { TAVL_Detect(info); }));

    // The card's status is read when the library first meets a folder.
    SimHome fresh;
    EXPECT_TRUE(ReturnsAtOnce(fresh.Path("status.ini"), [&] { TAVL_Detect(info); }));
}

std::vector<std::string> Temporaries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".tmp-", 0) == 0) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A save cut off in a child process: killed while writing or before the
// rename, or beyond a file-size limit (where it fails with its error
// instead of ending the process). The store then holds the old record,
// whole, and the next save succeeds.
TEST(HostileFiles, ASaveCutOffLeavesTheOldProfile) {
    SimHome home;
    ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile"));
    const WirelessReg old = Record("Saved", 3);
    ASSERT_EQ(0, TAVL_SetProfileWireless("Saved", &old));
    const WirelessReg next = Record("Saved", 11);
    for (const std::string how : {"size-limit", "profile-half-written", "profile-before-rename"}) {
        SCOPED_TRACE(how);
        const bool limited = how == "size-limit";
        const pid_t child = fork();
        ASSERT_NE(-1, child);
        if (child == 0) {
            const rlimit limit{100, 100};
            limited ? setrlimit(RLIMIT_FSIZE, &limit) : setenv("TAVL_SIM_CRASH", how.c_str(), 1);
            _exit(TAVL_SetProfileWireless("Saved", &next) == -4 ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        EXPECT_EQ(limited ? 0 : -SIGKILL,
                  WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status));
        WirelessReg loaded{};
        ASSERT_EQ(0, TAVL_GetProfileWireless("Saved", &loaded));
        EXPECT_EQ(3u, loaded.channel);
        char name[TAVL_NAME_BUFFER_MIN];
        EXPECT_EQ(0, TAVL_EnumProfilesByType(0, name, TAVL_PROFILE_TYPE));
        EXPECT_EQ(TAVL_PROFILE_ENUM_END, TAVL_EnumProfilesByType(1, name, TAVL_PROFILE_TYPE));
        EXPECT_TRUE(!limited || Temporaries(home.Path("Corvane/Profile")).empty());
    }
    ASSERT_EQ(0, TAVL_SetProfileWireless("Saved", &next));
}

// Opening the store removes what saves of ended processes left; files of
// running writers and anything else stay.
TEST(HostileFiles, OpeningTheStoreRemovesStaleTemporaries) {
    SimHome home;
    const std::string store = home.Path("Corvane/Profile");
    fs::create_directories(store);
    const std::string own = ".tmp-" + std::to_string(getpid()) + "-9";
    for (const std::string& name : {std::string(".tmp-999999999-1"), std::string(".tmp-1-5"), own,
                                    std::string(".tmp-x-1"), std::string("notes.txt")}) {
        home.WriteFile("Corvane/Profile/" + name, "partial");
    }
    fs::create_directory(store + "/.tmp-999999998-1");
    home.WriteFile(".tmp-999999997-2", "partial");
    ASSERT_EQ(0, TAVL_SetProfileRoot("Corvane\\Profile"));
    std::vector<std::string> kept{".tmp-1-5", own, ".tmp-999999998-1", ".tmp-x-1"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, Temporaries(store));
    EXPECT_TRUE(fs::exists(store + "/notes.txt"));
    EXPECT_TRUE(Temporaries(home.Folder()).empty());
}

} // namespace
