// The steps language of the scenario folders.
#include "ScenarioScript.h"

#include <gtest/gtest.h>

namespace {

TEST(ScenarioScript, ReadsStepsSkippingCommentsAndBlankLines) {
    std::vector<ScenarioStep> steps;
    std::string error;
    ASSERT_TRUE(ParseScenarioSteps("# first start\n\nenv SKERRIN_OS_VERSION=9x:4.90\nstart\n"
                                   "tavlsim net add ssid=\"Two Words\" channel=3\n"
                                   "  send   COMMAND 2002  \n",
                                   steps, error))
        << error;
    ASSERT_EQ(4u, steps.size());
    EXPECT_EQ("env", steps[0].verb);
    EXPECT_EQ(3, steps[0].line);
    EXPECT_EQ("start", steps[1].verb);
    EXPECT_EQ((std::vector<std::string>{"net", "add", "ssid=Two Words", "channel=3"}),
              steps[2].args);
    EXPECT_EQ("COMMAND 2002", steps[3].rest);
}

TEST(ScenarioScript, RefusesWhatItCannotRun) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"start\nsleep 5\n", "steps line 2: unknown step \"sleep\""},
        {"wait-journal\n", "steps line 1: wait-journal needs an argument"},
        {"start now\n", "steps line 1: start takes no argument"},
        {"send \"ELEGANT_CLOSE\n", "steps line 1: unclosed quote"},
    };
    for (const Case& c : cases) {
        std::vector<ScenarioStep> steps;
        std::string error;
        EXPECT_FALSE(ParseScenarioSteps(c.text, steps, error)) << c.text;
        EXPECT_EQ(c.error, error);
    }
}

TEST(ScenarioScript, QuotedWordsKeepBlanksAndEscapes) {
    std::vector<std::string> words;
    ASSERT_TRUE(SplitWords(R"(a "b c" "d\"e\\" f"g h")", words));
    EXPECT_EQ((std::vector<std::string>{"a", "b c", "d\"e\\", "fg h"}), words);
}

} // namespace
