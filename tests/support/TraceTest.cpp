#include "support/Trace.h"
#include "tests/device/TraceCapture.h"
#include "tests/support/TestViewer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

TEST(Trace, TraceOutCutsAt511Characters) {
    TraceCapture trace;
    TraceOut("%s", std::string(600, 'x').c_str());
    TraceOut("<M> Detect  YES \n");
    EXPECT_EQ((std::vector<std::string>{std::string(511, 'x'), "<M> Detect  YES \n"}),
              trace.Lines());
}

// A viewer that takes lines but never answers costs the caller nothing; one
// that answers gets every line, in order, either way: one message per call,
// user value 0, the count including the terminator, cut at 1023 characters.
TEST(TraceToViewer, NoViewerHoldsTheCallerBackAndLinesArriveInOrder) {
    setenv("XDG_RUNTIME_DIR", "/nonexistent", 1);
    TraceToViewer("2"); // no viewer at all: the line is dropped
    for (const bool answers : {false, true}) {
        constexpr int kLines = 40;
        TestViewer viewer(kLines, answers);
        const auto start = std::chrono::steady_clock::now();
        TraceToViewer("%s", std::string(2000, 'y').c_str());
        for (int i = 1; i < kLines; ++i) {
            TraceToViewer("line %d", i);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2))
            << "answers " << answers;
        viewer.Join();
        ASSERT_EQ(static_cast<std::size_t>(kLines), viewer.texts.size());
        EXPECT_EQ(std::vector<std::uint32_t>(kLines, 0), viewer.users);
        EXPECT_EQ(std::string(1023, 'y') + '\0', viewer.texts[0]);
        for (int i = 1; i < kLines; ++i) {
            EXPECT_EQ("line " + std::to_string(i) + '\0', viewer.texts[i]);
        }
    }
    unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
