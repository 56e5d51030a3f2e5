// On a desktop without a notification area the sheet is the utility's only
// window, so closing it through the window's own close button (or the
// window manager's close command) ends the utility, as closing an
// application's window does. OK, Cancel and Escape only close the sheet;
// a second start shows it again.
#pragma once

#include <QObject>

#include <functional>

class CWindowCloseExit : public QObject {
    Q_OBJECT
public:
    // Watches `window`; `exit` runs from the event loop after the window
    // is closed (its close event) while `active` holds.
    CWindowCloseExit(QObject* window, std::function<bool()> active, std::function<void()> exit,
                     QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QObject* window_;
    std::function<bool()> active_;
    std::function<void()> exit_;
};
