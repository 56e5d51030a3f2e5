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
    QWidget* first = nullptr;
    std::vector<QString> expected;
    for (const ControlTemplate& control : GetParam().dialog->controls) {
        QWidget* widget = page_->Body()->findChild<QWidget*>(QString::number(control.id));
        ASSERT_TRUE(widget != nullptr || control.id == IDC_STATIC) << control.id;
        if (control.id != IDC_STATIC && Focusable(widget)) {
            first = first != nullptr ? first : widget;
            expected.push_back(widget->objectName());
        }
    }
    if (first == nullptr) {
        GTEST_SKIP() << "no control takes the focus";
    }
    // Follow the focus chain from the first control through the page.
    std::vector<QString> chain;
    QWidget* widget = first;
    do {
        if (page_->Body()->isAncestorOf(widget) && Focusable(widget) &&
            !qobject_cast<QAbstractItemView*>(widget->parentWidget()) &&
            !widget->objectName().isEmpty()) {
            chain.push_back(widget->objectName());
        }
        widget = widget->nextInFocusChain();
    } while (widget != first && chain.size() <= expected.size() + 50);
    EXPECT_EQ(expected, chain);
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
