#include "SheetHarness.h"

#include <gtest/gtest.h>

namespace {

QStringList TabTitles(CConfigUtility& sheet) {
    auto* tabs = sheet.findChild<QTabWidget*>(QStringLiteral("tabs"));
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i) {
        titles << tabs->tabText(i);
    }
    return titles;
}

class Sheet : public testing::Test {
protected:
    SheetHarness h;
};

TEST_F(Sheet, FivePagesInOrderOpenedOnTheFirstEveryTimeAndClosedFromOutside) {
    // Laid out once while closed, as at start-up, then shown at its whole
    // size at once: its place on the screen is taken from that size.
    h.sheet->adjustSize();
    h.Open();
    EXPECT_GT(h.sheet->height(), h.sheet->m_LinkInfoPage.minimumHeight());
    EXPECT_EQ(QString::fromLatin1(kAppTitle), h.sheet->windowTitle());
    EXPECT_EQ((QStringList{"Link Info", "Configuration", "Site Survey", "Encryption", "About"}),
              TabTitles(*h.sheet));
    EXPECT_EQ(1, gSheetOpen);
    h.SelectTab(4);
    EXPECT_EQ(4, h.sheet->GetActiveIndex());
    h.Cancel();
    h.Open();
    EXPECT_EQ(0, h.sheet->GetActiveIndex());
    EXPECT_EQ(0, h.sheet->findChild<QTabWidget*>(QStringLiteral("tabs"))->currentIndex());
    // Closed from outside, it ends as Cancel ends it.
    h.sheet->CloseSheet();
    EXPECT_FALSE(h.sheet->isVisible());
    EXPECT_EQ(2, h.sheet->result());
}

TEST_F(Sheet, ThreePageSetCoversExactlyThreeTabs) {
    h.sheet->RemovePage(&h.sheet->m_ConfigPage);
    h.sheet->RemovePage(&h.sheet->m_EncryptionPage);
    h.Open();
    EXPECT_EQ((QStringList{"Link Info", "Site Survey", "About"}), TabTitles(*h.sheet));
}

// Taking the pages out of a sheet, open on any page or closed, moves its
// current tab; that must not create the Configuration page's window, which
// reads the card, nor activate any other page.
TEST_F(Sheet, DestroyingTheSheetActivatesNoPage) {
    for (int tab : {0, 2, 3, 4, -1}) {
        SCOPED_TRACE(tab);
        h.Open();
        if (tab < 0) {
            h.Cancel();
        } else {
            h.SelectTab(tab);
        }
        h.card.ClearCalls();
        h.sheet.reset();
        EXPECT_EQ(std::vector<std::string>{}, h.card.CallNames());
        h.sheet = std::make_unique<CConfigUtility>(QString::fromLatin1(kAppTitle), h.card, h.clock);
    }
}

} // namespace
