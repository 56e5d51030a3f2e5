// Every text of every page, and every message box's title, is whole in the
// font it is drawn with: a text wider than its control would be cut.
#include "SheetHarness.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

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

} // namespace

TEST(TextFit, EveryPageShowsItsTextsWhole) {
    SheetHarness h;
    h.card.EditWorld([](cardsim::World& w) { w.networks.clear(); });
    h.Open();
    for (int i = 0; i < h.sheet->GetPageCount(); ++i) {
        h.SelectTab(i);
        CPropertyPage* page = h.sheet->GetPage(i);
        ExpectTextsFit(*page->Body(), page->Title());
    }
}

// A box whose text is shorter than its title, as the connect message
// "Fail" is, still shows the title whole.
TEST(TextFit, MessageBoxesShowTheirTitlesWhole) {
    const QString title = QString::fromLatin1(kAppTitle);
    auto box =
        MakeMessageBox(nullptr, QStringLiteral("Fail"), title, MsgButtons::Ok, MsgIcon::None);
    box->show();
    EXPECT_GE(box->width(), MessageBoxWidthForTitle(title));
    EXPECT_GT(MessageBoxWidthForTitle(title), QFontMetrics(box->font()).horizontalAdvance(title));
}
