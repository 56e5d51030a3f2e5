// What a keyboard user meets: the focus staying on the page.
#include "PageHarness.h"
#include "res/ControlIds.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

// A button that disables itself leaves the focus on the page: Search hands
// it to the list, Re-Scan (alone on its page) to the sheet's default
// button, never to the tab row or a read-only field.
TEST(Keyboard, AButtonThatDisablesItselfHandsTheFocusOnSensibly) {
    SheetHarness h;
    h.Open();
    QApplication::setActiveWindow(h.sheet.get());
    auto* rescan = h.Control<QPushButton>(LinkInfoControls::kReScanButton);
    rescan->setFocus();
    rescan->click();
    ASSERT_FALSE(rescan->isEnabled());
    EXPECT_EQ(QString::number(SheetControls::kOkButton), QApplication::focusWidget()->objectName());

    h.SelectTab(2);
    auto* search = h.Control<QPushButton>(SiteSurveyControls::kSearchButton);
    search->setFocus();
    search->click();
    EXPECT_EQ(QString::number(SiteSurveyControls::kSurveyList),
              QApplication::focusWidget()->objectName());
}

TEST(Keyboard, AClickOnAnEncryptionRadioButtonKeepsTheFocusOnIt) {
    PageHarness h(WepReg(2, 2));
    QApplication::setActiveWindow(h.sheet.get());
    for (int id : {CEncryptionPage::kPassphraseRadio, CEncryptionPage::kManualRadio}) {
        auto* radio = h.Control<QAbstractButton>(id);
        radio->setFocus();
        QTest::mouseClick(radio, Qt::LeftButton);
        EXPECT_EQ(radio, QApplication::focusWidget()) << id;
    }
}
