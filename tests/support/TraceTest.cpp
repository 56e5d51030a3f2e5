#include "support/Trace.h"
#include "tests/device/TraceCapture.h"
#include "tests/support/TestViewer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

TEST(Trace, TraceOutCutsAt511Characters) {
    TraceCapture trace;
    TraceOut("%s", std::string(600, 'x').c_str());
    TraceOut("<M> Detect  YES \n");
    EXPECT_EQ((std::vector<std::string>{std::string(511, 'x'), "<M> Detect  YES \n"}),
              trace.Lines());
}

class TraceViewer : public testing::Test {
protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() / ("skerrin-trace-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(TraceViewer, WithoutViewerTheLineIsDropped) {
    TraceToViewer("2"); // returns: nothing listens, nothing waits
    SUCCEED();
}

TEST(TraceToViewer, ViewerGetsOneMessagePerCallWithCountAndUserValue) {
    TestViewer viewer(2);
    TraceToViewer("2");
    TraceToViewer("%s", std::string(2000, 'y').c_str());
    viewer.Join();

    ASSERT_EQ(2u, viewer.counts.size());
    EXPECT_EQ((std::vector<std::uint32_t>{0, 0}), viewer.users);
    EXPECT_EQ(2u, viewer.counts[0]); // "2" and its terminator
    EXPECT_EQ(std::string("2\0", 2), viewer.texts[0]);
    EXPECT_EQ(1024u, viewer.counts[1]); // cut at 1023 characters
    EXPECT_EQ(std::string(1023, 'y') + '\0', viewer.texts[1]);
}

// A viewer that takes lines but never answers costs the caller nothing; one
// that answers gets every line, in order, either way.
TEST(TraceToViewer, NoViewerHoldsTheCallerBackAndLinesArriveInOrder) {
    for (const bool answers : {false, true}) {
        constexpr int kLines = 40;
        TestViewer viewer(kLines, answers);
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kLines; ++i) {
            TraceToViewer("line %d", i);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2))
            << "answers " << answers;
        viewer.Join();
        ASSERT_EQ(static_cast<std::size_t>(kLines), viewer.texts.size());
        for (int i = 0; i < kLines; ++i) {
            EXPECT_EQ("line " + std::to_string(i) + '\0', viewer.texts[i]);
        }
    }
}

} // namespace
