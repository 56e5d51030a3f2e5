// Keyboard and assistive access to every page: the Tab key reaches every
// enabled, visible control in the template's order, every edit, list,
// drop-down and bar carries a name, and labels lead to their controls.
#include "SheetHarness.h"
#include "pages/DialogAccessibility.h"
#include "res/Templates.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

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

TEST(Accessibility, EveryPageIsReachedByTabAndNamedForScreenReaders) {
    const DialogTemplate* const templates[] = {&kLinkInfoTemplate, &kConfigurationTemplate,
                                               &kSiteSurveyTemplate, &kEncryptionTemplate,
                                               &kAboutTemplate};
    SheetHarness h;
    h.Open();
    for (int index = 0; index < 5; ++index) {
        h.SelectTab(index);
        SheetHarness::Drain();
        const QWidget* body = h.sheet->GetPage(index)->Body();
        SCOPED_TRACE(h.sheet->GetPage(index)->Title().toStdString());

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
}

TEST(AccessibleNameFromLabel, DropsMarksBreaksAndColon) {
    EXPECT_EQ(QStringLiteral("Service Set Identifier (SSID)"),
              AccessibleNameFromLabel(QStringLiteral("Service Set &Identifier\n(SSID)")));
    EXPECT_EQ(QStringLiteral("Channel"), AccessibleNameFromLabel(QStringLiteral("Channel :")));
}

} // namespace
