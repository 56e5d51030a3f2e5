#include "pages/DialogBuilder.h"

#include "pages/DialogAccessibility.h"
#include "pages/DialogFit.h"
#include "pages/GroupBoxFrame.h"
#include "pages/KeyEdit.h"
#include "platform/DialogUnits.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>

#include <vector>

namespace {

QWidget* Create(const ControlTemplate& control, QWidget* parent) {
    const QString text = QString::fromUtf8(control.text ? control.text : "");
    switch (control.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(text, parent);
        Qt::Alignment align = (control.style & kStyleRight) ? Qt::AlignRight : Qt::AlignLeft;
        align |= (control.style & kStyleVCenter) ? Qt::AlignVCenter : Qt::AlignTop;
        label->setAlignment(align);
        // Only labels of more than one line wrap; a one-line label keeps its
        // text whole even where the font runs a little wider than Arial.
        label->setWordWrap(!(control.style & kStyleVCenter) && control.height > 10);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::GroupBox: {
        PrimeGroupBoxFrame();
        auto* group = new QGroupBox(text, parent);
        return group;
    }
    case ControlKind::PushButton:
        return new QPushButton(text, parent);
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(text, parent);
        edit->setReadOnly(control.style & kStyleReadOnly);
        return edit;
    }
    case ControlKind::KeyEdit:
        return new CKeyEdit(parent);
    case ControlKind::ComboList:
        return new QComboBox(parent);
    case ControlKind::ComboEdit: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        return combo;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::RadioButton: {
        auto* radio = new QRadioButton(text, parent);
        // Each radio button starts a group of its own: the page unchecks
        // the other one itself.
        radio->setAutoExclusive(false);
        return radio;
    }
    case ControlKind::ListView: {
        auto* list = new QTreeWidget(parent);
        list->setRootIsDecorated(false);
        list->setItemsExpandable(false);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setUniformRowHeights(true);
        list->header()->setStretchLastSection(false);
        return list;
    }
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        return bar;
    }
    case ControlKind::Icon: {
        auto* icon = new QLabel(parent);
        icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
        return icon;
    }
    }
    return new QWidget(parent);
}

} // namespace

void ApplyDialogFont(QWidget* widget) {
    QFont font(QString::fromLatin1(kDialogFontFamily));
    font.setPointSize(kDialogFontPoints);
    widget->setFont(font);
}

void BuildDialogControls(const DialogTemplate& dialog, QWidget* parent) {
    std::vector<QWidget*> widgets(dialog.controls.size(), nullptr);
    // Frames first, so they lie behind the controls they frame.
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
            const ControlTemplate& control = dialog.controls[i];
            const bool frame = control.kind == ControlKind::GroupBox;
            if (frame != (pass == 0)) {
                continue;
            }
            QWidget* widget = Create(control, parent);
            widgets[i] = widget;
            if (control.id != IDC_STATIC) {
                widget->setObjectName(QString::number(control.id));
            }
            // A combo box's template height includes its drop-down list; the
            // closed box takes its own height.
            const bool combo =
                control.kind == ControlKind::ComboList || control.kind == ControlKind::ComboEdit;
            const int height =
                combo ? widget->sizeHint().height() : DialogYToPixels(control.height);
            widget->setGeometry(DialogXToPixels(control.x), DialogYToPixels(control.y),
                                DialogXToPixels(control.width), height);
            widget->setEnabled(!(control.style & kStyleDisabled));
            widget->setVisible(!(control.style & kStyleHidden));
        }
    }
    ApplyAccessibility(dialog, widgets);
    FitDialogControls(dialog, widgets);
}
