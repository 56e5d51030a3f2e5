#include "pages/DialogFit.h"

#include "platform/DialogUnits.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

// Room left between a grown control and the next control on its row.
constexpr int kGap = 3;

// The text as drawn: a mnemonic's "&" is not shown.
QString DrawnText(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

int WidestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

bool SameRow(const QRect& a, const QRect& b) {
    return a.top() < b.bottom() && b.top() < a.bottom();
}

} // namespace

int TextWidthNeeded(const QWidget& widget) {
    const QFontMetrics metrics(widget.font());
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        if (label->wordWrap() || label->text().isEmpty() || !label->pixmap().isNull()) {
            return 0;
        }
        // Only a label that names a control shows its "&" as an underline.
        const QString text = label->buddy() != nullptr ? DrawnText(label->text()) : label->text();
        return WidestLine(metrics, text) + 2 * label->margin() + 2 * label->frameWidth() + 1;
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        // The button's frame and margins around its text; the style's
        // minimum width for dialog buttons does not apply to page buttons.
        const QStyle* style = button->style();
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        return metrics.horizontalAdvance(DrawnText(button->text())) + 2 * (margin + frame);
    }
    if (qobject_cast<const QCheckBox*>(&widget) != nullptr ||
        qobject_cast<const QRadioButton*>(&widget) != nullptr) {
        return widget.sizeHint().width();
    }
    return 0;
}

void FitDialogControls(const DialogTemplate& dialog, std::span<QWidget* const> widgets) {
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        QWidget* widget = widgets[i];
        if (widget == nullptr || dialog.controls[i].kind == ControlKind::GroupBox) {
            continue;
        }
        const int needed = TextWidthNeeded(*widget);
        QRect rect = widget->geometry();
        if (needed <= rect.width()) {
            continue;
        }
        const int grow = needed - rect.width();
        // The nearest control to the right on the same row, by template.
        int rightLimit = DialogXToPixels(dialog.width);
        for (std::size_t j = 0; j < widgets.size(); ++j) {
            const ControlTemplate& other = dialog.controls[j];
            if (j == i || widgets[j] == nullptr || other.kind == ControlKind::GroupBox) {
                continue;
            }
            const QRect o = widgets[j]->geometry();
            if (SameRow(rect, o) && o.left() >= rect.right()) {
                rightLimit = std::min(rightLimit, o.left() - kGap);
            }
        }
        const bool rightAligned = (dialog.controls[i].style & kStyleRight) != 0;
        if (rightAligned || rect.right() + 1 + grow > rightLimit) {
            rect.setLeft(std::max(0, rect.left() - grow));
            if (rect.right() + 1 > rightLimit && !rightAligned) {
                rect.moveRight(rightLimit - 1);
                rect.setLeft(std::max(0, rect.left()));
            }
        } else {
            rect.setWidth(needed);
        }
        widget->setGeometry(rect);
    }
}
