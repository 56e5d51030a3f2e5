#include "platform/MessageBox.h"

#include "res/Strings.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {

class QtMessageBoxes final : public MessageBoxService {
public:
    int Show(QWidget* owner, const QString& text, const QString& caption, MsgButtons buttons,
             MsgIcon icon) override {
        const std::unique_ptr<QMessageBox> box =
            MakeMessageBox(owner, text, caption, buttons, icon);
        const int result = box->exec();
        switch (buttons) {
        case MsgButtons::Ok:
            return IDOK;
        case MsgButtons::YesNo:
            return result == QMessageBox::Yes ? IDYES : IDNO;
        }
        return IDOK;
    }
};

QtMessageBoxes gQtMessageBoxes;
MessageBoxService* gService = nullptr;

} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const QString& text,
                                            const QString& caption, MsgButtons buttons,
                                            MsgIcon icon) {
    auto box = std::make_unique<QMessageBox>(owner);
    box->setWindowTitle(caption);
    box->setText(text);
    switch (icon) {
    case MsgIcon::None:
        box->setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box->setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Exclamation:
        box->setIcon(QMessageBox::Warning);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box->setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::YesNo:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        break;
    }
    // A short message makes a narrow box, and the window manager cuts the
    // title to the box's width: the box is kept wide enough for its title
    // and the title bar's buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addItem(new QSpacerItem(MessageBoxWidthForTitle(caption), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

int MessageBoxWidthForTitle(const QString& caption) {
    // Title bars use a bold face of about the application font's size; the
    // buttons and the icon of a title bar take about 120 pixels.
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.1);
    return QFontMetrics(font).horizontalAdvance(caption) + 120;
}

MessageBoxService& MessageBoxes() {
    return gService != nullptr ? *gService : gQtMessageBoxes;
}

void SetMessageBoxService(MessageBoxService* service) {
    gService = service;
}

int AppMessageBox(QWidget* owner, const QString& text, MsgButtons buttons, MsgIcon icon) {
    return MessageBoxes().Show(owner, text, QString::fromLatin1(kAppTitle), buttons, icon);
}
