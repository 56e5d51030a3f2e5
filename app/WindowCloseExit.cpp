#include "app/WindowCloseExit.h"

#include <QEvent>
#include <QMetaObject>

CWindowCloseExit::CWindowCloseExit(QObject* window, std::function<bool()> active,
                                   std::function<void()> exit, QObject* parent)
    : QObject(parent), window_(window), active_(std::move(active)), exit_(std::move(exit)) {
    window_->installEventFilter(this);
}

bool CWindowCloseExit::eventFilter(QObject* watched, QEvent* event) {
    // Only a close of the window brings a close event; the sheet's own
    // buttons, Escape and CloseSheet end its modal loop without one.
    if (watched == window_ && event->type() == QEvent::Close && active_()) {
        // The sheet closes as usual first; the exit follows once its modal
        // loop has returned.
        QMetaObject::invokeMethod(
            this, [this] { exit_(); }, Qt::QueuedConnection);
    }
    return false;
}
