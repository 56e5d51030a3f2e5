// Showing the sheet from the tray: the card-absent message, an open sheet,
// the flags after it closes, a second show during the page-set wait, and a
// minimized sheet that must come back.
#include "app/SheetShow.h"
#include "SheetHarness.h"
#include "app/ZeroConfigPages.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace {

class SheetShowTest : public testing::Test {
protected:
    // Closes the sheet each time it is up and notes what it saw then.
    void CloseWhenUp() {
        closer_.setInterval(5);
        QObject::connect(&closer_, &QTimer::timeout, [this] {
            if (h_.sheet->isVisible()) {
                ++openings_;
                minimizedWhenUp_ |= (h_.sheet->windowState() & Qt::WindowMinimized) != 0;
                h_.sheet->reject();
            }
        });
        closer_.start();
    }

    SheetHarness h_;
    CZeroConfigPages pages_{h_.card, *h_.sheet};
    std::function<void()> duringWait_;
    std::vector<std::uint32_t> waits_;
    CSheetShow show_{*h_.sheet, pages_,
                     [this](std::uint32_t ms) {
                         waits_.push_back(ms);
                         if (duringWait_) {
                             duringWait_();
                         }
                     },
                     [] { return true; }};
    QTimer closer_;
    int openings_ = 0;
    bool minimizedWhenUp_ = false;
};

TEST_F(SheetShowTest, NothingOpensWithoutTheCardOrOverAnOpenSheetWhichComesUp) {
    struct Case {
        bool command;
        int present, sheetOpen;
        int boxes;
    };
    const Case cases[] = {
        {true, 0, 0, 1},  // the command says the card is missing
        {false, 0, 0, 0}, // a double click without the card: nothing
        {true, 1, 1, 0},  // the command over an open sheet: brought up only
        {false, 1, 1, 0}, // a double click over an open sheet: the same
    };
    h_.Open();
    CloseWhenUp();
    for (const Case& c : cases) {
        h_.boxes.shown.clear();
        h_.sheet->setWindowState(Qt::WindowMinimized);
        gDevicePresent = static_cast<std::uint8_t>(c.present);
        gSheetOpen = static_cast<std::uint8_t>(c.sheetOpen);
        c.command ? show_.ShowSheet(true) : show_.OnTrayDoubleClick();
        EXPECT_EQ(c.sheetOpen == 0, (h_.sheet->windowState() & Qt::WindowMinimized) != 0);
        ASSERT_EQ(static_cast<std::size_t>(c.boxes), h_.boxes.shown.size());
        if (c.boxes == 1) {
            EXPECT_EQ("The card is NOT present!", h_.boxes.shown[0].text);
            EXPECT_EQ(MsgIcon::Information, h_.boxes.shown[0].icon);
        }
    }
    EXPECT_EQ(0, openings_);
}

TEST_F(SheetShowTest, ShowOpensRestoredAndClearsTheFlagsAfterwards) {
    gDevicePresent = 1;
    h_.sheet->m_ConfigPage.m_ListsFilled = 1;
    h_.sheet->m_SiteSurveyPage.m_b_ColumnsCreated = 1;
    h_.sheet->setWindowState(Qt::WindowMinimized); // the user minimized it last time
    CloseWhenUp();
    show_.OnTrayDoubleClick();
    EXPECT_EQ(1, openings_);
    EXPECT_FALSE(minimizedWhenUp_);
    EXPECT_EQ(0, gSheetOpen);
    EXPECT_EQ(0, h_.sheet->m_ConfigPage.m_ListsFilled);
    EXPECT_EQ(0, h_.sheet->m_SiteSurveyPage.m_b_ColumnsCreated);
    EXPECT_FALSE(show_.Showing());
}

TEST_F(SheetShowTest, SecondShowDuringThePageSetWaitOpensOneSheet) {
    gOsClass = kOsNt51;
    gDevicePresent = 1;
    h_.card.SetZeroConfigState(1); // the page set changes: the 500 ms wait follows
    duringWait_ = [this] {
        duringWait_ = nullptr;
        show_.OnTrayDoubleClick();
        show_.ShowSheet(true);
    };
    CloseWhenUp();
    show_.ShowSheet(false);
    EXPECT_EQ((std::vector<std::uint32_t>{500}), waits_);
    EXPECT_EQ(1, openings_);
    EXPECT_EQ(0, gSheetOpen);
}

} // namespace
