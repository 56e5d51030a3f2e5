#include "pages/EditBackdrop.h"

#include <QEvent>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

namespace {

// Whether every pixel of a picture is the same as its first.
bool OneColour(const QPixmap& picture) {
    const QImage image = picture.toImage();
    if (image.isNull() || image.depth() != 32) {
        return false;
    }
    const QRgb first = reinterpret_cast<const QRgb*>(image.constScanLine(0))[0];
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] != first) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

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
    QPixmap picture = body_->grab(edit->geometry());
    edit->show();
    if (picture.isNull()) {
        return;
    }
    // Most edits lie on one flat colour: one pixel of it, tiled, paints the
    // same picture without keeping a copy of the whole area.
    if (picture.devicePixelRatio() == 1.0 && OneColour(picture)) {
        picture = picture.copy(0, 0, 1, 1);
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
        painter.drawTiledPixmap(edit->rect(), *found);
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
