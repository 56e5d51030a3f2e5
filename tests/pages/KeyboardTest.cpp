// What a keyboard user meets: the Site Survey list chosen by arrow keys
// and Enter, only the left button selecting, F1, and the focus staying on
// the page.
#include "PageHarness.h"
#include "platform/Help.h"
#include "res/ControlIds.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <cstring>

namespace {

TavlSurveyEntry Network(std::uint8_t n, const char* ssid) {
    TavlSurveyEntry entry{};
    const std::uint8_t bssid[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x00, n};
    std::memcpy(entry.bssid, bssid, sizeof bssid);
    entry.ssidLength = static_cast<std::uint32_t>(std::strlen(ssid));
    std::memcpy(entry.ssid, ssid, entry.ssidLength);
    entry.rssi = -60;
    entry.dsConfig = 2437000;
    entry.infrastructureMode = 1;
    return entry;
}

struct SurveyHarness : SheetHarness {
    SurveyHarness() {
        card.SetSurveyEntries({Network(1, "first"), Network(2, "second"), Network(3, "third")});
        Open();
        SelectTab(2);
        sheet->m_SiteSurveyPage.OnSearch();
        sheet->m_SiteSurveyPage.OnTimer();
    }
    QTreeWidget* List() {
        return sheet->findChild<QTreeWidget*>(QString::number(SiteSurveyControls::kSurveyList));
    }
    QPushButton* Join() {
        return sheet->findChild<QPushButton*>(QString::number(SiteSurveyControls::kConnectButton));
    }
    std::string JoinedSsid() {
        const SsidText sent = *card.LastCall("SetSSID")->ssid;
        return std::string(reinterpret_cast<const char*>(sent.ssid), sent.length);
    }
    void ClickRow(int row, Qt::MouseButton button) {
        const QRect rect = List()->visualItemRect(List()->topLevelItem(row));
        QTest::mouseClick(List()->viewport(), button, {}, rect.center());
    }
};

} // namespace

// Arrow keys move the row Connect joins, Enter joins it and keeps the
// sheet open, and only the left button selects a row.
TEST(Keyboard, SurveyRowsAreChosenByKeysAndTheLeftButton) {
    SurveyHarness h;
    QTest::keyClick(h.List(), Qt::Key_Return);
    EXPECT_EQ(0u, h.card.CountOf("SetSSID"));
    QTest::keyClick(h.List(), Qt::Key_Down);
    EXPECT_TRUE(h.Join()->isEnabled());
    QTest::keyClick(h.List(), Qt::Key_Return);
    EXPECT_EQ("first", h.JoinedSsid());
    EXPECT_TRUE(h.sheet->isVisible());
    h.ClickRow(1, Qt::RightButton);
    h.ClickRow(2, Qt::MiddleButton);
    EXPECT_EQ(QList{h.List()->topLevelItem(0)}, h.List()->selectedItems());
    QTest::keyClick(h.List(), Qt::Key_Down);
    QTest::keyClick(h.List(), Qt::Key_Down);
    h.Join()->click();
    EXPECT_EQ("third", h.JoinedSsid());
    h.ClickRow(1, Qt::LeftButton);
    h.ClickRow(2, Qt::RightButton);
    h.Join()->click();
    EXPECT_EQ("second", h.JoinedSsid());
}

// F1 opens the topic of the page on show; a help command naming a topic
// opens that one.
TEST(Keyboard, F1OpensTheHelpOfThePageOnShow) {
    SheetHarness h;
    h.Open();
    QApplication::setActiveWindow(h.sheet.get());
    const int topics[] = {HELP_LINK_INFO, HELP_CONFIGURATION, HELP_SITE_SURVEY, HELP_ENCRYPTION,
                          HELP_ABOUT};
    for (int tab = 0; tab < 5; ++tab) {
        h.SelectTab(tab);
        QTest::keyClick(h.sheet.get(), Qt::Key_F1);
        EXPECT_EQ(topics[tab], LastHelpContext());
        EXPECT_FALSE(HelpTopicHtml(topics[tab]).isEmpty()) << tab;
    }
    h.sheet->m_AboutPage.OnCommandHelp(7);
    EXPECT_EQ(7, LastHelpContext());
}

// A button that disables itself leaves the focus on the page: Search hands
// it to the list, Re-Scan (alone on its page) to the sheet's default
// button, never to the tab row or a read-only field.
TEST(Keyboard, AButtonThatDisablesItselfHandsTheFocusOnSensibly) {
    SheetHarness h;
    h.Open();
    QApplication::setActiveWindow(h.sheet.get());
    auto* rescan =
        h.sheet->findChild<QPushButton*>(QString::number(LinkInfoControls::kReScanButton));
    rescan->setFocus();
    rescan->click();
    ASSERT_FALSE(rescan->isEnabled());
    EXPECT_EQ(QString::number(SheetControls::kOkButton), QApplication::focusWidget()->objectName());

    h.SelectTab(2);
    auto* search = h.sheet->m_SiteSurveyPage.findChild<QPushButton*>(
        QString::number(SiteSurveyControls::kSearchButton));
    search->setFocus();
    search->click();
    EXPECT_EQ(QString::number(SiteSurveyControls::kSurveyList),
              QApplication::focusWidget()->objectName());
}

TEST(Keyboard, AClickOnAnEncryptionRadioButtonKeepsTheFocusOnIt) {
    PageHarness h;
    h.OpenOn(kEncryptionTab, WepReg(2, 2));
    QApplication::setActiveWindow(h.sheet.get());
    for (int id : {CEncryptionPage::kPassphraseRadio, CEncryptionPage::kManualRadio}) {
        auto* radio = h.Control<QAbstractButton>(id);
        radio->setFocus();
        QTest::mouseClick(radio, Qt::LeftButton);
        EXPECT_EQ(radio, QApplication::focusWidget()) << id;
    }
}
