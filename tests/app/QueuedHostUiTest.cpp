// What the polling thread's requests cost the main thread: only a request
// that changes something crosses.
#include "app/QueuedHostUi.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct QueuedHostUiTest : ::testing::Test {
    QueuedHostUiTest()
        : ui(queue, HostUiTargets{[this](int id) { icons.push_back(id); }, [](int) {}, [](int) {},
                                  [this](int change) { adjusted.push_back(change); },
                                  [this] { ++readsHere; }}) {
        gSheetOpen = 0;
    }
    ~QueuedHostUiTest() override { gSheetOpen = 0; }

    UiRequestQueue queue;
    QueuedHostUi ui;
    std::vector<int> icons;
    std::vector<int> adjusted;
    int readsHere = 0;
};

TEST_F(QueuedHostUiTest, IconCrossesOnlyWhenItDiffersFromTheTrayOrTheLastRequest) {
    const struct {
        int shown; // what the tray shows before the report; 0: leave as it is
        int reported;
        bool crosses;
    } steps[] = {
        {0, 187, true},                // first report, nothing shown yet
        {0, 187, true},                // still on its way: asked again
        {187, 187, false},             // shown: idle cycles stay quiet
        {0, 186, true},                // the link comes up
        {186, 186, false},             //
        {kTrayIconRemove, 186, true},  // the frame removed the icon itself
        {186, 207, true},              // the card is gone
        {kTrayIconRemove, 207, false}, // and stays gone
    };
    for (const auto& step : steps) {
        if (step.shown != 0) {
            ui.IconShown(step.shown);
        }
        icons.clear();
        ui.ModifyIconAtTaskbar(step.reported);
        queue.Drain();
        EXPECT_EQ(icons, step.crosses ? std::vector<int>{step.reported} : std::vector<int>{})
            << "shown " << step.shown << ", reported " << step.reported;
    }
}

TEST_F(QueuedHostUiTest, PageCheckCrossesOnlyWithTheSheetOpen) {
    ui.AdjustPagesByXPWZC(0);
    queue.Drain();
    EXPECT_EQ(readsHere, 1);
    EXPECT_TRUE(adjusted.empty());

    gSheetOpen = 1;
    ui.AdjustPagesByXPWZC(0);
    queue.Drain();
    EXPECT_EQ(readsHere, 1);
    EXPECT_EQ(adjusted, std::vector<int>{0});
}

} // namespace
