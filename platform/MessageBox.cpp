#include "platform/MessageBox.h"

#include "res/Strings.h"

#include <QMessageBox>

namespace {

class QtMessageBoxes final : public MessageBoxService {
public:
    int Show(QWidget* owner, const QString& text, const QString& caption, MsgButtons buttons,
             MsgIcon icon) override {
        QMessageBox box(owner);
        box.setWindowTitle(caption);
        box.setText(text);
        switch (icon) {
        case MsgIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        }
        switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.exec();
            return IDOK;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
        }
        return IDOK;
    }
};

QtMessageBoxes gQtMessageBoxes;
MessageBoxService* gService = nullptr;

} // namespace

MessageBoxService& MessageBoxes() {
    return gService != nullptr ? *gService : gQtMessageBoxes;
}

void SetMessageBoxService(MessageBoxService* service) {
    gService = service;
}

int AppMessageBox(QWidget* owner, const QString& text, MsgButtons buttons, MsgIcon icon) {
    return MessageBoxes().Show(owner, text, QString::fromLatin1(kAppTitle), buttons, icon);
}
