// What a person meets on every page: the Tab key reaches every enabled,
// visible control in the template's order, every edit, list, drop-down and
// bar carries a name, labels lead to their controls, F1 opens the page's
// help topic, and every text, and every message box's title, is whole in
// the font it is drawn with (a text wider than its control would be cut);
// and the focus stays on the page.
#include "PageHarness.h"
#include "pages/DialogAccessibility.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "res/ControlIds.h"
#include "res/Templates.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <vector>

namespace {

bool Focusable(const QWidget* widget) {
    return widget->focusPolicy() & Qt::TabFocus && widget->isEnabled() &&
           widget->isVisibleTo(widget->window());
}

// The named controls of `body` the focus chain runs through from `first`.
std::vector<QString> FocusChain(const QWidget* body, QWidget* first, std::size_t bound) {
    std::vector<QString> chain;
    QWidget* widget = first;
    do {
        if (body->isAncestorOf(widget) && Focusable(widget) &&
            !qobject_cast<QAbstractItemView*>(widget->parentWidget()) &&
            !widget->objectName().isEmpty()) {
            chain.push_back(widget->objectName());
        }
        widget = widget->nextInFocusChain();
    } while (widget != first && chain.size() <= bound);
    return chain;
}

QString Drawn(QString text) {
    return text.remove(QLatin1Char('&'));
}

// What a control's text needs, measured here, and what it has.
void ExpectTextsFit(const QWidget& body, const QString& page) {
    for (const QWidget* widget : body.findChildren<QWidget*>()) {
        if (widget->isHidden()) {
            continue;
        }
        const QFontMetrics metrics(widget->font());
        const std::string where = (page + QLatin1Char('/') + widget->objectName()).toStdString();
        if (const auto* label = qobject_cast<const QLabel*>(widget);
            label != nullptr && !label->text().isEmpty()) {
            const QString text = label->buddy() != nullptr ? Drawn(label->text()) : label->text();
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << where;
            } else {
                for (const QString& line : text.split(QLatin1Char('\n'))) {
                    EXPECT_LE(metrics.horizontalAdvance(line), label->contentsRect().width())
                        << where << " " << line.toStdString();
                }
            }
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            // Check boxes and radio buttons: indicator, gap and text.
            const int needed = qobject_cast<const QPushButton*>(button) != nullptr
                                   ? metrics.horizontalAdvance(Drawn(button->text())) + 6
                                   : button->sizeHint().width();
            EXPECT_LE(needed, button->width()) << where << " " << button->text().toStdString();
        } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(group->title()) + 8, group->width()) << where;
        }
        // Inside the page.
        EXPECT_TRUE(body.rect().contains(widget->geometry()) || widget->parentWidget() != &body)
            << where;
    }
}

TEST(EveryPage, ReachedByTabNamedForScreenReadersHelpedByF1AndShowingItsTextsWhole) {
    const DialogTemplate* const templates[] = {&kLinkInfoTemplate, &kConfigurationTemplate,
                                               &kSiteSurveyTemplate, &kEncryptionTemplate,
                                               &kAboutTemplate};
    const int topics[] = {HELP_LINK_INFO, HELP_CONFIGURATION, HELP_SITE_SURVEY, HELP_ENCRYPTION,
                          HELP_ABOUT};
    SheetHarness h;
    h.card.EditWorld([](cardsim::World& w) { w.networks.clear(); });
    h.Open();
    for (int index = 0; index < 5; ++index) {
        h.SelectTab(index);
        SheetHarness::Drain();
        const QWidget* body = h.sheet->GetPage(index)->Body();
        SCOPED_TRACE(h.sheet->GetPage(index)->Title().toStdString());
        ExpectTextsFit(*body, h.sheet->GetPage(index)->Title());
        QApplication::setActiveWindow(h.sheet.get()); // not the help window
        QTest::keyClick(h.sheet.get(), Qt::Key_F1);
        EXPECT_EQ(topics[index], LastHelpContext());
        EXPECT_FALSE(HelpTopicHtml(topics[index]).isEmpty());

        // The controls Tab should stop at, in the template's order.
        std::vector<QString> expected;
        QWidget* first = nullptr;
        for (const ControlTemplate& control : templates[index]->controls) {
            QWidget* widget = body->findChild<QWidget*>(QString::number(control.id));
            ASSERT_TRUE(widget != nullptr || control.id == IDC_STATIC) << control.id;
            if (control.id != IDC_STATIC && Focusable(widget)) {
                first = first != nullptr ? first : widget;
                expected.push_back(widget->objectName());
            }
        }
        if (first != nullptr) {
            EXPECT_EQ(expected, FocusChain(body, first, expected.size() + 50));
        }

        // Unnamed widgets are parts of a composite control.
        for (QWidget* w : body->findChildren<QWidget*>()) {
            if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                 qobject_cast<QAbstractItemView*>(w) || qobject_cast<QProgressBar*>(w)) &&
                !w->objectName().isEmpty()) {
                EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
            }
        }

        // A plain label shows its mnemonic only when it has a buddy, which
        // takes the focus and the label's text as its name.
        for (auto* label : body->findChildren<QLabel*>()) {
            const std::string text = label->text().toStdString();
            if (label->text().contains(QLatin1Char('&'))) {
                EXPECT_NE(nullptr, label->buddy()) << text;
            }
            if (QWidget* buddy = label->buddy()) {
                EXPECT_EQ(AccessibleNameFromLabel(label->text()), buddy->accessibleName()) << text;
                EXPECT_NE(Qt::NoFocus, buddy->focusPolicy()) << text;
            }
        }
    }
    // A help command naming a topic opens that one.
    h.sheet->m_AboutPage.OnCommandHelp(7);
    EXPECT_EQ(7, LastHelpContext());
}

TEST(AccessibleNameFromLabel, DropsMarksBreaksAndColon) {
    EXPECT_EQ(QStringLiteral("Service Set Identifier (SSID)"),
              AccessibleNameFromLabel(QStringLiteral("Service Set &Identifier\n(SSID)")));
    EXPECT_EQ(QStringLiteral("Channel"), AccessibleNameFromLabel(QStringLiteral("Channel :")));
}

// A box whose text is shorter than its title, as the connect message
// "Fail" is, still shows the title whole.
TEST(MessageBox, ShowsItsTitleWhole) {
    const QString title = QString::fromLatin1(kAppTitle);
    auto box =
        MakeMessageBox(nullptr, QStringLiteral("Fail"), title, MsgButtons::Ok, MsgIcon::None);
    box->show();
    EXPECT_GE(box->width(), MessageBoxWidthForTitle(title));
    EXPECT_GT(MessageBoxWidthForTitle(title), QFontMetrics(box->font()).horizontalAdvance(title));
}

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

} // namespace
