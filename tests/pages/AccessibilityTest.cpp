// Keyboard and assistive access to every page: the Tab key reaches every
// enabled, visible control in the template's order, and every edit, list,
// drop-down and bar carries a name.
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

struct PageCase {
    const char* name;
    int index;
    const DialogTemplate* dialog;
};

// ctest lists each case by its page's name.
void PrintTo(const PageCase& page, std::ostream* out) {
    *out << page.name;
}

const PageCase kPages[] = {
    {"LinkInfo", 0, &kLinkInfoTemplate},     {"Configuration", 1, &kConfigurationTemplate},
    {"SiteSurvey", 2, &kSiteSurveyTemplate}, {"Encryption", 3, &kEncryptionTemplate},
    {"About", 4, &kAboutTemplate},
};

class AccessibilityTest : public ::testing::TestWithParam<PageCase> {
protected:
    void SetUp() override {
        h_.Open();
        h_.SelectTab(GetParam().index);
        SheetHarness::Drain();
        page_ = h_.sheet->GetPage(GetParam().index);
        ASSERT_TRUE(page_ && page_->HasWindow());
    }

    SheetHarness h_;
    CPropertyPage* page_ = nullptr;
};

bool Focusable(const QWidget* widget) {
    return widget->focusPolicy() & Qt::TabFocus && widget->isEnabled() &&
           widget->isVisibleTo(widget->window());
}

TEST_P(AccessibilityTest, TabReachesEveryControlInTemplateOrder) {
    // The controls Tab should stop at, in the template's order.
    std::vector<QWidget*> expected;
    for (const ControlTemplate& control : GetParam().dialog->controls) {
        if (control.id == IDC_STATIC) {
            continue;
        }
        QWidget* widget = page_->Body()->findChild<QWidget*>(QString::number(control.id));
        ASSERT_NE(nullptr, widget) << control.id;
        if (Focusable(widget)) {
            expected.push_back(widget);
        }
    }
    if (expected.empty()) {
        GTEST_SKIP() << "no control takes the focus";
    }
    // Follow the focus chain from the first control through the page.
    std::vector<QWidget*> chain;
    QWidget* widget = expected.front();
    do {
        if (page_->Body()->isAncestorOf(widget) && Focusable(widget) &&
            !qobject_cast<QAbstractItemView*>(widget->parentWidget()) &&
            !widget->objectName().isEmpty()) {
            chain.push_back(widget);
        }
        widget = widget->nextInFocusChain();
    } while (widget != expected.front() && chain.size() <= expected.size() + 50);
    std::vector<QString> want;
    std::vector<QString> got;
    for (QWidget* w : expected) {
        want.push_back(w->objectName());
    }
    for (QWidget* w : chain) {
        got.push_back(w->objectName());
    }
    EXPECT_EQ(want, got);
}

TEST_P(AccessibilityTest, EveryEditListAndBarHasAName) {
    for (QWidget* w : page_->Body()->findChildren<QWidget*>()) {
        const bool named = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QProgressBar*>(w);
        // Unnamed widgets are parts of a composite control.
        if (named && !w->objectName().isEmpty()) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
    }
}

TEST_P(AccessibilityTest, LabelsLeadToTheirControls) {
    for (auto* label : page_->Body()->findChildren<QLabel*>()) {
        // A plain label shows its mnemonic only when it has a buddy.
        if (label->text().contains(QLatin1Char('&'))) {
            EXPECT_NE(nullptr, label->buddy()) << label->text().toStdString();
        }
        if (QWidget* buddy = label->buddy()) {
            EXPECT_EQ(AccessibleNameFromLabel(label->text()), buddy->accessibleName())
                << label->text().toStdString();
            EXPECT_NE(Qt::NoFocus, buddy->focusPolicy());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, AccessibilityTest, ::testing::ValuesIn(kPages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AccessibleNameFromLabel, DropsMarksBreaksAndColon) {
    EXPECT_EQ(QStringLiteral("Service Set Identifier (SSID)"),
              AccessibleNameFromLabel(QStringLiteral("Service Set &Identifier\n(SSID)")));
    EXPECT_EQ(QStringLiteral("Channel"), AccessibleNameFromLabel(QStringLiteral("Channel :")));
}

} // namespace
