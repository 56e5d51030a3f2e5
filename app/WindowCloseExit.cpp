#include "app/WindowCloseExit.h"

#include <QEvent>
#include <QTimer>

CWindowCloseExit::CWindowCloseExit(QObject* window, std::function<bool()> active,
                                   std::function<void()> exit, QObject* parent)
    : QObject(parent), window_(window), active_(std::move(active)), exit_(std::move(exit)) {
    window_->installEventFilter(this);
}

bool CWindowCloseExit::eventFilter(QObject* watched, QEvent* event) {
    // Only a close from the window system is spontaneous; the sheet's own
    // buttons and CloseSheet end its modal loop without one.
    if (watched == window_ && event->type() == QEvent::Close && event->spontaneous() && active_()) {
        // The sheet closes as usual first; the exit follows once its modal
        // loop has returned.
        QTimer::singleShot(0, this, [this] { exit_(); });
    }
    return false;
}
