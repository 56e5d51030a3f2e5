#include "pages/EditBackdrop.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>

CEditBackdrop::CEditBackdrop(QWidget* body) : QObject(body), body_(body) {
    setObjectName(QStringLiteral("editBackdrop"));
}

void CEditBackdrop::Apply(QWidget* body) {
    if (body == nullptr || !body->isVisible()) {
        return;
    }
    auto* backdrop =
        body->findChild<CEditBackdrop*>(QStringLiteral("editBackdrop"), Qt::FindDirectChildrenOnly);
    if (backdrop == nullptr) {
        backdrop = new CEditBackdrop(body);
    }
    for (QLineEdit* edit : body->findChildren<QLineEdit*>()) {
        if (edit->isReadOnly() && edit->isVisible() && !edit->hasFocus() &&
            !backdrop->behind_.contains(edit)) {
            backdrop->Take(edit);
        }
    }
}

void CEditBackdrop::Take(QLineEdit* edit) {
    // What the page shows where the edit lies, without the edit.
    edit->hide();
    const QPixmap picture = body_->grab(edit->geometry());
    edit->show();
    if (picture.isNull()) {
        return;
    }
    behind_.insert(edit, picture);
    edit->installEventFilter(this);
    edit->setAttribute(Qt::WA_OpaquePaintEvent);
}

void CEditBackdrop::Release(QWidget* edit) {
    edit->removeEventFilter(this);
    edit->setAttribute(Qt::WA_OpaquePaintEvent, false);
    behind_.remove(edit);
    edit->update();
}

bool CEditBackdrop::eventFilter(QObject* watched, QEvent* event) {
    const auto found = behind_.constFind(watched);
    if (found == behind_.constEnd()) {
        return false;
    }
    // Only the QWidget part is used: the filter also sees the events an
    // edit sends while it is being destroyed, when it is no QLineEdit any
    // more.
    auto* edit = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(edit);
        painter.drawPixmap(0, 0, *found);
        break; // the edit paints itself over it
    }
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::ReadOnlyChange:
        // What lies behind may differ now: the page paints it again.
        Release(edit);
        break;
    case QEvent::Destroy:
        behind_.remove(watched);
        break;
    default:
        break;
    }
    return false;
}
