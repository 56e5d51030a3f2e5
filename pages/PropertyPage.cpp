#include "pages/PropertyPage.h"

#include "pages/DialogBuilder.h"
#include "platform/DialogUnits.h"

CPropertyPage::CPropertyPage(const DialogTemplate& dialog, CConfigUtility& sheet)
    : dialog_(dialog), sheet_(sheet) {
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
    body_->show();
    OnInitDialog();
}

void CPropertyPage::DestroyPageWindow() {
    delete body_;
    body_ = nullptr;
}
