#include "pages/PropertyPage.h"

#include "pages/DialogBuilder.h"
#include "platform/DialogUnits.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

namespace {

bool TakesFocusHere(const QWidget* widget, const QWidget* body) {
    if (!body->isAncestorOf(widget) || !widget->isVisible() || !widget->isEnabled() ||
        !(widget->focusPolicy() & Qt::TabFocus)) {
        return false;
    }
    const auto* edit = qobject_cast<const QLineEdit*>(widget);
    return edit == nullptr || !edit->isReadOnly();
}

} // namespace

CPropertyPage::CPropertyPage(const DialogTemplate& dialog, const PageContext& context)
    : dialog_(dialog), context_(context) {
    setObjectName(QStringLiteral("page%1").arg(dialog.id));
    setMinimumSize(DialogXToPixels(dialog.width), DialogYToPixels(dialog.height));
}

void CPropertyPage::CreatePageWindow() {
    if (body_ != nullptr) {
        return;
    }
    body_ = new QWidget(this);
    body_->setObjectName(QStringLiteral("body"));
    ApplyDialogFont(body_);
    body_->setGeometry(0, 0, DialogXToPixels(dialog_.width), DialogYToPixels(dialog_.height));
    BuildDialogControls(dialog_, body_);
    connect(qApp, &QApplication::focusChanged, body_,
            [this](QWidget* old, QWidget* now) { OnFocusChanged(old, now); });
    body_->show();
    OnInitDialog();
}

void CPropertyPage::DestroyPageWindow() {
    delete body_;
    body_ = nullptr;
}

void CPropertyPage::OnFocusChanged(QWidget* old, QWidget* now) {
    if (body_ == nullptr || old == nullptr || old->isEnabled() || !body_->isAncestorOf(old) ||
        (now != nullptr && TakesFocusHere(now, body_))) {
        return;
    }
    for (QWidget* candidate = old->nextInFocusChain(); candidate != nullptr && candidate != old;
         candidate = candidate->nextInFocusChain()) {
        if (TakesFocusHere(candidate, body_)) {
            candidate->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    for (QPushButton* button : window()->findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isVisible() && button->isEnabled()) {
            button->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
